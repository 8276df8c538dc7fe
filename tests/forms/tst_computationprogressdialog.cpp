#include "forms/computationprogressdialog.h"

#include <QDeadlineTimer>
#include <QProgressDialog>
#include <QPushButton>
#include <QTest>

class ComputationProgressDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void cancelStopsEveryLaterStep_data();
    void cancelStopsEveryLaterStep();
};

void ComputationProgressDialogTest::cancelStopsEveryLaterStep_data()
{
    QTest::addColumn<bool>("byEsc");
    QTest::newRow("cancel button") << false;
    QTest::newRow("Esc") << true;
}

// The dialog is brought up to date only now and then: a cancel must stop the
// computation at its next step, whether that step updates the dialog or not.
void ComputationProgressDialogTest::cancelStopsEveryLaterStep()
{
    QFETCH(bool, byEsc);
    QWidget window;
    window.show();
    ComputationProgressDialog progress(&window, ComputationProgressTexts());
    constexpr std::int64_t total = 100'000;
    std::int64_t done = 0;
    // A computation that outlasts a moment, as the model reports it.
    QProgressDialog *dialog = nullptr;
    QTRY_VERIFY(progress(done += 1000, total)
        && (dialog = window.findChild<QProgressDialog *>("ComputationProgress"))
        && dialog->isVisible());
    QVERIFY(QTest::qWaitForWindowExposed(dialog));

    if (byEsc)
        QTest::keyClick(dialog, Qt::Key_Escape);
    else
        QTest::mouseClick(dialog->findChild<QPushButton *>(), Qt::LeftButton);
    QVERIFY(!progress(done += 1000, total));
    // Well past the dialog's next update; nor does the dialog come back.
    for (QDeadlineTimer steps(500); !steps.hasExpired(); QTest::qWait(20)) {
        QVERIFY(!progress(done += 1000, total));
        QVERIFY(!dialog->isVisible());
    }
}

QTEST_MAIN(ComputationProgressDialogTest)
#include "tst_computationprogressdialog.moc"
