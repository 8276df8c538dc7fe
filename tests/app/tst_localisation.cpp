#include "analysis/energywindow.h"
#include "analysis/explorewindow.h"
#include "analysis/resonancewindow.h"
#include "app/applylocalisation.h"
#include "app/errorreportingapplication.h"
#include "app/localisationfile.h"
#include "app/windowset.h"
#include "forms/choice.h"
#include "forms/computationprogressdialog.h"
#include "forms/field.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "glpanel/openglpanel.h"
#include "glpanel/panelfont.h"
#include "output/picturemenu.h"
#include "tests/support/messageboxcapture.h"
#include "tests/support/scenemenuaccess.h"
#include "tests/support/scopedlocalisationstep.h"
#include "widgets/paintbox.h"
#include "widgets/radiogroup.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <algorithm>
#include <array>
#include <utility>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

using Entry = QMap<QString, QString>;

// The keys of each window's section.
const QList<QStringList> SectionKeys {
    { "CharSet", "FormCaption", "SpeedButton1", "Button3", "Button1", "Button2", "Button4",
        "GroupBox2", "BitBtn1", "BitBtn2", "Label7", "Label1", "Label4", "Label5", "Label6",
        "Label8", "Label9", "Label2", "GroupBox1", "CheckBox3", "CheckBox4", "CheckBox1",
        "CheckBox2", "SpeedButton2" },
    { "CharSet", "FormCaption", "Button1", "Button2", "Label14", "Label21", "Label22", "Label2",
        "Label1", "Label3", "Label4", "Label8", "Label46", "Label7", "Label5", "Label10", "Label11",
        "Label12", "Label6", "Label17", "Label16" },
    { "CharSet", "FormCaption", "CheckBox1", "Label1", "Label2", "Label4", "Label3", "Button1",
        "Button2", "RadioGroup1", "RadioButton1", "RadioButton2" },
    { "CharSet", "GroupBox1", "CheckBox1", "CheckBox2" },
    { "CharSet", "FormCaption", "Label1", "Button3" },
};
// The main window's keys that name its readout prefixes, by slot.
const QStringList ReadoutKeys { "Label1", "Label4", "Label5", "Label6", "Label8", "Label9",
    "Label2" };

// An entry with every key of its section, each text telling section and key.
Entry fullEntry(int section, const QString &tag = QString())
{
    Entry entry;
    for (const QString &key : SectionKeys[section])
        entry[key] = QStringLiteral("%1 %2%3").arg(section).arg(key, tag);
    entry[QStringLiteral("CharSet")] = QStringLiteral("0");
    return entry;
}

void writeLocaleFile(const QByteArray &xml)
{
    QFile file(LocalisationFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(xml), xml.size());
}

// One section per element of sections, after what comes first in the root.
QByteArray localeXml(const QList<QList<Entry>> &sections, const QString &first = QString())
{
    QString xml = QStringLiteral("<Locale>") + first;
    for (const QList<Entry> &section : sections) {
        xml += QStringLiteral("\n  <LocaleSection>");
        for (const Entry &entry : section) {
            xml += QStringLiteral("\n    <LocaleEntry");
            for (auto it = entry.cbegin(); it != entry.cend(); ++it)
                xml += QStringLiteral(" %1=\"%2\"").arg(it.key(), it.value().toHtmlEscaped());
            xml += QStringLiteral("/>");
        }
        xml += QStringLiteral("\n  </LocaleSection>");
    }
    return xml.toUtf8() + "\n</Locale>\n";
}

// Sections whose only entry gives a charset and the window caption n.
QList<QList<Entry>> numberedSections(int count)
{
    QList<QList<Entry>> sections;
    for (int section = 0; section < count; ++section)
        sections.append({ { { "CharSet", "0" }, { "FormCaption", QString::number(section) } } });
    return sections;
}

QString captionOf(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control))
        return label->text();
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text();
    if (auto *box = qobject_cast<const QGroupBox *>(control))
        return box->title();
    return QStringLiteral("no control");
}

