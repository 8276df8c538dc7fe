#include "forms/choice.h"
#include "forms/timegraphplot.h"
#include "tests/support/mainwindowfixture.h"
#include "tests/support/pixels.h"
#include "widgets/formgeometry.h"
#include "widgets/paintbox.h"
#include "widgets/radiogroup.h"

#include <QAccessible>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <xcb/xcb.h>

#include <cmath>
#include <functional>

namespace {

constexpr int W = 669;
constexpr int H = 361;
const QColor Green(0, 128, 0);
const QColor Yellow(255, 255, 0);
const QColor Red(255, 0, 0);
const QColor Face(200, 200, 200);

QFont windowFont()
{
    return PixelFont(QStringLiteral("MS Sans Serif"), 11);
}

// The plot of 10 s sampled every 0.01 s, on a white image.
QImage paint(const std::function<void(QPainter &, const TimeGraphPlot &)> &draw,
    double duration = 10, bool markers = false)
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter canvas(&image);
    canvas.setFont(windowFont());
    TimeGraphPlot plot;
    plot.Duration = duration;
    plot.PrintStep = 0.01f;
    plot.Markers = markers;
    plot.LabelBackground = Face;
    draw(canvas, plot);
    return image;
}

// A label as it must look: red text on its filled cell.
QImage labelCell(const QString &text, const QColor &colour = Red, const QColor &background = Face)
{
    const QFontMetrics metrics(windowFont());
    QImage cell(metrics.horizontalAdvance(text), metrics.height(), QImage::Format_RGB32);
    cell.fill(background);
    QPainter canvas(&cell);
    canvas.setFont(windowFont());
    canvas.setPen(colour);
    canvas.drawText(0, metrics.ascent(), text);
    return cell;
}

// Where runs of pixels that pass begin, walking count steps from from.
QList<int> runStarts(const QImage &image, QPoint from, QPoint step, int count,
    const std::function<bool(const QColor &)> &passes)
{
    QList<int> starts;
    bool inRun = false;
    for (int i = 0; i < count; ++i) {
        const QPoint p = from + i * step;
        const bool now = passes(image.pixelColor(p));
        if (now && !inRun)
            starts.append(step.x() ? p.x() : p.y());
        inRun = now;
    }
    return starts;
}

QList<int> steps(int first, int last, int step)
{
    QList<int> values;
    for (int v = first; v <= last; v += step)
        values.append(v);
    return values;
}

// Inside the plot area's border, where no label reaches.
const QRect Inside(31, 1, W - 62, H - 22);

int curvePixels(const QImage &image)
{
    return countPixels(image, Yellow.rgb(), Inside) + countPixels(image, Red.rgb(), Inside);
}

// A click on the box itself: the control's middle may lie beyond its text.
void tick(QCheckBox &box)
{
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(6, box.height() / 2));
}

// Runs trigger, which opens the choice dialog modally, and lets answer
// act on the dialog while it is up.
void answerChoice(const std::function<void()> &trigger, const std::function<void(TForm9 &)> &answer)
{
    bool answered = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!Form9->isVisible() || answered)
            return;
        answered = true;
        answer(*Form9);
    });
    poll.start(10);
    trigger();
    QTRY_VERIFY(answered);
    QTRY_VERIFY(!Form9->isVisible());
}

void openGraphs(const std::function<void(TForm9 &)> &answer
    = [](TForm9 &choice) { QTest::mouseClick(choice.Button1, Qt::LeftButton); })
{
    answerChoice([] { Form8->show(); }, answer);
    QVERIFY(QTest::qWaitForWindowExposed(Form8));
}

// The title the X server holds for a window.
QString x11Title(QWidget &window)
{
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t *connection = x11->connection();
    const char name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, sizeof name - 1, name), nullptr);
    xcb_get_property_reply_t *property = xcb_get_property_reply(connection,
        xcb_get_property(connection, 0, xcb_window_t(window.winId()), atom->atom,
            XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr);
    const QString title
        = QString::fromUtf8(static_cast<const char *>(xcb_get_property_value(property)),
            xcb_get_property_value_length(property));
    free(property);
    free(atom);
    return title;
}

} // namespace

class GraphTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia)); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }
    void axes();
    void curves_data();
    void curves();
    void markersAreSparse();
    void everyVertexOfACurve();
    void timeField_data();
    void timeField();
    void controlsDriveTheScaleAndPicture();
    void enterAndEscapeCloseNothing();
    void choiceDialogHasNoTitleText();
};

void GraphTest::axes()
{
    const QImage image = paint([](QPainter &canvas, const TimeGraphPlot &plot) {
        plot.DrawAxes(canvas, -1, 1, -10, 10, H, W);
    });
    QCOMPARE(image.pixelColor(45, 15), QColor(Qt::black));
    QCOMPARE(image.pixelColor(637, 339), QColor(Qt::black));
    const auto green = [](const QColor &c) { return c == Green; };
    const auto notWhite = [](const QColor &c) { return c != Qt::white; };
    QCOMPARE(runStarts(image, { 0, 15 }, { 1, 0 }, W, green), steps(30, 630, 30) << 638);
    QCOMPARE(runStarts(image, { 45, 0 }, { 0, 1 }, H, green),
        QList<int> { 0 } << steps(30, 336, 34) << 340);

    QCOMPARE(runStarts(image, { 1, 0 }, { 0, 1 }, H, notWhite), steps(34, 306, 34));
    QCOMPARE(runStarts(image, { W - 29, 0 }, { 0, 1 }, H, notWhite), steps(34, 306, 34));
    QCOMPARE(runStarts(image, { 0, H - 11 }, { 1, 0 }, W, notWhite), steps(60, 600, 30));

    const QStringList left { "0,80", "0,60", "0,40", "0,20", "0,00", "-0,20", "-0,40", "-0,60",
        "-0,80" };
    const QStringList right { "8,00", "6,00", "4,00", "2,00", "0,00", "-2,00", "-4,00", "-6,00",
        "-8,00" };
    for (int k = 1; k <= 9; ++k) {
        const QImage l = labelCell(left[k - 1]);
        QCOMPARE(image.copy(0, 34 * k, l.width(), l.height()), l);
        const QImage r = labelCell(right[k - 1]);
        QCOMPARE(image.copy(W - 30, 34 * k, r.width(), r.height()), r);
    }
    for (int k = 1; k <= 19; ++k) {
        // The last row of the cell lies beyond the paint box.
        const QImage cell = labelCell(QLocale().toString(k * 0.5));
        const QImage t = cell.copy(0, 0, cell.width(), 12);
        QCOMPARE(image.copy(30 + 30 * k, H - 12, t.width(), 12), t);
    }

    // At the longest duration the field takes every label has its column.
    const auto timeLabels = [&](double duration) {
        const QImage image
            = paint([](QPainter &canvas,
                        const TimeGraphPlot &plot) { plot.DrawAxes(canvas, -1, 1, -10, 10, H, W); },
                duration);
        QStringList texts;
        for (int x : runStarts(image, { 0, H - 11 }, { 1, 0 }, W, notWhite)) {
            const QString text = TimeLabel((x - 30) / 30 * duration * 0.05);
            const QImage cell = labelCell(text);
            if (image.copy(x, H - 12, cell.width(), 12) != cell.copy(0, 0, cell.width(), 12))
                return QStringList { "not as drawn at " + QString::number(x) };
            texts.append(text);
        }
        return texts;
    };
    QCOMPARE(timeLabels(999999),
        QStringList({ "5E4", "1E5", "15E4", "2E5", "25E4", "3E5", "35E4", "4E5", "45E4", "5E5",
            "55E4", "6E5", "65E4", "7E5", "75E4", "8E5", "85E4", "9E5", "95E4" }));
    // Where three digits and an exponent are wider than a column, each label
    // still starts in its own; the next one covers its last digit.
    const QImage crowded
        = paint([](QPainter &canvas,
                    const TimeGraphPlot &plot) { plot.DrawAxes(canvas, -1, 1, -10, 10, H, W); },
            990000);
    for (int k = 1; k <= 19; ++k) {
        const QImage cell = labelCell(TimeLabel(k * 990000 * 0.05));
        const QImage visible = cell.copy(0, 0, std::min(cell.width(), k < 19 ? 30 : W), 12);
        QCOMPARE(crowded.copy(30 + 30 * k, H - 12, visible.width(), 12), visible);
    }
}

