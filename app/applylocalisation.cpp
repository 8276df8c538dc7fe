#include "app/applylocalisation.h"

#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "app/localisationfile.h"
#include "forms/field.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "glpanel/openglpanel.h"
#include "glpanel/panelfont.h"
#include "output/picturemenu.h"
#include "services/plaintooltip.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>

#include <array>
#include <span>
#include <utility>

namespace {

enum class Sets {
    Charset, // the window font's character set
    WindowCaption,
    Caption, // of the control or menu entry named like the key
    ReadoutPrefix, // of the main window, in slot
    RadioItem, // appended to the graphs window's scale choice
    Text, // kept by the window, which captions and draws with it
    MenuText, // of the window's context menu
    AccessibleName, // of the control named in the key's entry
    ToolTip, // of the control named in the key's entry
};

// The text of a window that a Sets::Text key replaces; null for another window.
using TextOf = QString *(*)(QWidget &window);

struct LocaleKey
{
    const char *name;
    Sets sets = Sets::Caption;
    int slot = 0;
    TextOf text = nullptr;
    QString PictureMenuTexts::*menuText = nullptr;
    // An entry without the key leaves the text as it is, instead of emptying
    // it: the key came after the files made for the designed windows.
    bool optional = false;
    const char *control = nullptr;
};

// The text the members lead to from owner, one after the other, as
// &ResonanceWindow::Captions, &ResonanceCaptions::Rule.
template <auto Member, auto... More> QString &follow(auto &owner)
{
    if constexpr (sizeof...(More) == 0)
        return owner.*Member;
    else
        return follow<More...>(owner.*Member);
}

template <typename Window, auto... Members> QString *keptText(QWidget &window)
{
    auto *owner = qobject_cast<Window *>(&window);
    return owner ? &follow<Members...>(*owner) : nullptr;
}

// The key name replaces the text the members lead to.
template <typename Window, auto... Members> constexpr LocaleKey textKey(const char *name)
{
    return { name, Sets::Text, 0, &keptText<Window, Members...> };
}

// A key that files made before it lack: an entry without it leaves the text.
constexpr LocaleKey laterKey(LocaleKey key)
{
    key.optional = true;
    return key;
}

// A text of a control other than its caption: its accessible name, which a
// screen reader speaks, or its tooltip.
constexpr LocaleKey controlKey(const char *name, const char *control, Sets sets)
{
    return laterKey({ .name = name, .sets = sets, .control = control });
}

constexpr LocaleKey accessibleNameKey(const char *name, const char *control)
{
    return controlKey(name, control, Sets::AccessibleName);
}

// The keys of one window in the order an entry applies them.
struct SectionTable
{
    std::span<const LocaleKey> keys;
    // A label sized to its caption whose right edge stays.
    const char *rightAligned = nullptr;
    // The radio group whose items come from the entries instead of the form.
    const char *radioGroup = nullptr;
    // Files made before the window existed lack the section: the window then
    // keeps its own texts, where a designed window's missing section is an error.
    bool optional = false;
    // The keys of the window's context menu, applied after the others.
    std::span<const LocaleKey> menuKeys = {};
};

constexpr LocaleKey menuKey(const char *name, QString PictureMenuTexts::*text)
{
    return { name, Sets::MenuText, 0, nullptr, text, true };
}

constexpr LocaleKey PictureMenuKeys[] = {
    menuKey("MenuPrint", &PictureMenuTexts::Print),
    menuKey("MenuSaveImage", &PictureMenuTexts::SaveImage),
    menuKey("MenuCopy", &PictureMenuTexts::Copy),
    menuKey("MenuExportCsv", &PictureMenuTexts::ExportCsv),
    menuKey("MenuToolTip", &PictureMenuTexts::ToolTip),
    menuKey("MenuPngFilter", &PictureMenuTexts::PngFilter),
    menuKey("MenuBmpFilter", &PictureMenuTexts::BmpFilter),
    menuKey("MenuSvgFilter", &PictureMenuTexts::SvgFilter),
    menuKey("MenuCsvFilter", &PictureMenuTexts::CsvFilter),
    menuKey("MenuSpreadsheetCsvFilter", &PictureMenuTexts::SpreadsheetCsvFilter),
    menuKey("MenuWriteFailed", &PictureMenuTexts::WriteFailed),
    menuKey("MenuNotRegularFile", &PictureMenuTexts::NotRegularFile),
    menuKey("MenuNotEncoded", &PictureMenuTexts::NotEncoded),
    menuKey("MenuPrintFailed", &PictureMenuTexts::PrintFailed),
    menuKey("MenuPrintNotBegun", &PictureMenuTexts::PrintNotBegun),
    menuKey("MenuPrintNotFinished", &PictureMenuTexts::PrintNotFinished),
    menuKey("MenuNoPicture", &PictureMenuTexts::NoPicture),
    menuKey("MenuNoData", &PictureMenuTexts::NoData),
    menuKey("MenuHandoutDate", &PictureMenuTexts::HandoutDate),
};

template <auto... Members> constexpr LocaleKey mainWindowKey(const char *name)
{
    return laterKey(textKey<TForm2, Members...>(name));
}

template <auto Member> constexpr LocaleKey messageKey(const char *name)
{
    return mainWindowKey<&TForm2::Messages, Member>(name);
}

constexpr LocaleKey MainWindowKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "SpeedButton1" },
    { "Button3" },
    { "Button1" },
    { "Button2" },
    { "Button4" },
    { "GroupBox2" },
    { "BitBtn1" },
    { "BitBtn2" },
    { "Label7" },
    { "Label1", Sets::ReadoutPrefix, 0 },
    { "Label4", Sets::ReadoutPrefix, 1 },
    { "Label5", Sets::ReadoutPrefix, 2 },
    { "Label6", Sets::ReadoutPrefix, 3 },
    { "Label8", Sets::ReadoutPrefix, 4 },
    { "Label9", Sets::ReadoutPrefix, 5 },
    { "Label2", Sets::ReadoutPrefix, 6 },
    { "GroupBox1" },
    { "CheckBox3" },
    { "CheckBox4" },
    { "CheckBox1" },
    { "CheckBox2" },
    // The scene's menu entries that open the windows beyond the design.
    { .name = "MenuResonance", .optional = true },
    { .name = "MenuEnergy", .optional = true },
    { .name = "MenuExplore", .optional = true },
    accessibleNameKey("SceneName", "OpenGLPanel1"),
    // The button in the scene's corner that opens its menu.
    { .name = "SpeedButton2", .optional = true },
    accessibleNameKey("SceneMenuName", "SpeedButton2"),
    controlKey("SceneMenuHint", "SpeedButton2", Sets::ToolTip),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Caption>("ProgressCaption"),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Step>("ProgressStep"),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Cancel>("ProgressCancel"),
    messageKey<&MotionMessageTexts::TooManySteps>("TooManySteps"),
    messageKey<&MotionMessageTexts::TooManySamples>("TooManySamples"),
    messageKey<&MotionMessageTexts::TooManySampledSteps>("TooManySampledSteps"),
    messageKey<&MotionMessageTexts::OutOfMemory>("OutOfMemory"),
    messageKey<&MotionMessageTexts::PrintStepNotPositive>("PrintStepNotPositive"),
    messageKey<&MotionMessageTexts::TimeStepNotPositive>("TimeStepNotPositive"),
    messageKey<&MotionMessageTexts::TimesNotOfStates>("TimesNotOfStates"),
    messageKey<&MotionMessageTexts::NotNumbersFromTime>("NotNumbersFromTime"),
    messageKey<&MotionMessageTexts::NotNumbersInOrigin>("NotNumbersInOrigin"),
    messageKey<&MotionMessageTexts::DecimalComma>("DecimalComma"),
    messageKey<&MotionMessageTexts::EmptyFile>("EmptyFile"),
    messageKey<&MotionMessageTexts::MissingLine>("MissingLine"),
    messageKey<&MotionMessageTexts::StoppedOnLine>("StoppedOnLine"),
};

