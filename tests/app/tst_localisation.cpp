#include "applylocalisation.h"
#include "localisationfile.h"
#include "errorreportingapplication.h"
#include "windowset.h"

#include "choice.h"
#include "field.h"
#include "graph.h"
#include "input1.h"
#include "messageboxcapture.h"
#include "openglpanel.h"
#include "panelfont.h"
#include "phaseportrait.h"
#include "scopedlocalisationstep.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QXmlStreamWriter>

namespace {

using Entry = QMap<QString, QString>;

// The keys of each window's section.
const QList<QStringList> SectionKeys {
    { "CharSet", "FormCaption", "SpeedButton1", "Button3", "Button1", "Button2", "Button4",
            "GroupBox2", "BitBtn1", "BitBtn2", "Label7", "Label1", "Label4", "Label5", "Label6",
            "Label8", "Label9", "Label2", "GroupBox1", "CheckBox3", "CheckBox4", "CheckBox1",
            "CheckBox2" },
    { "CharSet", "FormCaption", "Button1", "Button2", "Label14", "Label21", "Label22", "Label2",
            "Label1", "Label3", "Label4", "Label8", "Label46", "Label7", "Label5", "Label10",
            "Label11", "Label12", "Label6", "Label17", "Label16" },
    { "CharSet", "FormCaption", "CheckBox1", "Label1", "Label2", "Label4", "Label3", "Button1",
            "Button2", "RadioGroup1", "RadioButton1", "RadioButton2" },
    { "CharSet", "GroupBox1", "CheckBox1", "CheckBox2" },
    { "CharSet", "FormCaption", "Label1", "Button3" },
};
// The main window's keys that name its readout prefixes, by slot.
const QStringList ReadoutKeys { "Label1", "Label4", "Label5", "Label6", "Label8", "Label9", "Label2" };

// An entry with every key of its section, each text telling section and key.
Entry fullEntry(int section, const QString &tag = QString())
{
    Entry entry;
    for (const QString &key : SectionKeys[section])
        entry[key] = QStringLiteral("%1 %2%3").arg(section).arg(key, tag);
    entry[QStringLiteral("CharSet")] = QStringLiteral("0");
    return entry;
}

QList<QList<Entry>> fullSections(const QString &tag = QString())
{
    QList<QList<Entry>> sections;
    for (int section = 0; section < 5; ++section)
        sections.append({ fullEntry(section, tag) });
    return sections;
}

void writeLocaleFile(const QByteArray &xml)
{
    QFile file(LocalisationFilePath());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(xml), xml.size());
}

QByteArray localeXml(const QList<QList<Entry>> &sections, bool leadingComment = false)
{
    QByteArray xml;
    QXmlStreamWriter writer(&xml);
    writer.setAutoFormatting(true);
    writer.writeStartDocument();
    writer.writeStartElement(QStringLiteral("Locale"));
    if (leadingComment)
        writer.writeComment(QStringLiteral(" captions "));
    for (const QList<Entry> &section : sections) {
        writer.writeStartElement(QStringLiteral("LocaleSection"));
        for (const Entry &entry : section) {
            writer.writeStartElement(QStringLiteral("LocaleEntry"));
            for (auto it = entry.cbegin(); it != entry.cend(); ++it)
                writer.writeAttribute(it.key(), it.value());
            writer.writeEndElement();
        }
        writer.writeEndElement();
    }
    writer.writeEndDocument();
    return xml;
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

QString captionOf(const QWidget &window, const QString &name)
{
    return captionOf(window.findChild<QWidget *>(name));
}

QList<QWidget *> windows()
{
    return { Form2, Form3, Form8, Form9, Form5 };
}

// Everything the file may change, control by control.
QStringList appearance()
{
    QStringList lines;
    for (const QWidget *window : windows()) {
        lines.append(window->windowTitle() + QLatin1Char('|') + window->font().toString());
        for (const QWidget *control : window->findChildren<QWidget *>()) {
            const QRect place = control->geometry();
            lines.append(QStringLiteral("%1|%2|%3|%4,%5,%6,%7")
                                 .arg(control->objectName(), captionOf(control),
                                         control->font().toString())
                                 .arg(place.x())
                                 .arg(place.y())
                                 .arg(place.width())
                                 .arg(place.height()));
        }
    }
    for (const QString &prefix : Form2->ReadoutPrefixes)
        lines.append(prefix);
    return lines;
}

QString shippedFile(const char *language)
{
    return QStringLiteral(MIRVANE_LOCALE_DIR "/%1/mirvane.xml").arg(QLatin1String(language));
}

// The message of the error that ends the window set's construction.
QString constructionError()
{
    try {
        WindowSet windows;
    } catch (const std::exception &error) {
        return QString::fromUtf8(error.what());
    }
    return QStringLiteral("no error");
}

} // namespace

class LocalisationTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void everyKeyReachesItsTarget();
    void laterEntryOverridesEarlier();
    void absentKeysReadAsEmptyText();
    void charsetKeepsItsLowEightBits();
    void charsetThatIsNoInteger_data();
    void charsetThatIsNoInteger();
    void commentBeforeTheSectionsShiftsThem();
    void shippedRussianFileChangesNothing();
    void shippedEnglishFileIsComplete();
    void brokenFileEndsTheStart_data();
    void brokenFileEndsTheStart();

private:
    std::unique_ptr<ScopedLocalisationStep> m_step;
};

void LocalisationTest::init()
{
    m_step = std::make_unique<ScopedLocalisationStep>(ApplyLocalisation);
}

void LocalisationTest::cleanup()
{
    m_step.reset();
    QFile::remove(LocalisationFilePath());
}

void LocalisationTest::everyKeyReachesItsTarget()
{
    writeLocaleFile(localeXml(fullSections()));
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
            QCOMPARE(captionOf(window, key), entry[key]);
        }
    }
    for (int slot = 0; slot < 7; ++slot)
        QCOMPARE(Form2->ReadoutPrefixes[slot], fullEntry(0)[ReadoutKeys[slot]]);
}

void LocalisationTest::laterEntryOverridesEarlier()
{
    QList<QList<Entry>> sections = fullSections(QStringLiteral(" first"));
    for (int section = 0; section < 5; ++section)
        sections[section].append(fullEntry(section, QStringLiteral(" second")));
    writeLocaleFile(localeXml(sections));
    WindowSet set;
    QCOMPARE(Form2->windowTitle(), QStringLiteral("0 FormCaption second"));
    QCOMPARE(captionOf(*Form2, QStringLiteral("BitBtn1")), QStringLiteral("0 BitBtn1 second"));
    QCOMPARE(Form2->ReadoutPrefixes[6], QStringLiteral("0 Label2 second"));
    QCOMPARE(Form5->windowTitle(), QStringLiteral("4 FormCaption second"));
}

void LocalisationTest::absentKeysReadAsEmptyText()
{
    writeLocaleFile(localeXml({ { { { "CharSet", "204" } } } }));
    TForm2 window;
    QCOMPARE(window.windowTitle(), QString());
    QCOMPARE(window.Button3->text(), QString());
    QCOMPARE(window.GroupBox1->title(), QString());
    QCOMPARE(window.ReadoutPrefixes[0], QString());
}

void LocalisationTest::charsetKeepsItsLowEightBits()
{
    writeLocaleFile(localeXml({ { { { "CharSet", "460" } } } }));
    TForm2 window;
    QCOMPARE(window.property(FontCharsetProperty).toInt(), 204);
    QCOMPARE(window.OpenGLPanel1->Font2D_Type()->charset(), 204);
}

void LocalisationTest::charsetThatIsNoInteger_data()
{
    QTest::addColumn<QString>("charset");
    QTest::newRow("word") << "Cyrillic";
    QTest::newRow("empty") << "";
    QTest::newRow("fraction") << "204.0";
    QTest::newRow("beyond 32 bits") << "4294967500";
}

