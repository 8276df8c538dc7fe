#include "forms/input1.h"
#include "services/parameterfilelocation.h"
#include "tests/support/messageboxcapture.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {

const QByteArray NominalText = "0.01000,\n0.01000,\n10.00000,\n2.00000,\n0.00000,\n600.00000,\n"
                               "12.00000,\n17.32050,\n0.00000,\n30.000000,\n9.80000,\n0.40000,\n"
                               "0.000000,\n0.00000,\n";

QByteArray fileBytes()
{
    QFile file(QString::fromStdString(ParameterFilePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : "(missing)";
}

void writeFile(const QByteArray &text)
{
    QFile file(QString::fromStdString(ParameterFilePath()));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
}

void retype(QLineEdit *edit, const QString &text)
{
    edit->clear();
    QTest::keyClicks(edit, text);
}

// The program's end was asked for: the next event loop returns at once.
bool programEnds()
{
    QTimer::singleShot(3000, [] { QCoreApplication::exit(1); });
    return QCoreApplication::exec() == 0;
}

} // namespace

class ParametersDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void acceptRewritesTheValuesAsShown();
    void rowsShowTheirDigits();
    void fieldThatIsNotHeldKeepsTheFile_data();
    void fieldThatIsNotHeldKeepsTheFile();
    void cancelKeepsTheFile();
    void tabSkipsTheReferenceFieldAndScrolls();
    void shortFileLeavesFieldsEmpty();
    void unopenableFileEndsTheProgram();

private:
    QStringList texts() const;

    MessageBoxCapture m_boxes;
    std::unique_ptr<TForm3> m_dialog;
};

void ParametersDialogTest::init()
{
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    writeFile(NominalText);
    m_boxes.boxes.clear();
    m_dialog = std::make_unique<TForm3>();
}

void ParametersDialogTest::cleanup()
{
    m_dialog.reset();
    QLocale::setDefault(QLocale::c());
    QFile::remove(QString::fromStdString(ParameterFilePath()));
}

QStringList ParametersDialogTest::texts() const
{
    QStringList texts;
    for (const QLineEdit *edit : m_dialog->Edits)
        texts.append(edit->text());
    return texts;
}

void ParametersDialogTest::acceptRewritesTheValuesAsShown()
{
    // The largest float shows rounded beyond the float range, yet reads back.
    const QByteArray largest = "340282346638528859811704183484516925440";
    writeFile(QByteArray(NominalText)
                  .replace("0.01000,\n10.00000", largest + ",\n123456")
                  .replace("0.40000", "0.123456"));
    m_dialog->show();
    QCOMPARE(texts(),
        QStringList({ "0,01", "3,403E38", "1,2346E5", "2", "0", "600", "12", "17,3205", "0", "30",
            "9,8", "0,12346", "0", "0" }));
    // Beyond the 32767 characters a line edit takes unless told otherwise.
    m_dialog->Edits[3]->setText("2," + QString(40000, QLatin1Char('0')));
    QCOMPARE(m_dialog->Edits[3]->text().size(), 40002);
    QTest::mouseClick(m_dialog->Button1, Qt::LeftButton);
    QCOMPARE(m_dialog->result(), 1);
    QCOMPARE(fileBytes(),
        QByteArray(NominalText)
            .replace("0.01000,\n10.00000", largest + ".00000,\n123460.00000")
            .replace("0.40000", "0.12346"));
    QVERIFY(m_boxes.boxes.isEmpty());
}

void ParametersDialogTest::rowsShowTheirDigits()
{
    writeFile(QByteArray("0.00000123456789,\n").repeated(14));
    m_dialog->show();
    const QString p5d2 = "1,2346E-06", p4 = "1,235E-6", p5 = "1,2346E-6", p6 = "1,23457E-6";
    QCOMPARE(
        texts(), QStringList({ p5d2, p4, p5, p6, p6, p5d2, p5d2, p6, p5, p5, p5, p5, p5, p5 }));
    // Accept would write it as 0 and refuse it: the reference field opens too.
    QVERIFY(m_dialog->Edits[11]->isEnabled());
}

void ParametersDialogTest::fieldThatIsNotHeldKeepsTheFile_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("right");
    QTest::addColumn<QByteArray>("line"); // written for right

    const QLocale comma(QLocale::Russian, QLocale::Russia);
    QTest::newRow("comma locale") << comma << 1 << "0.02"
                                  << "'0.02' is not a valid floating point value"
                                  << "0,02" << QByteArray("0.02000,");
    QTest::newRow("point locale") << QLocale(QLocale::English, QLocale::UnitedStates) << 1 << "0,02"
                                  << "'0,02' is not a valid floating point value"
                                  << "0.02" << QByteArray("0.02000,");
    const QString lost = QStringLiteral("Значение поля «%1» слишком мало: в файл оно записалось "
                                        "бы как 0. Наименьшее значение, которое хранит файл: %2");
    QTest::newRow("step written as 0")
        << comma << 0 << "1E-06" << lost.arg(QStringLiteral("Шаг расчета, с"), "1E-05") << "6E-06"
        << QByteArray("0.00001,");
    QTest::newRow("deflection written as 0, six decimals")
        << comma << 12 << "-4E-7"
        << lost.arg(QStringLiteral("Начальное отклонение точки, м"), "1E-6") << "-1E-6"
        << QByteArray("-0.000001,");
}