QList<QWidget *> windows()
{
    return { Form2, Form3, Form8, Form9, Form5 };
}

std::array<QString, ModelParameters::Count> parameterCaptions()
{
    std::array<QString, ModelParameters::Count> captions;
    for (std::size_t field = 0; field < captions.size(); ++field)
        captions[field] = Form3->ParameterCaption(field);
    return captions;
}

// The windows the scene menu opens, made as it makes them but not opened:
// opening starts computations that change their texts.
struct LaterWindows
{
    ResonanceWindow resonance;
    EnergyWindow energy;
    ExploreWindow explore { parameterCaptions(), nullptr };

    QList<QWidget *> all() { return { &resonance, &energy, &explore }; }
};

// Everything the file may change, control by control.
QStringList appearance(LaterWindows &later)
{
    QStringList lines;
    for (const QWidget *window : windows() + later.all()) {
        lines.append(window->windowTitle() + QLatin1Char('|') + window->font().toString());
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            const QRect place = control->geometry();
            lines.append(QStringLiteral("%1|%2|%3|%4|%5|%6|%7,%8,%9,%10")
                             .arg(control->objectName(), captionOf(control),
                                 control->font().toString(), control->toolTip(),
                                 control->accessibleName(), control->accessibleDescription())
                             .arg(place.x())
                             .arg(place.y())
                             .arg(place.width())
                             .arg(place.height()));
        }
        for (const QAction *entry : window->findChildren<QAction *>())
            lines.append(entry->text());
    }
    for (const QString &prefix : Form2->ReadoutPrefixes)
        lines.append(prefix);
    lines << Form3->NotANumber << Form3->LostAsZero;
    return lines;
}

QString shippedFile(const QString &language)
{
    return QStringLiteral(MIRVANE_LOCALE_DIR "/%1/mirvane.xml").arg(language);
}

// The texts the windows keep to caption, draw and report with; the menus'
// with the class of the window they serve.
struct KeptTexts
{
    MotionMessageTexts messages;
    ComputationProgressTexts progress;
    TimeGraphTexts graphs;
    PhasePortraitTexts portrait;
    ResonanceCaptions resonance;
    EnergyCaptions energy;
    ExploreCaptions explore;
    QList<std::pair<QString, PictureMenuTexts>> menus;
};

KeptTexts keptTexts(LaterWindows &later)
{
    KeptTexts kept { Form2->Messages, Form2->ProgressTexts, Form8->Texts, Form5->Texts,
        later.resonance.Captions, later.energy.Captions, later.explore.Captions, {} };
    for (const QWidget *window : windows() + later.all()) {
        for (const PictureMenu *menu : window->findChildren<PictureMenu *>())
            kept.menus.append({ QLatin1String(window->metaObject()->className()), menu->Texts() });
    }
    return kept;
}

// The first key of the sorted lists that only one of them holds.
QString firstDifferentKey(const QStringList &keys, const QStringList &russianKeys)
{
    const auto [own, russian] = std::ranges::mismatch(keys, russianKeys);
    if (own == keys.end() || (russian != russianKeys.end() && *russian < *own))
        return QStringLiteral("lacks the key %1").arg(*russian);
    return QStringLiteral("has the key %1 that the Russian file lacks").arg(*own);
}

// A text that a key of the later windows' or kept texts sets.
using ReadText = QString (*)();

QString originWarning()
{
    MotionWarning warning;
    warning.nonFinite = MotionWarning::InOrigin;
    return MotionWarningMessage(Form2->Messages, warning);
}

// What a user reads of a tooltip: Qt renders one that looks like markup.
QString shownToolTip(const QString &tip)
{
    if (!Qt::mightBeRichText(tip))
        return tip;
    QTextDocument document;
    document.setHtml(tip);
    return document.toPlainText();
}

} // namespace

Q_DECLARE_METATYPE(ReadText)

class LocalisationTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void secondEntryReplacesEveryCaption();
    void absentKeysAndTheCharset();
    void charsetWithoutLettersInTheFace();
    void graphsWindowScaleItemsAndLabel2_data();
    void graphsWindowScaleItemsAndLabel2();
    void commentBeforeTheSectionsShiftsThem();
    void analysisWindowsOwnSections_data();
    void analysisWindowsOwnSections();
    void shippedFiles_data();
    void laterKeysKeepOrReplaceTheirTexts_data();
    void laterKeysKeepOrReplaceTheirTexts();
    void shippedFilesHaveTheSameKeys();
    void russianFileHoldsTheBuiltInTexts();
    void shippedFiles();
    void brokenFileEndsTheStart_data();
    void brokenFileEndsTheStart();
    void markupShownAsWritten();

private:
    // Each window's caption once the file has been applied to it.
    QStringList m_titles;
    ScopedLocalisationStep m_step { [this](QWidget &window, LocalisationSection section) {
        ApplyLocalisation(window, section);
        m_titles.append(window.windowTitle());
    } };
};

void LocalisationTest::cleanup()
{
    m_titles.clear();
    QFile::remove(LocalisationFilePath());
}

void LocalisationTest::secondEntryReplacesEveryCaption()
{
    QList<QList<Entry>> sections;
    for (int section = 0; section < 5; ++section)
        sections.append({ fullEntry(section, QStringLiteral(" first")), fullEntry(section) });
    writeLocaleFile(localeXml(sections));
    WindowSet set;
    for (int section = 0; section < 5; ++section) {
        const QWidget &window = *windows()[section];
        const Entry entry = fullEntry(section);
        if (entry.contains(QStringLiteral("FormCaption")))
            QCOMPARE(window.windowTitle(), entry[QStringLiteral("FormCaption")]);
        for (const QString &key : SectionKeys[section]) {
            if (key == "CharSet" || key == "FormCaption" || key.startsWith("RadioButton")
                || (section == 0 && ReadoutKeys.contains(key)))
                continue;
            QCOMPARE(captionOf(window.findChild<QWidget *>(key)), entry[key]);
        }
    }
    for (int slot = 0; slot < 7; ++slot)
        QCOMPARE(Form2->ReadoutPrefixes[slot], fullEntry(0)[ReadoutKeys[slot]]);
    QCOMPARE(Form8->RadioGroup1->Items(),
        (QStringList {
            "2 RadioButton1 first", "2 RadioButton2 first", "2 RadioButton1", "2 RadioButton2" }));
}

void LocalisationTest::absentKeysAndTheCharset()
{
    writeLocaleFile(localeXml({ { { { "CharSet", "460" }, { "MenuEnergy", "Energy" } } } }));
    TForm2 window;
    QCOMPARE(window.windowTitle(), QString());
    QCOMPARE(window.Button3->text(), QString());
    QCOMPARE(window.ReadoutPrefixes[0], QString());
    QCOMPARE(window.property(FontCharsetProperty).toInt(), 204);
    QCOMPARE(window.OpenGLPanel1->Font2D_Type()->charset(), 204);
    // The menu's keys are optional: the texts left out stay built in.
    const QList<QAction *> entries = window.SceneMenu->Menu()->actions();
    QCOMPARE(entries.at(0)->text(), QStringLiteral("Резонансная кривая"));
    QCOMPARE(entries.at(1)->text(), QStringLiteral("Energy"));
    QCOMPARE(entries.at(6)->text(), PictureMenuTexts().Copy);
    QCOMPARE(window.OpenGLPanel1->toolTip(), PictureMenuTexts().ToolTip);
    QCOMPARE(window.SpeedButton2->text(), QStringLiteral("Меню"));
}

void LocalisationTest::charsetWithoutLettersInTheFace()
{
    const QFont applicationFont = QApplication::font();
    QApplication::setFont(QFont(QStringLiteral("Arial"))); // a face without Arabic letters
    writeLocaleFile(localeXml({ { { { "CharSet", "178" } } } }));
    TForm2 window;
    QApplication::setFont(applicationFont);
    const QStringList families = window.font().families();
    QCOMPARE(families.size(), 2);
    QCOMPARE(families[0], QStringLiteral("Arial"));
    QVERIFY(QFontDatabase::writingSystems(families[1]).contains(QFontDatabase::Arabic));
    QCOMPARE(window.CheckBox1->font().families(), families);
}