constexpr LocaleKey ParametersDialogKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "Button1" },
    { "Button2" },
    { "Label14" },
    { "Label21" },
    { "Label22" },
    { "Label2" },
    { "Label1" },
    { "Label3" },
    { "Label4" },
    { "Label8" },
    { "Label46" },
    { "Label7" },
    { "Label5" },
    { "Label10" },
    { "Label11" },
    { "Label12" },
    { "Label6" },
    { "Label17" },
    { "Label16" },
    laterKey(textKey<TForm3, &TForm3::NotANumber>("NotANumber")),
    laterKey(textKey<TForm3, &TForm3::LostAsZero>("LostAsZero")),
};

template <auto Member> constexpr LocaleKey graphsKey(const char *name)
{
    return laterKey(textKey<TForm8, &TForm8::Texts, Member>(name));
}

constexpr LocaleKey GraphsKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "CheckBox1" },
    { "Label1" },
    { "Label2" },
    { "Label4" },
    { "Label3" },
    { "Button1" },
    { "Button2" },
    { "RadioGroup1" },
    { "RadioButton1", Sets::RadioItem },
    { "RadioButton2", Sets::RadioItem },
    accessibleNameKey("PlotName", "PaintBox1"),
    graphsKey<&TimeGraphTexts::PlotTime>("PlotTime"),
    graphsKey<&TimeGraphTexts::PlotCoordinate>("PlotCoordinate"),
    graphsKey<&TimeGraphTexts::PlotVelocity>("PlotVelocity"),
    graphsKey<&TimeGraphTexts::PlotNoCurves>("PlotNoCurves"),
    graphsKey<&TimeGraphTexts::NoDuration>("NoDuration"),
    graphsKey<&TimeGraphTexts::DurationTooLong>("DurationTooLong"),
};

