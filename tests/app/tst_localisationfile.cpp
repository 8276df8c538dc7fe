#include "localisationfile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {

// "(" per section, "[" per entry with its attributes in name order.
QString outline(const LocaleDocument &document)
{
    QString text;
    for (const LocaleSection &section : document) {
        text += QLatin1Char('(');
        for (const LocaleEntry &entry : section) {
            QStringList attributes;
            for (auto it = entry.cbegin(); it != entry.cend(); ++it)
                attributes.append(it.key() + QLatin1Char('=') + it.value());
            attributes.sort();
            text += QLatin1Char('[') + attributes.join(QLatin1Char(' ')) + QLatin1Char(']');
        }
        text += QLatin1Char(')');
    }
    return text;
}

QString errorOf(const std::function<void()> &read)
{
    try {
        read();
    } catch (const LocalisationError &error) {
        return QString::fromStdString(error.what());
    }
    return QStringLiteral("no error");
}

QByteArray entityBomb()
{
    QByteArray xml = "<?xml version=\"1.0\"?>\n<!DOCTYPE r [<!ENTITY e0 \"lol\">";
    for (int i = 1; i < 10; ++i)
        xml += "<!ENTITY e" + QByteArray::number(i) + " \""
                + QByteArray("&e" + QByteArray::number(i - 1) + ";").repeated(10) + "\">";
    return xml + "]>\n<r><s><e CharSet=\"&e9;\"/></s></r>";
}

} // namespace

class LocalisationFileTest : public QObject
{
    Q_OBJECT

private slots:
    void nodesByPosition_data();
    void nodesByPosition();
    void refusedDocuments_data();
    void refusedDocuments();
    void fileThatCannotBeUsed_data();
    void fileThatCannotBeUsed();
    void sectionBeyondTheEnd();
};

void LocalisationFileTest::nodesByPosition_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("expected");

    QTest::newRow("whitespace between elements") << QByteArray("<r>\n  <s>\n    <e a=\"1\" b=\"\"/>\n"
                                                                "    <e/>\n  </s>\n  <s/>\n</r>\n")
                                                 << "([a=1 b=][])()";
    QTest::newRow("comments, text and instructions count")
            << QByteArray("<r><!-- c --><s><!-- d --><e a=\"x\"/></s>text<?pi data?></r>")
            << "()([][a=x])()()";
    QTest::newRow("encoding from the prolog")
            << QByteArray("<?xml version=\"1.0\" encoding=\"windows-1251\"?><r><s><e a=\"\xc0\xe1\"/></s></r>")
            << "([a=Аб])";
    QTest::newRow("attribute markup and references")
            << QByteArray("<r><s><e a=\"&lt;b&gt; &amp; &#x416;\"/></s></r>") << "([a=<b> & Ж])";
    QTest::newRow("root without children") << QByteArray("<r/>") << "";
}

void LocalisationFileTest::nodesByPosition()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, expected);
    QCOMPARE(outline(ParseLocaleDocument(xml)), expected);
}

void LocalisationFileTest::refusedDocuments_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("expected");

    QTest::newRow("mismatched tag") << QByteArray("<r>\n<s></r>")
                                    << "Opening and ending tag mismatch. (line 2, column 7)";
    QTest::newRow("empty") << QByteArray() << "Premature end of document. (line 1, column 0)";
    QTest::newRow("entity bomb") << entityBomb()
                                 << "document type declarations are not allowed (line 2, column 528)";
    QTest::newRow("external entity")
            << QByteArray("<!DOCTYPE r [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><r><s><e a=\"&x;\"/></s></r>")
            << "document type declarations are not allowed (line 1, column 54)";
    QTest::newRow("undefined entity") << QByteArray("<r><s><e a=\"&x;\"/></s></r>")
                                      << "Entity 'x' not declared. (line 1, column 15)";
    QTest::newRow("deep nesting") << QByteArray("<a>").repeated(33)
                                  << "elements are nested more than 32 deep (line 1, column 99)";
    QTest::newRow("too many entries") << "<r><s>" + QByteArray("<e/>").repeated(257) + "</s></r>"
                                      << "section 0 has more than 256 entries";
}

void LocalisationFileTest::refusedDocuments()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, expected);
    QCOMPARE(errorOf([&] { ParseLocaleDocument(xml); }), expected);
}

void LocalisationFileTest::fileThatCannotBeUsed_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("expected");

    QTest::newRow("100 MB") << "huge.xml" << "larger than the 1048576 bytes a localisation file may have";
    QTest::newRow("folder") << "folder.xml" << "not a regular file";
    QTest::newRow("malformed") << "broken.xml" << "Premature end of document. (line 1, column 7)";
}

void LocalisationFileTest::fileThatCannotBeUsed()
{
    QFETCH(QString, name);
    QFETCH(QString, expected);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder.xml")));
    QFile huge(dir.filePath(QStringLiteral("huge.xml")));
    QVERIFY(huge.open(QIODevice::WriteOnly) && huge.resize(100 * 1024 * 1024));
    QFile broken(dir.filePath(QStringLiteral("broken.xml")));
    QVERIFY(broken.open(QIODevice::WriteOnly) && broken.write("<r><s/>") == 7);
    broken.close();

    const QString path = dir.filePath(name);
    QCOMPARE(errorOf([&] { ReadLocaleFile(path); }), path + ": " + expected);
}

void LocalisationFileTest::sectionBeyondTheEnd()
{
    const LocaleDocument document = ParseLocaleDocument("<r><!-- 0 --><s/><s/><s/></r>");
    QVERIFY(LocaleSectionAt(document, 3).isEmpty());
    QCOMPARE(errorOf([&] { LocaleSectionAt(document, 4); }), "List index out of bounds (4)");
}

QTEST_GUILESS_MAIN(LocalisationFileTest)

#include "tst_localisationfile.moc"
