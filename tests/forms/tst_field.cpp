#include "glpanel/openglpanel.h"
#include "output/picturemenu.h"
#include "tests/support/computationcanceller.h"
#include "tests/support/mainwindowfixture.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

namespace {

// Five samples after the first: playback ends quickly.
ModelParameters ShortRun()
{
    ModelParameters p = NominalParameters();
    p.StopTime = 0.05f;
    return p;
}

QStringList readouts(const TForm2 &window)
{
    QStringList texts;
    for (const QLabel *label : window.Readouts)
        texts.append(label->text());
    return texts;
}

bool playing(const TForm2 &window)
{
    return window.Timer1->isActive();
}

// Clicks one of the parameters dialog's buttons as soon as it is up.
void answerParametersDialog(QPushButton *TForm3::*button)
{
    QTimer::singleShot(0, Form3, [button] { QTest::mouseClick(Form3->*button, Qt::LeftButton); });
}

} // namespace

Q_DECLARE_METATYPE(ModelParameters)

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void readoutsAtStart_data();
    void readoutsAtStart();
    void toggleStartsAndStopsPlayback();
    void playbackEndsWithTheToggleStillPressed();
    void nothingToPlay();
    void stepButtonsStopAtTheEnds();
    void restartReturnsToTheFirstSample();
    void everyMoveRepaintsTheScene();
    void trackBarSetsTheSpeedWhilePlaying();
    void optionsChangeOnlyThePicture();
    void acceptedDialogRecomputesFromTheStart();
    void cancelledDialogChangesNothing();
    void everyControlIsNamedAndTheSceneDescribed();
    void sceneMenuButtonShowsTheWindowsAndShortcuts();
    void accessibleToggleStartsPlayback();
    void longComputationShowsProgressAndCancels();
    void fileReadInPartIsWarnedAboutOnce_data();
    void fileReadInPartIsWarnedAboutOnce();
};

void MainWindowTest::readoutsAtStart_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("comma") << QLocale(QLocale::Russian, QLocale::Russia) << NominalParameters()
                           << QStringList { "Время, сек 0,000", "Координата Х, м 0,00",
                                  "Скорость V, м/с 0,00", "Сила сопротивления Fc, H 0,00",
                                  "Сила упругости Fу, H 0,00", "Вынуждающая сила Fв, H 0,00",
                                  "Положение начала с.к., м 0,38" };
    QTest::newRow("point") << QLocale(QLocale::English, QLocale::UnitedStates)
                           << NominalParameters()
                           << QStringList { "Время, сек 0.000", "Координата Х, м 0.00",
                                  "Скорость V, м/с 0.00", "Сила сопротивления Fc, H 0.00",
                                  "Сила упругости Fу, H 0.00", "Вынуждающая сила Fв, H 0.00",
                                  "Положение начала с.к., м 0.38" };
    // Every force differs from the others at the start: b v0 = 2, k x0 = 60,
    // F0 sin(90 / 57.3) = 12.
    ModelParameters moving = NominalParameters();
    moving.Damping = 4;
    moving.ForcePhase = 90;
    moving.InitialDeflection = 0.1f;
    moving.InitialVelocity = 0.5f;
    QTest::newRow("moving start") << QLocale(QLocale::Russian, QLocale::Russia) << moving
                                  << QStringList { "Время, сек 0,000", "Координата Х, м 0,10",
                                         "Скорость V, м/с 0,50", "Сила сопротивления Fc, H -2,00",
                                         "Сила упругости Fу, H -60,00",
                                         "Вынуждающая сила Fв, H 12,00",
                                         "Положение начала с.к., м 0,38" };
}

void MainWindowTest::readoutsAtStart()
{
    QFETCH(QLocale, locale);
    QFETCH(ModelParameters, parameters);
    QFETCH(QStringList, expected);
    QLocale::setDefault(locale);
    MainWindowFixture fixture(parameters);
    TForm2 &window = fixture.window();
    QCOMPARE(readouts(window), expected);
    QCOMPARE(window.PlaybackIndex, 0);
    QVERIFY(!playing(window));
    QVERIFY(!window.SpeedButton1->isChecked());
    QCOMPARE(window.Timer1->interval(), 10);
    QVERIFY(fixture.boxes.boxes.isEmpty());
}

void MainWindowTest::toggleStartsAndStopsPlayback()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QVERIFY(window.SpeedButton1->isChecked());
    QVERIFY(playing(window));
    QTRY_VERIFY(window.PlaybackIndex >= 3);
    QVERIFY(readouts(window)[0] != QStringLiteral("Время, сек 0.000"));

    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QVERIFY(!window.SpeedButton1->isChecked());
    QVERIFY(!playing(window));
    const int stoppedAt = window.PlaybackIndex;
    QTest::qWait(50);
    QCOMPARE(window.PlaybackIndex, stoppedAt);
}