void GraphTest::curves_data()
{
    QTest::addColumn<QList<float>>("series");
    QTest::addColumn<double>("lower");
    QTest::addColumn<double>("upper");
    QTest::addColumn<double>("duration");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QList<QPoint>>("on");
    QTest::addColumn<QList<QPoint>>("off");
    QTest::addColumn<bool>("drawn"); // inside the plot area's border

    const auto constant = [](int count, float value) { return QList<float>(count, value); };
    QList<float> ramp; // -1 ... 1 over 10 s
    for (int i = 0; i < 1000; ++i)
        ramp.append(i / 500.0f - 1);

    QTest::newRow("coordinate") << constant(1000, 0.5f) << -1.0 << 1.0 << 10.0 << "1"
                                << QList<QPoint> { { 100, 86 }, { 600, 86 } }
                                << QList<QPoint> { { 100, 256 } } << true;
    QTest::newRow("velocity") << constant(1000, -5) << -10.0 << 10.0 << 10.0 << "2"
                              << QList<QPoint> { { 100, 256 }, { 600, 256 } }
                              << QList<QPoint> { { 100, 86 } } << true;
    QTest::newRow("below the lower bound")
        << constant(1000, -2) << -1.0 << 1.0 << 10.0 << "1"
        << QList<QPoint> { { 100, 340 }, { 600, 340 } } << QList<QPoint> {} << false;
    QTest::newRow("above the upper bound leaves at the top")
        << constant(1000, 3) << -1.0 << 1.0 << 10.0 << "1" << QList<QPoint> {}
        << QList<QPoint> { { 100, 1 }, { 600, 1 } } << false;
    QTest::newRow("ramp") << ramp << -1.0 << 1.0 << 10.0 << "1"
                          << QList<QPoint> { { 334, 171 }, { 182, 256 } }
                          << QList<QPoint> { { 334, 256 } } << true;
    QTest::newRow("half the duration spans the width")
        << ramp << -1.0 << 1.0 << 5.0 << "1" << QList<QPoint> { { 334, 256 }, { 637, 171 } }
        << QList<QPoint> { { 334, 171 } } << true;
    QTest::newRow("stops at the last sample")
        << constant(500, 0.5f) << -1.0 << 1.0 << 10.0 << "1" << QList<QPoint> { { 300, 86 } }
        << QList<QPoint> { { 400, 86 } } << true;
    QTest::newRow("equal bounds: along the middle")
        << constant(1000, 0) << 0.0 << 0.0 << 10.0 << "1" << QList<QPoint> { { 300, 170 } }
        << QList<QPoint> {} << true;
    QTest::newRow("duration 0: no curve") << ramp << -1.0 << 1.0 << 0.0 << "1" << QList<QPoint> {}
                                          << QList<QPoint> { { 334, 171 } } << false;
    QTest::newRow("less than one print step: no curve")
        << ramp << -1.0 << 1.0 << 0.005 << "1" << QList<QPoint> {} << QList<QPoint> { { 334, 171 } }
        << false;
}

void GraphTest::curves()
{
    QFETCH(QList<float>, series);
    QFETCH(double, lower);
    QFETCH(double, upper);
    QFETCH(double, duration);
    QFETCH(QString, number);
    QFETCH(QList<QPoint>, on);
    QFETCH(QList<QPoint>, off);
    QFETCH(bool, drawn);
    const QImage image = paint(
        [&](QPainter &canvas, const TimeGraphPlot &plot) {
            plot.DrawAxes(canvas, lower, upper, lower, upper, H, W);
            plot.DrawCurve(canvas, series, lower, upper, H, W, number);
        },
        duration);
    const QColor colour = number == "1" ? Yellow : Red;
    for (const QPoint &p : on)
        QVERIFY2(ColourNear(image, p.x(), p.y(), colour),
            qPrintable(QString("at %1,%2").arg(p.x()).arg(p.y())));
    for (const QPoint &p : off)
        QVERIFY2(!ColourNear(image, p.x(), p.y(), colour, 3),
            qPrintable(QString("off %1,%2").arg(p.x()).arg(p.y())));
    QCOMPARE(curvePixels(image) > 0, drawn);
}