void ParametersDialogTest::fieldThatIsNotHeldKeepsTheFile()
{
    QFETCH(QLocale, locale);
    QFETCH(int, row);
    QFETCH(QString, wrong);
    QFETCH(QString, message);
    QFETCH(QString, right);
    QFETCH(QByteArray, line);
    QLocale::setDefault(locale);
    m_dialog->show();
    retype(m_dialog->Edits[13], QStringLiteral("-1"));
    retype(m_dialog->Edits[row], wrong);
    QTest::mouseClick(m_dialog->Button1, Qt::LeftButton);
    QCOMPARE(m_boxes.boxes.size(), 1);
    QCOMPARE(m_boxes.boxes[0].text, message);
    QCOMPARE(m_boxes.boxes[0].kind, MessageBoxKind::Error);
    QCOMPARE(fileBytes(), NominalText);
    QVERIFY(m_dialog->isVisible());
    QCOMPARE(m_dialog->result(), 0);
    QCOMPARE(m_dialog->focusWidget(), m_dialog->Edits[row]);
    QCOMPARE(m_dialog->Edits[row]->text(), wrong);

    retype(m_dialog->Edits[row], right);
    QTest::mouseClick(m_dialog->Button1, Qt::LeftButton);
    QCOMPARE(m_dialog->result(), 1);
    QList<QByteArray> lines = NominalText.split('\n');
    lines[row] = line;
    lines[13] = "-1.00000,";
    QCOMPARE(fileBytes(), lines.join('\n'));
}

void ParametersDialogTest::cancelKeepsTheFile()
{
    // "Отмена", then the close box.
    for (bool closeBox : { false, true }) {
        m_dialog->show();
        retype(m_dialog->Edits[2], QStringLiteral("20"));
        if (closeBox)
            m_dialog->close();
        else
            QTest::mouseClick(m_dialog->Button2, Qt::LeftButton);
        QCOMPARE(m_dialog->result(), 2);
        QCOMPARE(fileBytes(), NominalText);
    }
    // The next showing reads the file again, as changed by hand meanwhile.
    writeFile(QByteArray(NominalText).replace("10.00000", "12.50000"));
    m_dialog->show();
    QCOMPARE(m_dialog->Edits[2]->text(), QStringLiteral("12,5"));
}

void ParametersDialogTest::tabSkipsTheReferenceFieldAndScrolls()
{
    m_dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_dialog.get()));
    m_dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_dialog.get()));
    m_dialog->Edits[0]->setFocus();
    // A field below the fold is scrolled into view, also when Tab comes round.
    QScrollBar *bar = m_dialog->ScrollBox1->verticalScrollBar();
    QStringList visited;
    int scrolledAtLastRow = -1;
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.append(QApplication::focusWidget()->objectName());
        if (QApplication::focusWidget() == m_dialog->Edits[13])
            scrolledAtLastRow = bar->value();
    }
    QCOMPARE(visited,
        QStringList({ "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9",
            "Edit10", "Edit11", "Edit13", "Edit14", "Button2", "Button1", "Edit1" }));
    QCOMPARE(scrolledAtLastRow, 390 - m_dialog->ScrollBox1->viewport()->height());
    QCOMPARE(bar->value(), 0);
}

void ParametersDialogTest::shortFileLeavesFieldsEmpty()
{
    writeFile("0.5,\n0.25,\n3,\n2,\n7,\n");
    m_dialog->show();
    QCOMPARE(
        texts(), QStringList({ "0,5", "0,25", "3", "2", "7", "", "", "", "", "", "", "", "", "" }));
    // Open to editing while it holds nothing that Accept could take.
    QVERIFY(m_dialog->Edits[11]->isEnabled());
    QTest::mouseClick(m_dialog->Button1, Qt::LeftButton);
    QCOMPARE(m_boxes.boxes.size(), 1);
    QCOMPARE(m_boxes.boxes[0].text, QStringLiteral("'' is not a valid floating point value"));
    QCOMPARE(m_dialog->focusWidget(), m_dialog->Edits[5]); // the field the message means
    QCOMPARE(fileBytes(), QByteArray("0.5,\n0.25,\n3,\n2,\n7,\n"));
}

void ParametersDialogTest::unopenableFileEndsTheProgram()
{
    m_dialog->show();
    retype(m_dialog->Edits[0], QStringLiteral("0,5"));
    // A read-only file; for root, whom permissions do not stop, the process
    // acts as "nobody", for whom the folder is read-only too.
    const std::string path = ParameterFilePath();
    chmod(path.c_str(), 0444);
    const bool root = geteuid() == 0;
    QVERIFY(!root || seteuid(65534) == 0);
    QTest::mouseClick(m_dialog->Button1, Qt::LeftButton);
    QVERIFY(!root || seteuid(0) == 0);
    QCOMPARE(fileBytes(), NominalText);
    QCOMPARE(m_dialog->result(), 0);
    QVERIFY(programEnds());

    // On showing, the fields keep what they held.
    m_dialog->hide();
    QFile::remove(QString::fromStdString(path));
    m_dialog->show();
    QCOMPARE(m_dialog->Edits[0]->text(), QStringLiteral("0,5"));
    QVERIFY(programEnds());
    QCOMPARE(m_boxes.boxes.size(), 2);
    for (const MessageBoxRequest &box : m_boxes.boxes) {
        QCOMPARE(box.text, QStringLiteral("Can't open data file"));
        QCOMPARE(box.caption, QStringLiteral(" "));
    }
}

QTEST_MAIN(ParametersDialogTest)
#include "tst_input1.moc"