void LocalisationTest::graphsWindowScaleItemsAndLabel2_data()
{
    QTest::addColumn<QList<Entry>>("entries");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QStringList>("items");

    QTest::newRow("no entries") << QList<Entry>() << "Скорость" << QStringList();
    QTest::newRow("longer caption")
        << QList<Entry> { { { "CharSet", "0" }, { "Label2", "Velocity V, m/s" } } }
        << "Velocity V, m/s" << QStringList { "", "" };
}

void LocalisationTest::graphsWindowScaleItemsAndLabel2()
{
    QFETCH(QList<Entry>, entries);
    QFETCH(QString, caption);
    QFETCH(QStringList, items);
    const TForm8 builtIn;
    writeLocaleFile(localeXml({ {}, {}, entries }));
    const TForm8 window;
    QCOMPARE(window.Label2->text(), caption);
    QCOMPARE(window.Label2->width(), window.Label2->sizeHint().width());
    QCOMPARE(window.Label2->geometry().right(), builtIn.Label2->geometry().right());
    QCOMPARE(window.RadioGroup1->Items(), items);
}

void LocalisationTest::commentBeforeTheSectionsShiftsThem()
{
    writeLocaleFile(localeXml(numberedSections(5), QStringLiteral("<!-- captions -->")));
    WindowSet set;
    // The comment, a section without entries, leaves the main window as it is;
    // the graph choice has no caption key.
    QCOMPARE(m_titles, (QStringList { "Визуализация", "0", "1", " ", "3" }));
}

void LocalisationTest::analysisWindowsOwnSections_data()
{
    QTest::addColumn<int>("sections");
    QTest::addColumn<QStringList>("titles");

    QTest::newRow("five sections") << 5 << QStringList { "Резонансная кривая", "Энергия" };
    QTest::newRow("six sections") << 6 << QStringList { "5", "Энергия" };
    QTest::newRow("seven sections") << 7 << QStringList { "5", "6" };
}

// Opened from the scene menu after the start, as the file was then.
void LocalisationTest::analysisWindowsOwnSections()
{
    QFETCH(int, sections);
    QFETCH(QStringList, titles);
    writeLocaleFile(localeXml(numberedSections(sections)));
    WindowSet set;
    writeLocaleFile("<Locale>");
    QStringList shown;
    // Within its section a key left out empties the text.
    QVERIFY(whileOpen<ResonanceWindow>([] { Form2->SceneMenu->Menu()->actions().at(0)->trigger(); },
        [&](ResonanceWindow &window) {
            shown.append(window.windowTitle());
            QCOMPARE(window.RuleLabel->text().isEmpty(), sections > 5);
        }));
    QVERIFY(whileOpen<EnergyWindow>([] { Form2->SceneMenu->Menu()->actions().at(1)->trigger(); },
        [&](EnergyWindow &window) {
            shown.append(window.windowTitle());
            QCOMPARE(window.Captions.TimeAxis.isEmpty(), sections > 6);
        }));
    QCOMPARE(shown, titles);
}

void LocalisationTest::shippedFiles_data()
{
    QTest::addColumn<QString>("language");
    QTest::addColumn<QString>("foreignScript"); // letters no text of the file may have

    QTest::newRow("en") << "en"
                        << "\\p{Cyrillic}";
    QTest::newRow("de") << "de"
                        << "\\p{Cyrillic}";
    // Letters Ukrainian lacks: a Russian text left untranslated.
    QTest::newRow("uk") << "uk"
                        << "[ЁёЫыЭэЪъ]";
}