void LocalisationTest::charsetThatIsNoInteger()
{
    QFETCH(QString, charset);
    writeLocaleFile(localeXml({ { { { "CharSet", charset } } } }));
    QCOMPARE(constructionError(), QStringLiteral("'%1' is not a valid integer value").arg(charset));
    QVERIFY(!Form2);
}

void LocalisationTest::commentBeforeTheSectionsShiftsThem()
{
    QList<QList<Entry>> sections;
    for (int section = 0; section < 5; ++section)
        sections.append({ { { "CharSet", "0" }, { "FormCaption", QString::number(section) } } });
    writeLocaleFile(localeXml(sections, true));
    QStringList titles;
    ScopedLocalisationStep step([&](QWidget &window, int section) {
        ApplyLocalisation(window, section);
        titles.append(window.windowTitle());
    });
    WindowSet set;
    // The comment, a section without entries, leaves the main window as it is.
    QCOMPARE(titles, (QStringList { "Визуализация", "0", "1", "", "3" }));
}

void LocalisationTest::shippedRussianFileChangesNothing()
{
    QStringList builtIn;
    {
        WindowSet set;
        builtIn = appearance();
    }
    QVERIFY(QFile::copy(shippedFile("ru"), LocalisationFilePath()));
    WindowSet set;
    QCOMPARE(appearance(), builtIn);
}

void LocalisationTest::shippedEnglishFileIsComplete()
{
    QFile file(shippedFile("en"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const LocaleDocument document = ParseLocaleDocument(file.readAll());
    QCOMPARE(document.size(), 5);
    for (int section = 0; section < 5; ++section) {
        QCOMPARE(document[section].size(), 1);
        const LocaleEntry &entry = document[section][0];
        QStringList keys = entry.keys();
        QStringList expected = SectionKeys[section];
        keys.sort();
        expected.sort();
        QCOMPARE(keys, expected);
        QCOMPARE(entry[QStringLiteral("CharSet")], QStringLiteral("0"));
        for (const QString &text : entry)
            QVERIFY2(!text.contains(QRegularExpression(QStringLiteral("[\\x{400}-\\x{4ff}]"))),
                    qPrintable(text));
    }
}

void LocalisationTest::brokenFileEndsTheStart_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QStringList>("titles");
    QTest::addColumn<QString>("message");

    QList<QList<Entry>> four;
    for (int section = 0; section < 4; ++section)
        four.append({ { { "CharSet", "0" }, { "FormCaption", QString::number(section) } } });
    const QString path = LocalisationFilePath();
    QTest::newRow("four sections") << localeXml(four) << QStringList { "0", "1", "2", "" }
                                   << "List index out of bounds (4)";
    QTest::newRow("malformed") << QByteArray("<Locale>\n<LocaleSection>\n</Locale>")
                               << QStringList()
                               << path + ": Opening and ending tag mismatch. (line 3, column 9)";
    QTest::newRow("entity bomb")
            << QByteArray("<!DOCTYPE l [<!ENTITY a \"aaaa\"><!ENTITY b \"&a;&a;&a;&a;\">]><l/>")
            << QStringList() << path + ": document type declarations are not allowed (line 1, column 59)";
}

void LocalisationTest::brokenFileEndsTheStart()
{
    QFETCH(QByteArray, xml);
    QFETCH(QStringList, titles);
    QFETCH(QString, message);
    writeLocaleFile(xml);
    QStringList localised;
    ScopedLocalisationStep step([&](QWidget &window, int section) {
        ApplyLocalisation(window, section);
        localised.append(window.windowTitle());
    });
    MessageBoxCapture boxes;
    bool loopRan = false;
    QTimer::singleShot(0, [&] { loopRan = true; });
    QCOMPARE(RunProgram(), 0);
    QVERIFY(!loopRan);
    QCOMPARE(localised, titles);
    QCOMPARE(boxes.boxes.size(), 1);
    QCOMPARE(boxes.boxes[0].text, message);
    QVERIFY(!Form2);
    QCoreApplication::processEvents(); // the timer of this test, outside the program's run
}

int main(int argc, char **argv)
{
    ErrorReportingApplication application(argc, argv);
    LocalisationTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_localisation.moc"