void MainWindowTest::playbackEndsWithTheToggleStillPressed()
{
    MainWindowFixture fixture(ShortRun());
    TForm2 &window = fixture.window();
    QCOMPARE(window.Motion.LastSampleIndex, 5.0f);
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(!playing(window));
    QCOMPARE(window.PlaybackIndex, 5);
    QVERIFY(window.SpeedButton1->isChecked());
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.050"));

    // Pressing again at the end: the first tick stops it again.
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton); // released
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton); // pressed
    QVERIFY(playing(window));
    QTRY_VERIFY(!playing(window));
    QCOMPARE(window.PlaybackIndex, 5);
}

void MainWindowTest::nothingToPlay()
{
    ModelParameters p = NominalParameters();
    p.StopTime = -1;
    MainWindowFixture fixture(p);
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(!playing(window));
    QCOMPARE(window.PlaybackIndex, 0);
    QTest::mouseClick(window.BitBtn1, Qt::LeftButton);
    QCOMPARE(window.PlaybackIndex, 0);
}

void MainWindowTest::stepButtonsStopAtTheEnds()
{
    MainWindowFixture fixture(ShortRun());
    TForm2 &window = fixture.window();

    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    window.Readouts[0]->setText(QString());
    QTest::mouseClick(window.BitBtn2, Qt::LeftButton); // "Назад" at sample 0
    QCOMPARE(window.PlaybackIndex, 0);
    QVERIFY(!playing(window));
    QVERIFY(!window.SpeedButton1->isChecked());
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.000"));

    for (int i = 1; i <= 5; ++i) {
        QTest::mouseClick(window.BitBtn1, Qt::LeftButton);
        QCOMPARE(window.PlaybackIndex, i);
    }
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    window.Readouts[0]->setText(QString());
    QTest::mouseClick(window.BitBtn1, Qt::LeftButton); // "Вперед" at the last sample
    QCOMPARE(window.PlaybackIndex, 5);
    QVERIFY(!playing(window));
    QVERIFY(!window.SpeedButton1->isChecked());
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.050"));

    QTest::mouseClick(window.BitBtn2, Qt::LeftButton);
    QCOMPARE(window.PlaybackIndex, 4);
}

void MainWindowTest::restartReturnsToTheFirstSample()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(window.PlaybackIndex >= 2);
    QTest::mouseClick(window.Button3, Qt::LeftButton);
    QCOMPARE(window.PlaybackIndex, 0);
    QVERIFY(!playing(window));
    QVERIFY(!window.SpeedButton1->isChecked());
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.000"));
}

// Nothing else would paint the scene again: the window is not re-exposed.
void MainWindowTest::everyMoveRepaintsTheScene()
{
    int paints = 0; // outlives the window
    MainWindowFixture fixture(ShortRun());
    TForm2 &window = fixture.window();
    window.OpenGLPanel1->OnPaint = [&paints, paint = window.OpenGLPanel1->OnPaint](auto *sender) {
        ++paints;
        paint(sender);
    };
    for (QPushButton *button : { window.BitBtn1, window.BitBtn1, window.BitBtn2, window.Button3 }) {
        const int before = paints;
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY2(paints > before, qPrintable(button->text()));
    }
    const int before = paints;
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(!playing(window));
    QVERIFY(paints >= before + 5); // one a sample
}

void MainWindowTest::trackBarSetsTheSpeedWhilePlaying()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    window.TrackBar3->setFocus();
    QTest::keyClick(window.TrackBar3, Qt::Key_Home);
    QCOMPARE(window.TrackBar3->value(), 0);
    QCOMPARE(window.Timer1->interval(), 100);
    QVERIFY(playing(window));
    QTest::keyClick(window.TrackBar3, Qt::Key_PageUp);
    QCOMPARE(window.Timer1->interval(), 90);
    QVERIFY(playing(window));
}

void MainWindowTest::optionsChangeOnlyThePicture()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    for (int i = 0; i < 20; ++i)
        QTest::mouseClick(window.BitBtn1, Qt::LeftButton);
    const QStringList before = readouts(window);
    const QImage plain = window.OpenGLPanel1->GrabFrame();
    QTest::mouseClick(window.CheckBox4, Qt::LeftButton, {}, QPoint(5, 9));
    QVERIFY(window.CheckBox4->isChecked());
    const QImage withArrow = window.OpenGLPanel1->GrabFrame();
    QVERIFY(plain != withArrow);
    QCOMPARE(readouts(window), before);
    QCOMPARE(window.PlaybackIndex, 20);
}