void GraphTest::markersAreSparse()
{
    const QList<float> series(1000, 0.5f); // the curve on row 86
    // Black marker cells in a band above the curve.
    const auto band = [](const QImage &image, int left, int right) {
        return countPixels(image, qRgb(0, 0, 0), QRect(left, 60, right - left, 24));
    };
    for (const bool markers : { false, true }) {
        const QImage image = paint(
            [&](QPainter &canvas, const TimeGraphPlot &plot) {
                plot.DrawCurve(canvas, series, -1, 1, H, W, "1");
            },
            10, markers);
        // One marker per grid column, the first at sample 50, 15 pixels above
        // the curve; none between.
        const QImage marker = labelCell("1", Yellow, Qt::black);
        QCOMPARE(image.copy(60, 71, marker.width(), marker.height()) == marker, markers);
        QCOMPARE(band(image, 575, 590) > 0, markers);
        QCOMPARE(band(image, 72, 89), 0);
        QCOMPARE(band(image, 31, 59), 0);
    }
}

void GraphTest::everyVertexOfACurve()
{
    // 10 s sampled every 0.01 s, as shipped: the vertices of the design's
    // float arithmetic, x summed in a float.
    QList<float> series;
    for (int i = 0; i <= 1000; ++i)
        series.append(float(std::sin(i * 0.05)));
    const float scale = float((H - 20) / 2.0);
    const auto row = [&](float d) { return H - 20 - int(double(scale) * d); };
    QPolygon expected { QPoint(30, row(series[0] + 1)) };
    float x = 30;
    for (int i = 1; i < 10 / double(0.01f); ++i) {
        x = float(x + (W - 60) / (10 / double(0.01f)));
        const QPoint vertex(int(x), row(std::max(0.0f, float(series[i] + 1))));
        if (vertex != expected.constLast())
            expected.append(vertex);
    }
    TimeGraphPlot plot;
    plot.Duration = 10;
    plot.PrintStep = 0.01f;
    QCOMPARE(plot.Curve(series, -1, 1, H, W).Line, expected);
}

void GraphTest::timeField_data()
{
    QTest::addColumn<float>("stopTime");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box"); // when refused, the field shows the stop time again

    const QString beyond = QStringLiteral("Превышение расчетного времени. ввдите другое значение");
    QTest::newRow("the stop time") << 10.0f << "10" << QString();
    QTest::newRow("below") << 10.0f << "4" << QString();
    QTest::newRow("above") << 10.0f << "11" << beyond;
    QTest::newRow("blank") << 10.0f << ""
                           << QStringLiteral("Не задано время t. Введите целое число секунд");
    QTest::newRow("no sign or separator, six digits at most") << 10.0f << "-2,5e1234567" << beyond;
    QTest::newRow("whole seconds within 10.5") << 10.5f << "10" << QString();
    QTest::newRow("above 10.5") << 10.5f << "11" << beyond;
}

void GraphTest::timeField()
{
    QFETCH(float, stopTime);
    QFETCH(QString, typed);
    QFETCH(QString, box);
    MainWindowFixture fixture(NominalWithTimes(0.01f, 0.01f, stopTime));
    openGraphs();
    QLineEdit &edit = *Form8->MaskEdit1;
    QCOMPARE(edit.text(), QStringLiteral("    10"));
    Form8->PaintBox1->repaint(); // what is pending; the next paint is the Enter's
    edit.clear();
    QTest::keyClicks(&edit, typed);
    QTest::keyClick(&edit, Qt::Key_Return);
    QVERIFY(Form8->isVisible()); // Enter is the field's, not the close button's
    QCOMPARE(fixture.boxes.boxes.size(), box.isEmpty() ? 0 : 1);
    if (!box.isEmpty()) {
        QCOMPARE(fixture.boxes.boxes[0].text, box);
        QCOMPARE(fixture.boxes.boxes[0].caption, QStringLiteral(" "));
        QCOMPARE(fixture.boxes.boxes[0].kind, MessageBoxKind::Plain);
    } else {
        // Confirmed: the plot is painted again over the new duration.
        QTRY_VERIFY(Form8->PaintBox1->accessibleDescription().startsWith(
            QStringLiteral("Время от 0 до %1 с;").arg(typed)));
    }
    QCOMPARE(edit.text(), box.isEmpty() ? typed : QStringLiteral("    10"));
    Form8->hide();
}