void LocalisationTest::laterKeysKeepOrReplaceTheirTexts_data()
{
    QTest::addColumn<int>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<ReadText>("read");

    QTest::newRow("warning") << 0 << "NotNumbersInOrigin" << ReadText(originWarning);
    QTest::newRow("progress dialog")
        << 0 << "ProgressStep" << ReadText([] { return Form2->ProgressTexts.Step; });
    QTest::newRow("tooltip") << 0 << "MenuToolTip"
                             << ReadText([] { return Form2->OpenGLPanel1->toolTip(); });
    QTest::newRow("field refusal")
        << 1 << "LostAsZero" << ReadText([] { return Form3->LostAsZero; });
    QTest::newRow("graph choice button")
        << 3 << "Button1" << ReadText([] { return Form9->Button1->text(); });
    QTest::newRow("accessible description")
        << 2 << "PlotNoCurves" << ReadText([] { return Form8->Texts.PlotNoCurves; });
    QTest::newRow("accessible name")
        << 4 << "PlotName" << ReadText([] { return Form5->PaintBox1->accessibleName(); });
    QTest::newRow("resonance failure") << 5 << "PointTooLarge" << ReadText([] {
        ResonanceWindow window;
        return window.Captions.PointTooLarge;
    });
}

// A file made before the key keeps the built-in text; the key replaces it.
void LocalisationTest::laterKeysKeepOrReplaceTheirTexts()
{
    QFETCH(int, section);
    QFETCH(QString, key);
    QFETCH(ReadText, read);
    QString builtIn;
    {
        WindowSet set;
        builtIn = read();
    }
    QList<QList<Entry>> sections = numberedSections(6);
    writeLocaleFile(localeXml(sections));
    {
        WindowSet set;
        QCOMPARE(read(), builtIn);
    }
    sections[section][0][key] = QStringLiteral("keyed text");
    writeLocaleFile(localeXml(sections));
    WindowSet set;
    QVERIFY2(read().startsWith(QStringLiteral("keyed text")), qPrintable(read()));
}

// Every file keys every entry as the Russian one does; a key left out of a
// translation would show the Russian text or empty a caption.
void LocalisationTest::shippedFilesHaveTheSameKeys()
{
    const LocaleDocument russian = ReadLocaleFile(shippedFile(QStringLiteral("ru")));
    for (const QString language : { "en", "de", "uk" }) {
        const QString file = shippedFile(language);
        const LocaleDocument translated = ReadLocaleFile(file);
        if (translated.size() != russian.size())
            QFAIL(qPrintable(QStringLiteral("%1: %2 sections where the Russian file has %3")
                                 .arg(file)
                                 .arg(translated.size())
                                 .arg(russian.size())));
        for (qsizetype section = 0; section < russian.size(); ++section) {
            const QString where = QStringLiteral("%1, section %2").arg(file).arg(section);
            if (translated[section].size() != russian[section].size())
                QFAIL(qPrintable(QStringLiteral("%1: %2 entries where the Russian file has %3")
                                     .arg(where)
                                     .arg(translated[section].size())
                                     .arg(russian[section].size())));
            for (qsizetype entry = 0; entry < russian[section].size(); ++entry) {
                QStringList keys = translated[section][entry].keys(),
                            russianKeys = russian[section][entry].keys();
                std::ranges::sort(keys);
                std::ranges::sort(russianKeys);
                if (keys != russianKeys)
                    QFAIL(qPrintable(QStringLiteral("%1, entry %2 %3")
                                         .arg(where)
                                         .arg(entry)
                                         .arg(firstDifferentKey(keys, russianKeys))));
            }
        }
    }
}

// The Russian file changes nothing the windows show or keep.
void LocalisationTest::russianFileHoldsTheBuiltInTexts()
{
    QStringList builtInShown;
    KeptTexts builtIn;
    {
        WindowSet set;
        LaterWindows later;
        builtInShown = appearance(later);
        builtIn = keptTexts(later);
    }
    QVERIFY(QFile::copy(shippedFile(QStringLiteral("ru")), LocalisationFilePath()));
    WindowSet set;
    LaterWindows later;
    QCOMPARE(appearance(later), builtInShown);
    const KeptTexts kept = keptTexts(later);
    QVERIFY2(kept.messages == builtIn.messages, "TForm2::Messages");
    QVERIFY2(kept.progress == builtIn.progress, "TForm2::ProgressTexts");
    QVERIFY2(kept.graphs == builtIn.graphs, "TForm8::Texts");
    QVERIFY2(kept.portrait == builtIn.portrait, "TForm5::Texts");
    QVERIFY2(kept.resonance == builtIn.resonance, "ResonanceWindow::Captions");
    QVERIFY2(kept.energy == builtIn.energy, "EnergyWindow::Captions");
    QVERIFY2(kept.explore == builtIn.explore, "ExploreWindow::Captions");
    QCOMPARE(kept.menus.size(), builtIn.menus.size());
    for (qsizetype menu = 0; menu < kept.menus.size(); ++menu)
        QVERIFY2(kept.menus[menu] == builtIn.menus[menu],
            qPrintable(kept.menus[menu].first + QStringLiteral("'s picture menu")));
}