void MainWindowTest::acceptedDialogRecomputesFromTheStart()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(window.PlaybackIndex >= 2);
    const float coordinateRange = window.Motion.SeriesRanges[0].max;

    answerParametersDialog(&TForm3::Button1);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QCOMPARE(window.PlaybackIndex, 0);
    QVERIFY(!playing(window));
    QVERIFY(!window.SpeedButton1->isChecked());
    QCOMPARE(window.Motion.SeriesRanges[0].max, coordinateRange);
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.000"));

    // The file is read again: a change made meanwhile is computed.
    ModelParameters changed = NominalParameters();
    changed.StopTime = 1;
    MainWindowFixture::WriteParameters(changed);
    answerParametersDialog(&TForm3::Button1);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QCOMPARE(window.Motion.LastSampleIndex, 100.0f);
}

void MainWindowTest::cancelledDialogChangesNothing()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    QTRY_VERIFY(window.PlaybackIndex >= 2);
    ModelParameters changed = NominalParameters();
    changed.StopTime = 1;
    MainWindowFixture::WriteParameters(changed);

    answerParametersDialog(&TForm3::Button2);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QVERIFY(playing(window)); // playback went on behind the dialog
    QVERIFY(window.PlaybackIndex >= 2);
    QCOMPARE(window.Motion.LastSampleIndex, 1000.0f);
}

void MainWindowTest::everyControlIsNamedAndTheSceneDescribed()
{
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    QStringList unnamed;
    int controls = 0;
    const std::function<void(QAccessibleInterface *)> walk = [&](QAccessibleInterface *node) {
        for (int i = 0; i < node->childCount(); ++i) {
            QAccessibleInterface *child = node->child(i);
            // Frames only decorate.
            if (child->role() != QAccessible::Border) {
                ++controls;
                if (child->text(QAccessible::Name).trimmed().isEmpty())
                    unnamed.append(child->object()->objectName() + QLatin1Char(' ')
                        + child->object()->metaObject()->className());
            }
            walk(child);
        }
    };
    walk(QAccessible::queryAccessibleInterface(&form));
    QVERIFY(controls > 20);
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
    QAccessibleInterface *trackBar = QAccessible::queryAccessibleInterface(form.TrackBar3);
    QCOMPARE(trackBar->text(QAccessible::Name), QStringLiteral("Скорость воспроизведения"));

    QAccessibleInterface *scene = QAccessible::queryAccessibleInterface(form.OpenGLPanel1);
    const QString first = scene->text(QAccessible::Description);
    QVERIFY2(
        first.startsWith(QStringLiteral("Время, сек 0.000; Координата Х, м ")), qPrintable(first));
    QTest::mouseClick(form.BitBtn1, Qt::LeftButton);
    const QString second = scene->text(QAccessible::Description);
    QVERIFY2(second.startsWith(QStringLiteral("Время, сек 0.010; ")), qPrintable(second));
}

