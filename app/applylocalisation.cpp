#include "applylocalisation.h"

#include "localisationfile.h"

#include "field.h"
#include "openglpanel.h"
#include "panelfont.h"
#include "radiogroup.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>

#include <array>
#include <span>

namespace {

enum class Sets {
    Charset, // the window font's character set
    WindowCaption,
    Caption, // of the control named like the key
    ReadoutPrefix, // of the main window, in slot
    RadioItem, // appended to the graphs window's scale choice
};

struct LocaleKey
{
    const char *name;
    Sets sets = Sets::Caption;
    int slot = 0;
};

// The keys of one window in the order an entry applies them.
struct SectionTable
{
    std::span<const LocaleKey> keys;
    // A label sized to its caption whose right edge stays.
    const char *rightAligned = nullptr;
    // The radio group whose items come from the entries instead of the form.
    const char *radioGroup = nullptr;
};

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
};

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
};

constexpr LocaleKey GraphChoiceKeys[] = {
    { "CharSet", Sets::Charset },
    { "GroupBox1" },
    { "CheckBox1" },
    { "CheckBox2" },
};

constexpr LocaleKey PhasePortraitKeys[] = {
    { "CharSet", Sets::Charset },
    { "FormCaption", Sets::WindowCaption },
    { "Label1" },
    { "Button3" },
};

const std::array<SectionTable, 5> &sectionTables()
{
    static const std::array<SectionTable, 5> tables { {
        { MainWindowKeys },
        { ParametersDialogKeys },
        { GraphsKeys, "Label2", "RadioGroup1" },
        { GraphChoiceKeys },
        { PhasePortraitKeys },
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
    }
}

} // namespace

QString LocalisationFilePath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/mirvane.xml");
}

void ApplyLocalisation(QWidget &window, int section)
{
    const QString path = LocalisationFilePath();
    if (!QFileInfo::exists(path))
        return;
    const LocaleDocument document = ReadLocaleFile(path);
    const LocaleSection &entries = LocaleSectionAt(document, section);
    const SectionTable &table = sectionTables().at(section);

    QWidget *rightAligned
        = table.rightAligned ? window.findChild<QWidget *>(table.rightAligned) : nullptr;
    const int formWidth = rightAligned ? rightAligned->width() : 0;

    if (table.radioGroup) {
        if (auto *group = window.findChild<TRadioGroup *>(QLatin1String(table.radioGroup)))
            group->ClearItems();
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        for (const LocaleKey &key : table.keys)
            applyKey(window, table, key, entries[i].value(QLatin1String(key.name)));
    }

    if (rightAligned)
        rightAligned->move(
            rightAligned->x() + formWidth - rightAligned->width(), rightAligned->y());
}