constexpr LocaleKey GraphChoiceKeys[] = {
    { "CharSet", Sets::Charset },
    { "GroupBox1" },
    { "CheckBox1" },
    { "CheckBox2" },
    { .name = "Button1", .optional = true },
};

constexpr LocaleKey PhasePortraitKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "Label1" },
    { "Button3" },
    accessibleNameKey("PlotName", "PaintBox1"),
    laterKey(textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::NoMotion>("PlotNoMotion")),
    laterKey(textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::Ranges>("PlotRanges")),
};

template <auto Member> constexpr LocaleKey resonanceKey(const char *name)
{
    return textKey<ResonanceWindow, &ResonanceWindow::Captions, Member>(name);
}

constexpr LocaleKey ResonanceKeys[] = {
    { "CharSet", Sets::Charset },
    resonanceKey<&ResonanceCaptions::FormCaption>("FormCaption"),
    resonanceKey<&ResonanceCaptions::Rule>("Label1"),
    resonanceKey<&ResonanceCaptions::Cancel>("Button1"),
    resonanceKey<&ResonanceCaptions::Close>("Button2"),
    laterKey(resonanceKey<&ResonanceCaptions::PlotName>("PlotName")),
    resonanceKey<&ResonanceCaptions::AmplitudeAxis>("AmplitudeAxis"),
    resonanceKey<&ResonanceCaptions::FrequencyAxis>("FrequencyAxis"),
    resonanceKey<&ResonanceCaptions::SweepLegend>("SweepLegend"),
    resonanceKey<&ResonanceCaptions::ClosedFormLegend>("ClosedFormLegend"),
    resonanceKey<&ResonanceCaptions::CurrentLegend>("CurrentLegend"),
    resonanceKey<&ResonanceCaptions::ClosedForm>("ClosedForm"),
    resonanceKey<&ResonanceCaptions::Undamped>("Undamped"),
    resonanceKey<&ResonanceCaptions::Running>("Running"),
    resonanceKey<&ResonanceCaptions::Cancelled>("Cancelled"),
    resonanceKey<&ResonanceCaptions::Failed>("Failed"),
    laterKey(resonanceKey<&ResonanceCaptions::OutOfMemory>("OutOfMemory")),
    laterKey(resonanceKey<&ResonanceCaptions::PointTooLarge>("PointTooLarge")),
    resonanceKey<&ResonanceCaptions::NoNaturalFrequency>("NoNaturalFrequency"),
    laterKey(resonanceKey<&ResonanceCaptions::NoDrivingForce>("NoDrivingForce")),
    resonanceKey<&ResonanceCaptions::NoMotion>("NoMotion"),
    resonanceKey<&ResonanceCaptions::TooMuchWork>("TooMuchWork"),
};

template <auto Member> constexpr LocaleKey energyKey(const char *name)
{
    return textKey<EnergyWindow, &EnergyWindow::Captions, Member>(name);
}