// The translations leave no text in a script of another language.
void LocalisationTest::shippedFiles()
{
    QFETCH(QString, language);
    QFETCH(QString, foreignScript);
    const QRegularExpression foreign(foreignScript);
    QVERIFY(QFile::copy(shippedFile(language), LocalisationFilePath()));
    WindowSet set;
    LaterWindows later;
    const QString shown = appearance(later).join('\n');
    QVERIFY2(!shown.contains(foreign), qPrintable(shown));
    for (const LocaleSection &section : ReadLocaleFile(shippedFile(language))) {
        for (const LocaleEntry &entry : section) {
            for (const QString &text : entry)
                QVERIFY2(!text.contains(foreign), qPrintable(text));
        }
    }
}

void LocalisationTest::brokenFileEndsTheStart_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<qint64>("size"); // the file is stretched to, when not 0
    QTest::addColumn<QStringList>("titles"); // of the windows localised before
    QTest::addColumn<QString>("message");

    QTest::newRow("four sections")
        << localeXml(numberedSections(4)) << 0ll << QStringList { "0", "1", "2", " " }
        << "List index out of bounds (4)";
    QTest::newRow("malformed") << QByteArray("<Locale>\n<LocaleSection>\n</Locale>") << 0ll
                               << QStringList()
                               << "Opening and ending tag mismatch. (line 3, column 9)";
    QTest::newRow("entity bomb")
        << QByteArray("<!DOCTYPE l [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><l/>") << 0ll
        << QStringList() << "document type declarations are not allowed (line 1, column 59)";
    QTest::newRow("deep nesting") << QByteArray("<a>").repeated(33) << 0ll << QStringList()
                                  << "elements nested more than 32 deep (line 1, column 99)";
    QTest::newRow("many entries") << "<l><s>" + QByteArray("<e CharSet=\"0\"/>").repeated(65)
            + "</s></l>" << 0ll << QStringList()
                                  << "section 0 has more than 64 entries";
    QByteArray attributes = "<l><s><e";
    for (int i = 0; i < 257; ++i)
        attributes += " a" + QByteArray::number(i) + "=\"\"";
    QTest::newRow("many attributes")
        << attributes + "/></s></l>" << 0ll << QStringList()
        << "an element with more than 256 attributes (line 1, column 1956)";
    QTest::newRow("100 MB") << QByteArray("<l/>") << 100ll * 1024 * 1024 << QStringList()
                            << "larger than the 65536 bytes a localisation file may have";
    QTest::newRow("charset no number")
        << QByteArray("<l><s><e CharSet=\"Cyrillic\"/></s></l>") << 0ll << QStringList()
        << "'Cyrillic' is not a valid integer value";
    QTest::newRow("charset absent") << QByteArray("<l><s><e/></s></l>") << 0ll << QStringList()
                                    << "'' is not a valid integer value";
    // Found at the start, before the window is made.
    QList<QList<Entry>> sections = numberedSections(6);
    sections[5][0]["CharSet"] = "x";
    QTest::newRow("charset of the resonance window")
        << localeXml(sections) << 0ll << QStringList() << "'x' is not a valid integer value";
}

