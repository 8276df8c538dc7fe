#pragma once

#include <QHash>
#include <QList>
#include <QString>

#include <stdexcept>

// A window's section of the caption file as plain data, on Qt Core alone so
// that the file's reader needs no GUI.

// An entry's attributes by name; a node that is not an element has none.
using LocaleEntry = QHash<QString, QString>;
// The entries in the order of the file, each applied in turn.
using LocaleSection = QList<LocaleEntry>;

// Raised for every fault of the file; the message is shown to the user.
class LocalisationError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// The dynamic property of a localised window that holds its font's character
// set (0 ANSI, 204 Cyrillic, ...).
inline constexpr char FontCharsetProperty[] = "FontCharset";