void GraphTest::controlsDriveTheScaleAndPicture()
{
    MainWindowFixture fixture;
    openGraphs();
    TRadioGroup &scale = *Form8->RadioGroup1;
    QCOMPARE(scale.Items(), (QStringList { "Автоматически", "Фиксированный" }));
    QCOMPARE(scale.ItemIndex(), -1);
    QVERIFY(!scale.Item(0)->isChecked() && !scale.Item(1)->isChecked());
    QCOMPARE(Form8->Bounds, (std::array<float, 4> { -1, 1, -10, 10 }));
    QCOMPARE(Form8->MaskEdit1->text(), QStringLiteral("    10"));

    // "Автоматически" through a screen reader, "Фиксированный" by a click.
    QAccessibleInterface *automatic = QAccessible::queryAccessibleInterface(scale.Item(0));
    automatic->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    QVERIFY(scale.Item(0)->isChecked());
    const auto &ranges = Form2->Motion.SeriesRanges;
    QCOMPARE(Form8->Bounds,
        (std::array<float, 4> { ranges[MotionModel::Coordinate].min,
            ranges[MotionModel::Coordinate].max, ranges[MotionModel::Velocity].min,
            ranges[MotionModel::Velocity].max }));
    QVERIFY(Form8->Bounds[0] < 0 && Form8->Bounds[1] > 1); // the resonance grows past 1 m
    QTest::mouseClick(scale.Item(1), Qt::LeftButton);
    QCOMPARE(Form8->Bounds, (std::array<float, 4> { -1, 1, -10, 10 }));

    const auto picture = [] { return Form8->PaintBox1->grab().toImage(); };
    QVERIFY(curvePixels(picture()) > 0);

    Form8->MaskEdit1->setText("0");
    QTest::keyClick(Form8->MaskEdit1, Qt::Key_Return);
    QCOMPARE(curvePixels(picture()), 0);
    QCOMPARE(picture().pixelColor(45, 15), QColor(Qt::black)); // the frame stays
    Form8->MaskEdit1->setText("10");

    // Both curves off, closed with the close box.
    answerChoice([] { QTest::mouseClick(Form8->Button2, Qt::LeftButton); },
        [](TForm9 &choice) {
            tick(*choice.CheckBox1);
            tick(*choice.CheckBox2);
            choice.close();
        });
    QCOMPARE(curvePixels(picture()), 0);

    QTest::mouseClick(Form8->Button1, Qt::LeftButton);
    QVERIFY(!Form8->isVisible());
    QCOMPARE(Form8->result(), 1);
    openGraphs([](TForm9 &choice) {
        QVERIFY(!choice.CheckBox1->isChecked() && !choice.CheckBox2->isChecked());
        tick(*choice.CheckBox2);
        QTest::mouseClick(choice.Button1, Qt::LeftButton);
    });
    const QImage velocityOnly = picture();
    QVERIFY(countPixels(velocityOnly, Red.rgb(), Inside) > 0);
    QCOMPARE(countPixels(velocityOnly, Yellow.rgb(), Inside), 0);
    Form8->hide();
}

void GraphTest::enterAndEscapeCloseNothing()
{
    MainWindowFixture fixture;
    openGraphs();
    const QList<std::pair<QWidget *, Qt::Key>> presses { { Form8->CheckBox1, Qt::Key_Return },
        { Form8->RadioGroup1->Item(1), Qt::Key_Enter }, { Form8->CheckBox1, Qt::Key_Escape } };
    for (const auto &[control, key] : presses) {
        QTest::keyClick(control, key);
        QVERIFY2(Form8->isVisible(), qPrintable(control->objectName()));
    }
    Form8->hide();
}

void GraphTest::choiceDialogHasNoTitleText()
{
    TForm9 choice;
    choice.show();
    QVERIFY(QTest::qWaitForWindowExposed(&choice));
    QTRY_VERIFY(!x11Title(choice).isNull());
    QCOMPARE(x11Title(choice).trimmed(), QString());
}

QTEST_MAIN(GraphTest)
#include "tst_graph.moc"