void LocalisationTest::brokenFileEndsTheStart()
{
    QFETCH(QByteArray, xml);
    QFETCH(qint64, size);
    QFETCH(QStringList, titles);
    QFETCH(QString, message);
    writeLocaleFile(xml);
    if (size)
        QVERIFY(QFile::resize(LocalisationFilePath(), size));
    MessageBoxCapture boxes;
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = true; });
    QCOMPARE(RunProgram(), 0);
    QVERIFY(!loopRan);
    QCOMPARE(m_titles, titles);
    QCOMPARE(boxes.boxes.size(), 1);
    // Without the name of the file, which a fault of its content starts with.
    QCOMPARE(boxes.boxes[0].text.remove(LocalisationFilePath() + ": "), message);
    QVERIFY(!Form2);
    QCoreApplication::processEvents(); // this test's timer, outside the program's run
}

// Every text of the Russian file made markup, but for the character sets the
// windows read as numbers: labels and tooltips show it as written, and the
// picture it names is never opened.
void LocalisationTest::markupShownAsWritten()
{
    const QTemporaryDir folder;
    const QString picture = folder.filePath(QStringLiteral("secret.png"));
    QVERIFY(QImage(8, 8, QImage::Format_RGB32).save(picture));
    const QString markup = QStringLiteral("<img src=\"%1\"><b>x</b>&amp;").arg(picture);
    QList<QList<Entry>> sections;
    for (const LocaleSection &section : ReadLocaleFile(shippedFile(QStringLiteral("ru")))) {
        QList<Entry> &entries = sections.emplaceBack();
        for (const LocaleEntry &entry : section) {
            Entry &marked = entries.emplaceBack();
            for (auto it = entry.cbegin(); it != entry.cend(); ++it)
                marked[it.key()] = it.key() == QLatin1String("CharSet") ? it.value() : markup;
        }
    }
    writeLocaleFile(localeXml(sections));
    const int watch = inotify_init1(IN_NONBLOCK);
    QVERIFY(watch >= 0);
    const auto closeWatch = qScopeGuard([watch] { close(watch); });
    QVERIFY(
        inotify_add_watch(watch, QFile::encodeName(picture).constData(), IN_OPEN | IN_ACCESS) >= 0);

    // Paints window and shows each tooltip, noting the controls that render the markup.
    QStringList rendered;
    const auto show = [&](QWidget &window) {
        window.grab();
        for (QWidget *control : window.findChildren<QWidget *>()) {
            const QString name
                = QStringLiteral("%1 %2 of %3")
                      .arg(QLatin1String(control->metaObject()->className()), control->objectName(),
                          QLatin1String(window.metaObject()->className()));
            const auto *label = qobject_cast<QLabel *>(control);
            if (label && label->text().contains(markup) && label->textFormat() != Qt::PlainText)
                rendered.append(name);
            if (control->toolTip().isEmpty())
                continue;
            QToolTip::showText(control->mapToGlobal(QPoint()), control->toolTip(), control);
            if (shownToolTip(control->toolTip()) != markup)
                rendered.append(name + QStringLiteral(" tooltip"));
        }
    };
    WindowSet set;
    {
        // A computation that takes a while brings up its progress, in the main window.
        ComputationProgressDialog progress(Form2, Form2->ProgressTexts);
        QTRY_VERIFY(progress(1, 2) && Form2->findChild<QProgressDialog *>());
        for (QWidget *window : windows())
            show(*window);
    }
    const QList<QAction *> analysisEntries = Form2->SceneMenu->Menu()->actions();
    analysisEntries.at(2)->trigger();
    show(*Form2->findChild<ExploreWindow *>());
    QVERIFY(whileOpen<ResonanceWindow>([&] { analysisEntries.at(0)->trigger(); }, show));
    QVERIFY(whileOpen<EnergyWindow>([&] { analysisEntries.at(1)->trigger(); }, show));
    QToolTip::hideText();
    QVERIFY2(rendered.isEmpty(), qPrintable(rendered.join(QStringLiteral(", "))));
    alignas(inotify_event) char events[4096];
    QCOMPARE(read(watch, events, sizeof events), ssize_t(-1)); // no event: never opened
}

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    LocalisationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_localisation.moc"