constexpr LocaleKey EnergyKeys[] = {
    { "CharSet", Sets::Charset },
    energyKey<&EnergyCaptions::FormCaption>("FormCaption"),
    energyKey<&EnergyCaptions::Method>("Label1"),
    energyKey<&EnergyCaptions::Close>("Button1"),
    laterKey(energyKey<&EnergyCaptions::PlotName>("PlotName")),
    energyKey<&EnergyCaptions::EnergyAxis>("EnergyAxis"),
    energyKey<&EnergyCaptions::ResidualAxis>("ResidualAxis"),
    energyKey<&EnergyCaptions::TimeAxis>("TimeAxis"),
    energyKey<&EnergyCaptions::Kinetic>("Kinetic"),
    energyKey<&EnergyCaptions::Spring>("Spring"),
    energyKey<&EnergyCaptions::DamperWork>("DamperWork"),
    energyKey<&EnergyCaptions::DriveWork>("DriveWork"),
    energyKey<&EnergyCaptions::Residual>("Residual"),
    energyKey<&EnergyCaptions::NoMotion>("NoMotion"),
};

template <auto Member> constexpr LocaleKey exploreKey(const char *name)
{
    return textKey<ExploreWindow, &ExploreWindow::Captions, Member>(name);
}

constexpr LocaleKey ExploreKeys[] = {
    { "CharSet", Sets::Charset },
    exploreKey<&ExploreCaptions::FormCaption>("FormCaption"),
    exploreKey<&ExploreCaptions::PlotName>("PlotName"),
    exploreKey<&ExploreCaptions::ShowVelocity>("CheckBox1"),
    exploreKey<&ExploreCaptions::Presets>("GroupBox1"),
    exploreKey<&ExploreCaptions::FreeOscillationPreset>("Button1"),
    exploreKey<&ExploreCaptions::UnderdampedPreset>("Button2"),
    exploreKey<&ExploreCaptions::CriticallyDampedPreset>("Button3"),
    exploreKey<&ExploreCaptions::OverdampedPreset>("Button4"),
    exploreKey<&ExploreCaptions::ResonancePreset>("Button5"),
    exploreKey<&ExploreCaptions::BeatsPreset>("Button6"),
    exploreKey<&ExploreCaptions::HorizontalPlanePreset>("Button7"),
    exploreKey<&ExploreCaptions::NominalPreset>("Button8"),
    exploreKey<&ExploreCaptions::Keep>("Button9"),
    exploreKey<&ExploreCaptions::ClearKept>("Button10"),
    exploreKey<&ExploreCaptions::Apply>("Button11"),
    exploreKey<&ExploreCaptions::Close>("Button12"),
    exploreKey<&ExploreCaptions::TimeAxis>("TimeAxis"),
    exploreKey<&ExploreCaptions::CoordinateAxis>("CoordinateAxis"),
    exploreKey<&ExploreCaptions::VelocityAxis>("VelocityAxis"),
    exploreKey<&ExploreCaptions::Kept>("Kept"),
    exploreKey<&ExploreCaptions::KeptSame>("KeptSame"),
    exploreKey<&ExploreCaptions::NaturalFrequency>("NaturalFrequency"),
    exploreKey<&ExploreCaptions::DampingRatio>("DampingRatio"),
    exploreKey<&ExploreCaptions::CriticalDamping>("CriticalDamping"),
    exploreKey<&ExploreCaptions::ResonanceFrequency>("ResonanceFrequency"),
    exploreKey<&ExploreCaptions::NoResonance>("NoResonance"),
    exploreKey<&ExploreCaptions::DampedPeriod>("DampedPeriod"),
    exploreKey<&ExploreCaptions::NoPeriod>("NoPeriod"),
    exploreKey<&ExploreCaptions::QualityFactor>("QualityFactor"),
    exploreKey<&ExploreCaptions::Infinite>("Infinite"),
    exploreKey<&ExploreCaptions::Undefined>("Undefined"),
    exploreKey<&ExploreCaptions::Undamped>("Undamped"),
    exploreKey<&ExploreCaptions::Underdamped>("Underdamped"),
    exploreKey<&ExploreCaptions::CriticallyDamped>("CriticallyDamped"),
    exploreKey<&ExploreCaptions::Overdamped>("Overdamped"),
    exploreKey<&ExploreCaptions::AtResonance>("AtResonance"),
    exploreKey<&ExploreCaptions::CursorHint>("CursorHint"),
    exploreKey<&ExploreCaptions::CursorValue>("CursorValue"),
    exploreKey<&ExploreCaptions::Measured>("Measured"),
    exploreKey<&ExploreCaptions::Computing>("Computing"),
    exploreKey<&ExploreCaptions::NoMotion>("NoMotion"),
    exploreKey<&ExploreCaptions::TooManySteps>("TooManySteps"),
    exploreKey<&ExploreCaptions::TooManySamples>("TooManySamples"),
    exploreKey<&ExploreCaptions::OutOfMemory>("OutOfMemory"),
    exploreKey<&ExploreCaptions::NotANumber>("NotANumber"),
    exploreKey<&ExploreCaptions::LostAsZero>("LostAsZero"),
};

