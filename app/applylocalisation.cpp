#include "app/applylocalisation.h"

#include "app/localisationfile.h"
#include "output/captiontable.h"
#include "services/captionedwindow.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QWidget>

#include <utility>

namespace {

// Files made before the windows beyond the design lack their sections, which
// follow the designed windows' in the file.
constexpr int FirstLaterSection = static_cast<int>(LocalisationSection::Resonance);
constexpr int SectionCount = static_cast<int>(LocalisationSection::Explore) + 1;

// The document of the LocalisationAtStart that lives, if one does.
const std::optional<LocaleDocument> *documentAtStart = nullptr;

std::optional<LocaleDocument> readLocalisationFile()
{
    const QString path = LocalisationFilePath();
    if (!QFileInfo::exists(path))
        return std::nullopt;
    return ReadLocaleFile(path);
}

} // namespace

QString LocalisationFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/mirvane.xml");
}

void ApplyLocalisation(QWidget &window, LocalisationSection section)
{
    // The sections stand in the file in the order of the enumeration.
    const int position = static_cast<int>(section);
    const std::optional<LocaleDocument> read
        = documentAtStart ? *documentAtStart : readLocalisationFile();
    if (!read)
        return;
    const LocaleSection *found = position >= FirstLaterSection ? FindLocaleSection(*read, position)
                                                               : &LocaleSectionAt(*read, position);
    if (auto *captioned = dynamic_cast<CaptionedWindow *>(&window); found && captioned)
        captioned->ApplyCaptions(*found);
}

LocalisationAtStart::LocalisationAtStart()
    : m_document(readLocalisationFile())
{
    // The sections of the windows made later, which the start would not
    // apply; the designed windows are made now and check their own.
    for (int position = FirstLaterSection; m_document && position < SectionCount; ++position) {
        if (const LocaleSection *later = FindLocaleSection(*m_document, position)) {
            for (const LocaleEntry &entry : *later)
                ToCharset(entry.value(QStringLiteral("CharSet")));
        }
    }
    m_previous = std::exchange(documentAtStart, &m_document);
}

QString LocalisationAtStart::Language() const
{
    return m_document ? LocaleLanguage(*m_document) : QStringLiteral("ru");
}

LocalisationAtStart::~LocalisationAtStart()
{
    documentAtStart = m_previous;
}