void MainWindowTest::sceneMenuButtonShowsTheWindowsAndShortcuts()
{
    MainWindowFixture fixture;
    TForm2 &form = fixture.window();
    QToolButton *button = form.SpeedButton2;
    // What the screen shows there: the button, not the scene's window below it.
    const auto onScreen = [button] {
        const QPoint at = button->mapToGlobal(QPoint());
        return button->screen()
            ->grabWindow(0, at.x(), at.y(), button->width(), button->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    };
    const QImage face = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QTRY_COMPARE(onScreen(), face);
    // A picture of the scene leaves it out, and it comes back.
    const QImage picture = form.OpenGLPanel1->TakePicture();
    const QRect under(button->geometry().translated(-form.OpenGLPanel1->pos()));
    QCOMPARE(picture.copy(under).pixel(under.width() / 2, under.height() / 2), qRgb(255, 255, 255));
    QTRY_COMPARE(onScreen(), face);

    // A short tooltip where the old one named every entry.
    const QFontMetrics tipFont(QToolTip::font());
    for (const QWidget *control : std::initializer_list<QWidget *> { button, form.OpenGLPanel1 })
        QVERIFY2(
            tipFont.horizontalAdvance(control->toolTip()) < 450, qPrintable(control->toolTip()));

    // The button's menu runs an event loop of its own: looked at from inside.
    QMenu *menu = form.SceneMenu->Menu();
    QStringList entries;
    QTimer poll;
    connect(&poll, &QTimer::timeout, menu, [&] {
        if (!menu->isVisible())
            return;
        poll.stop();
        // Each entry wide enough for its text and shortcut side by side.
        for (QAction *entry : menu->actions()) {
            const QString shortcut = entry->shortcut().toString(QKeySequence::NativeText);
            if (!entry->isSeparator()
                && menu->actionGeometry(entry).width()
                    > menu->fontMetrics().horizontalAdvance(entry->text() + shortcut) + 20)
                entries.append(entry->text() + QLatin1Char(' ') + shortcut);
        }
        menu->close();
    });
    poll.start(10);
    QTest::mouseClick(button, Qt::LeftButton);
    QTRY_VERIFY(!poll.isActive());
    QCOMPARE(entries.size(), menu->actions().size() - 1); // all but the separator
    QCOMPARE(entries.first(), QStringLiteral("Резонансная кривая Ctrl+R"));
}

void MainWindowTest::accessibleToggleStartsPlayback()
{
    MainWindowFixture fixture(ShortRun());
    TForm2 &form = fixture.window();
    QAccessibleActionInterface *toggle
        = QAccessible::queryAccessibleInterface(form.SpeedButton1)->actionInterface();
    QVERIFY(toggle->actionNames().contains(QAccessibleActionInterface::toggleAction()));
    toggle->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(form.SpeedButton1->isChecked());
    QTRY_COMPARE(form.PlaybackIndex, 5);
    toggle->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(!form.SpeedButton1->isChecked());
    QVERIFY(!playing(form));
}

void MainWindowTest::longComputationShowsProgressAndCancels()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.SpeedButton1, Qt::LeftButton);
    MainWindowFixture::WriteParameters(LongComputation());

    int shownAt = -1;
    bool timerStopped = false;
    const ComputationCanceller cancel([&](const QProgressDialog &dialog) {
        shownAt = dialog.value(); // in thousandths of the steps
        timerStopped = !playing(window);
    });
    answerParametersDialog(&TForm3::Button1);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QVERIFY(shownAt >= 0 && shownAt < 100); // up well before the end
    QVERIFY(timerStopped);
    QVERIFY(!window.Motion.HasResult());
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек"));
    QVERIFY(fixture.boxes.boxes.isEmpty());

    MainWindowFixture::WriteParameters(NominalParameters());
    answerParametersDialog(&TForm3::Button1);
    QTest::mouseClick(window.Button2, Qt::LeftButton);
    QCOMPARE(readouts(window)[0], QStringLiteral("Время, сек 0.000"));
}

void MainWindowTest::fileReadInPartIsWarnedAboutOnce_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QString>("warning"); // %1 the file
    QTest::addColumn<qsizetype>("boxes");
    // Stop time 0: the still scene, which needs no second box.
    QTest::newRow("comma decimals")
        << QByteArray(
               "0,01,\n0,01,\n10,\n2,\n0,\n600,\n12,\n17,3205,\n0,\n30,\n9,8,\n0,4,\n0,\n0,\n")
        << "В файле параметров %1 в строке 1 («0,01,») за целым числом следуют «,» и цифры: «,», "
           "набранная как десятичный разделитель, читается как два значения и сдвигает "
           "следующие. В файле десятичным разделителем должна быть «.»."
        << qsizetype(1);
    // Print step 0: a second box says that nothing moves.
    QTest::newRow("empty") << QByteArray()
                           << "Файл параметров %1: прочитано значений: 0 из 14; файл пуст. "
                              "Остальные параметры сохраняют прежние значения."
                           << qsizetype(2);
}

void MainWindowTest::fileReadInPartIsWarnedAboutOnce()
{
    QFETCH(QByteArray, text);
    QFETCH(QString, warning);
    QFETCH(qsizetype, boxes);
    MainWindowFixture fixture(text.toStdString());
    // The boxes of one reading come up together.
    QTRY_VERIFY(!fixture.boxes.boxes.isEmpty());
    QCOMPARE(fixture.boxes.boxes.size(), boxes);
    // The cause comes first, its consequence after it.
    QCOMPARE(fixture.boxes.boxes[0].text, warning.arg(QString::fromStdString(ParameterFilePath())));

    // Shown again on a whole file: no second warning.
    MainWindowFixture::WriteParameters(NominalParameters());
    fixture.window().hide();
    fixture.window().show();
    QVERIFY(QTest::qWaitForWindowExposed(&fixture.window()));
    QCOMPARE(fixture.window().Readouts[0]->text(), QStringLiteral("Время, сек 0.000"));
    QCOMPARE(fixture.boxes.boxes.size(), boxes);
}

QTEST_MAIN(MainWindowTest)
#include "tst_field.moc"