const std::array<SectionTable, 8> &sectionTables()
{
    static const std::array<SectionTable, 8> tables { {
        { .keys = MainWindowKeys, .menuKeys = PictureMenuKeys },
        { .keys = ParametersDialogKeys },
        { .keys = GraphsKeys,
            .rightAligned = "Label2",
            .radioGroup = "RadioGroup1",
            .menuKeys = PictureMenuKeys },
        { .keys = GraphChoiceKeys },
        { .keys = PhasePortraitKeys, .menuKeys = PictureMenuKeys },
        { .keys = ResonanceKeys, .optional = true, .menuKeys = PictureMenuKeys },
        { .keys = EnergyKeys, .optional = true, .menuKeys = PictureMenuKeys },
        { .keys = ExploreKeys, .optional = true, .menuKeys = PictureMenuKeys },
    } };
    return tables;
}

int toCharset(const QString &text)
{
    bool converted = false;
    const int number = text.toInt(&converted, 10);
    if (!converted)
        throw LocalisationError(
            QStringLiteral("'%1' is not a valid integer value").arg(text).toStdString());
    return number & 0xFF;
}

// The platform's font character sets by the letters they carry.
QFontDatabase::WritingSystem charsetWritingSystem(int charset)
{
    switch (charset) {
    case 0: // ANSI
    case 77: // Macintosh
    case 162: // Turkish
    case 186: // Baltic
    case 238: // Central European
    case 255: // OEM
        return QFontDatabase::Latin;
    case 2:
        return QFontDatabase::Symbol;
    case 128:
        return QFontDatabase::Japanese;
    case 129:
    case 130:
        return QFontDatabase::Korean;
    case 134:
        return QFontDatabase::SimplifiedChinese;
    case 136:
        return QFontDatabase::TraditionalChinese;
    case 161:
        return QFontDatabase::Greek;
    case 163:
        return QFontDatabase::Vietnamese;
    case 177:
        return QFontDatabase::Hebrew;
    case 178:
        return QFontDatabase::Arabic;
    case 204:
        return QFontDatabase::Cyrillic;
    case 222:
        return QFontDatabase::Thai;
    default: // 1, the default set, and unknown numbers
        return QFontDatabase::Any;
    }
}

// Controls without a font of their own follow the window's font; the others
// keep all of theirs, also what they took from the window so far.
void setWindowFont(QWidget &window, const QFont &font)
{
    for (QWidget *control : window.findChildren<QWidget *>()) {
        if (!control->testAttribute(Qt::WA_SetFont))
            continue;
        QFont own = control->font();
        own.setResolveMask(QFont::AllPropertiesResolved);
        control->setFont(own);
    }
    window.setFont(font);
}

void setFontCharset(QWidget &window, int charset)
{
    window.setProperty(FontCharsetProperty, charset);
    if (auto *mainWindow = qobject_cast<TForm2 *>(&window))
        mainWindow->OpenGLPanel1->Font2D_Type()->setCharset(charset);

    const QFontDatabase::WritingSystem system = charsetWritingSystem(charset);
    QFont font = window.font();
    const QString face = QFontInfo(font).family();
    if (system == QFontDatabase::Any || QFontDatabase::writingSystems(face).contains(system))
        return;
    // A face without the set's letters keeps its look where it has them.
    const QStringList fitting = QFontDatabase::families(system);
    if (fitting.isEmpty())
        return;
    font.setFamilies({ font.family(), fitting.first() });
    setWindowFont(window, font);
}

