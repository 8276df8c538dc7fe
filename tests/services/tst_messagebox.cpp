#include "services/messagebox.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

class MessageBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void showsPlainText();
};

// A typed value quoted in a message shows as typed, never as markup.
void MessageBoxTest::showsPlainText()
{
    const QString text = QStringLiteral("'<b>1</b>' is not a valid floating point value");
    QString shown;
    Qt::TextFormat format = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        QVERIFY(box);
        const auto *label = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        shown = label->text();
        format = label->textFormat();
        box->accept();
    });
    ShowMessageBox(text);
    QCOMPARE(shown, text);
    QCOMPARE(format, Qt::PlainText);
}

QTEST_MAIN(MessageBoxTest)
#include "tst_messagebox.moc"
