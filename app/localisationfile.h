#pragma once

#include "services/captionsection.h"

#include <QByteArray>
#include <QString>

// The localisation file as plain data. Element names play no part: the
// root's child nodes are the sections, taken by position (a comment or a
// processing instruction occupies a position too, whitespace between
// elements does not), and each child node of a section is an entry.

// The sections by position, and the language the file names for itself.
struct LocaleDocument : QList<LocaleSection>
{
    QString language; // the root element's "Language" attribute, empty without it
};

// Bounds that keep a hostile file from hanging the start or exhausting
// memory (the parser takes quadratic time for deep nesting and for many
// attributes of one element); a caption file is a few kilobytes, some 20
// elements with up to 23 attributes each.
inline constexpr qsizetype MaxLocaleFileSize = 64 * 1024;
inline constexpr int MaxLocaleNesting = 32;
inline constexpr int MaxLocaleNodes = 1024; // elements, comments, instructions, text
inline constexpr int MaxLocaleAttributes = 256; // of one element
inline constexpr int MaxLocaleEntries = 64; // of one section

// Parses a whole document. Document type declarations are refused, so no
// entity is ever defined, expanded or fetched.
LocaleDocument ParseLocaleDocument(const QByteArray &xml);

// Reads and parses the file at path; the messages of its errors name it.
LocaleDocument ReadLocaleFile(const QString &path);

// The language of the file's captions, for Qt's own dialogs: the one it
// names, else Russian ("ru") when the main window's section sets the
// Cyrillic character set 204 and English ("en") when it does not.
QString LocaleLanguage(const LocaleDocument &document);

// The section at position index, or the list-index error.
const LocaleSection &LocaleSectionAt(const LocaleDocument &document, int index);

// The section at position index, or null when the root has too few children.
const LocaleSection *FindLocaleSection(const LocaleDocument &document, int index);