void setCaption(QWidget &window, const char *name, const QString &text)
{
    QWidget *control = window.findChild<QWidget *>(QLatin1String(name));
    if (auto *label = qobject_cast<QLabel *>(control)) {
        // A label sized to its caption keeps fitting it.
        const bool fitted = label->size() == label->sizeHint();
        label->setTextFormat(Qt::PlainText); // a caption is never markup
        label->setText(text);
        if (fitted)
            label->adjustSize();
    } else if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        button->setText(text);
    } else if (auto *box = qobject_cast<QGroupBox *>(control)) {
        box->setTitle(text);
    } else if (auto *entry = window.findChild<QAction *>(QLatin1String(name))) {
        entry->setText(text);
    }
}

void applyKey(QWidget &window, const SectionTable &table, const LocaleKey &key, const QString &text)
{
    switch (key.sets) {
    case Sets::Charset:
        setFontCharset(window, toCharset(text));
        break;
    case Sets::WindowCaption:
        window.setWindowTitle(text);
        break;
    case Sets::Caption:
        setCaption(window, key.name, text);
        break;
    case Sets::ReadoutPrefix:
        if (auto *mainWindow = qobject_cast<TForm2 *>(&window)) {
            mainWindow->ReadoutPrefixes[key.slot] = text;
            mainWindow->Readouts[key.slot]->setTextFormat(Qt::PlainText);
        }
        break;
    case Sets::RadioItem:
        if (auto *group = window.findChild<TRadioGroup *>(QLatin1String(table.radioGroup)))
            group->AddItem(text);
        break;
    case Sets::Text:
        if (QString *kept = key.text(window))
            *kept = text;
        break;
    case Sets::AccessibleName:
        if (auto *control = window.findChild<QWidget *>(QLatin1String(key.control)))
            control->setAccessibleName(text);
        break;
    case Sets::ToolTip:
        if (auto *control = window.findChild<QWidget *>(QLatin1String(key.control)))
            SetPlainToolTip(*control, text);
        break;
    case Sets::MenuText:
        if (auto *menu = window.findChild<PictureMenu *>(QString(), Qt::FindDirectChildrenOnly)) {
            PictureMenuTexts texts = menu->Texts();
            texts.*key.menuText = text;
            menu->SetTexts(texts);
        }
        break;
    }
}

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
    const LocaleDocument &document = *read;
    const SectionTable &table = sectionTables().at(position);
    const LocaleSection *found = table.optional ? FindLocaleSection(document, position)
                                                : &LocaleSectionAt(document, position);
    if (!found)
        return;
    const LocaleSection &entries = *found;

    QWidget *rightAligned
        = table.rightAligned ? window.findChild<QWidget *>(table.rightAligned) : nullptr;
    const int formWidth = rightAligned ? rightAligned->width() : 0;

    if (table.radioGroup) {
        if (auto *group = window.findChild<TRadioGroup *>(QLatin1String(table.radioGroup)))
            group->ClearItems();
    }
    for (const LocaleEntry &entry : entries) {
        for (const std::span<const LocaleKey> keys : { table.keys, table.menuKeys }) {
            for (const LocaleKey &key : keys) {
                const QString name = QLatin1String(key.name);
                if (key.optional && !entry.contains(name))
                    continue;
                applyKey(window, table, key, entry.value(name));
            }
        }
    }

    if (rightAligned)
        rightAligned->move(
            rightAligned->x() + formWidth - rightAligned->width(), rightAligned->y());
}

LocalisationAtStart::LocalisationAtStart()
    : m_document(readLocalisationFile())
{
    // The sections of the windows made later, which the start would not
    // apply; the designed windows are made now and check their own.
    const auto &tables = sectionTables();
    for (int position = 0; m_document && position < int(tables.size()); ++position) {
        if (!tables[position].optional)
            continue;
        if (const LocaleSection *later = FindLocaleSection(*m_document, position)) {
            for (const LocaleEntry &entry : *later)
                toCharset(entry.value(QStringLiteral("CharSet")));
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
