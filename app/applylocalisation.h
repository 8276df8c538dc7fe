#pragma once

#include "app/localisationfile.h"
#include "services/localisationhook.h"

#include <QString>

#include <optional>

class QWidget;

// "mirvane.xml" in the executable's folder, in both builds.
QString LocalisationFilePath();

// The localisation step of every window: without a file the window keeps its
// own captions; otherwise a CaptionedWindow applies its section. The sections
// of the windows beyond the design may be missing, those windows then keep
// their own texts. A broken file raises a LocalisationError out of the
// window's construction. While a LocalisationAtStart lives, the file is the
// one it read.
void ApplyLocalisation(QWidget &window, LocalisationSection section);

// The localisation file as it was at the start: read once, here, and used by
// ApplyLocalisation while this lives, also for the windows made later at
// their first opening; a file changed or broken since changes nothing. A
// broken file raises its LocalisationError here, as does a character set
// that is no number in the section of a window made later.
class LocalisationAtStart
{
public:
    LocalisationAtStart();
    ~LocalisationAtStart();
    LocalisationAtStart(const LocalisationAtStart &) = delete;
    LocalisationAtStart &operator=(const LocalisationAtStart &) = delete;

    // The captions' language: Russian ("ru") without a file, else the file's.
    QString Language() const;

private:
    const std::optional<LocaleDocument> m_document; // none without a file
    const std::optional<LocaleDocument> *m_previous = nullptr;
};
