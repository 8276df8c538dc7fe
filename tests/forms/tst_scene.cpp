#include "glpanel/openglpanel.h"
#include "tests/support/computationcanceller.h"
#include "tests/support/exportedcsv.h"
#include "tests/support/mainwindowfixture.h"

#include <QCheckBox>

#include <cmath>

namespace {

const QColor white(255, 255, 255);
const QColor grey(128, 128, 128);
const QColor dark(51, 51, 51);
const QColor red(255, 0, 0);
const QColor blue(0, 0, 255);
const QColor green(0, 255, 0);
const QColor magenta(255, 0, 255);

// Moving at sample 0, with every force non-zero there.
ModelParameters DampedStart()
{
    ModelParameters p = NominalParameters();
    p.Damping = 4;
    p.ForceFrequency = 5;
    p.ForcePhase = 90;
    p.InitialDeflection = 0.1f;
    p.InitialVelocity = 0.5f;
    return p;
}

// Reads the scene's frame back and maps scene units onto its pixels.
class Frame
{
public:
    explicit Frame(TForm2 &window)
        : m_image(window.OpenGLPanel1->GrabFrame())
        , m_sceneWidth(window.SceneWidth)
        , m_angle(window.ModelParameters.PlaneAngle * 3.141592654 / 180)
    { }

    // A point of the view: x right, y up, in scene units.
    QColor at(double x, double y) const
    {
        const int px = int(x * m_image.width() / m_sceneWidth);
        const int py = m_image.height() - 1 - int(y * m_image.height() / 260);
        return m_image.pixelColor(px, py);
    }

    // A point measured along the slope from the spring's support (u) and away
    // from it (v), as the mass and the arrows are placed.
    QColor onSlope(double u, double v) const
    {
        return at(60 + u * std::cos(m_angle) - v * std::sin(m_angle),
            20 + u * std::sin(m_angle) + v * std::cos(m_angle));
    }

    bool isNull() const { return m_image.isNull(); }

private:
    QImage m_image;
    int m_sceneWidth;
    double m_angle;
};

// Distance along the slope from the support to the centre of the mass.
double massCentre(const TForm2 &window)
{
    const double d = window.Motion.OriginPosition - 0.4f
        + window.Motion.Value(MotionModel::Coordinate, window.PlaybackIndex);
    return 20 + d * 250 + 100;
}

} // namespace

Q_DECLARE_METATYPE(ModelParameters)

class SceneTest : public QObject
{
    Q_OBJECT

private slots:
    void nominalScene();
    void planeByAngle_data();
    void planeByAngle();
    void damperOnlyWithDamping();
    void arrowLengthFollowsItsReference_data();
    void arrowLengthFollowsItsReference();
    void arrowWithoutReferenceIsNotDrawn();
    void arrowsAtTheFirstSample_data();
    void arrowsAtTheFirstSample();
    void springRunsFromSupportToMass();
    void nothingToExportAfterACancelledComputation();
};

void SceneTest::nominalScene()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    QCOMPARE(window.SceneWidth, 314);
    const Frame frame(window);
    QVERIFY(!frame.isNull());

    QCOMPARE(frame.at(5, 250), white);
    QCOMPARE(frame.at(310, 5), white);
    // The triangle: lower corner, right corner, top corner, each just inside.
    const double right = 60 + 230 * std::cos(30 * 3.141592654 / 180);
    QCOMPARE(frame.at(64, 21), grey);
    QCOMPARE(frame.at(right - 2, 21), grey);
    QCOMPARE(frame.at(right - 2, 20 + 115 - 3), grey);
    QCOMPARE(frame.at(right + 2, 21), white);
    QCOMPARE(frame.at(right - 2, 20 + 115 + 3), white);

    const double centre = massCentre(window);
    QVERIFY(centre > 115 && centre < 120);
    QCOMPARE(frame.onSlope(centre - 7, 25), dark); // the mass, beside the origin line
    QCOMPARE(frame.onSlope(centre + 7, 5), dark);
    QCOMPARE(frame.onSlope(centre + 14, 15), white);
    QCOMPARE(frame.onSlope(centre, 50), red); // the origin line above the mass
    QCOMPARE(frame.onSlope(centre + 3, 50), white);
    QCOMPARE(frame.onSlope(5, 20), grey); // the support
    QCOMPARE(frame.onSlope(200, 45), white); // no damper
    QCOMPARE(frame.onSlope(200, 35), white);
}

void SceneTest::planeByAngle_data()
{
    QTest::addColumn<float>("angle");
    QTest::newRow("flat") << 0.0f;
    QTest::newRow("vertical") << 90.0f;
    QTest::newRow("negative") << -20.0f;
}

void SceneTest::planeByAngle()
{
    QFETCH(float, angle);
    ModelParameters p = NominalParameters();
    p.PlaneAngle = angle;
    MainWindowFixture fixture(p);
    const Frame frame(fixture.window());
    if (angle == 0) {
        QCOMPARE(frame.at(200, 20), grey); // a thick line, no triangle above it
        QCOMPARE(frame.at(200, 23), white);
    } else if (angle == 90) {
        QCOMPARE(frame.at(60, 200), grey);
        QCOMPARE(frame.at(64, 200), white);
    } else {
        // Falling to the right: the triangle lies below the base line.
        QCOMPARE(frame.at(200, 15), grey);
        QCOMPARE(frame.at(200, 23), white);
    }
}

void SceneTest::damperOnlyWithDamping()
{
    ModelParameters p = NominalParameters();
    p.Damping = 2;
    MainWindowFixture fixture(p);
    TForm2 &window = fixture.window();
    const Frame frame(window);
    QCOMPARE(frame.onSlope(200, 45), dark);
    QCOMPARE(frame.onSlope(200, 35), dark);
    QCOMPARE(frame.onSlope(200, 40), white);
    const double centre = massCentre(window);
    QCOMPARE(frame.onSlope(centre + 3, 40), dark); // the piston between the lines
    QCOMPARE(frame.onSlope(centre + 8, 40), white);
}

void SceneTest::arrowLengthFollowsItsReference_data()
{
    QTest::addColumn<float>("phase");
    QTest::addColumn<double>("direction");
    // At time 0 the driving force is F0 sin(phase): its own reference.
    QTest::newRow("up the slope") << 90.0f << 1.0;
    QTest::newRow("down the slope") << -90.0f << -1.0;
}

void SceneTest::arrowLengthFollowsItsReference()
{
    QFETCH(float, phase);
    QFETCH(double, direction);
    ModelParameters p = NominalParameters();
    p.ForcePhase = phase;
    p.PlaneAngle = 10; // the arrow down the slope stays clear of the spring's support
    MainWindowFixture fixture(p);
    TForm2 &window = fixture.window();
    QTest::mouseClick(window.CheckBox4, Qt::LeftButton, {}, QPoint(5, 9));
    const Frame frame(window);
    const double centre = massCentre(window);
    QCOMPARE(frame.onSlope(centre + direction * 30, 15), red); // shaft beyond the mass
    QCOMPARE(frame.onSlope(centre + direction * 42, 15), red); // head
    QCOMPARE(frame.onSlope(centre + direction * 48, 15), white);
    QCOMPARE(frame.onSlope(centre - direction * 30, 15), white);
}

void SceneTest::arrowWithoutReferenceIsNotDrawn()
{
    // The mass rests: every range is (0, 0), so no vector has a reference.
    ModelParameters p = NominalParameters();
    p.ForceAmplitude = 0;
    MainWindowFixture fixture(p);
    TForm2 &window = fixture.window();
    const Frame plain(window);
    for (QCheckBox *box : { window.CheckBox1, window.CheckBox2, window.CheckBox3 })
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(5, 9));
    const Frame options(window);
    const double centre = massCentre(window);
    for (double u : { 20.0, 40.0, -20.0 })
        QCOMPARE(options.onSlope(centre + u, 15), plain.onSlope(centre + u, 15));
}

void SceneTest::arrowsAtTheFirstSample_data()
{
    QTest::addColumn<ModelParameters>("parameters");
    QTest::addColumn<int>("box"); // 1 ... 4
    QTest::addColumn<QColor>("colour");

    const ModelParameters damped = DampedStart();
    QTest::newRow("velocity") << damped << 1 << blue;
    QTest::newRow("resistance") << damped << 2 << green;
    QTest::newRow("elastic") << damped << 3 << magenta;
    QTest::newRow("driving") << damped << 4 << red;
    ModelParameters p = damped;
    p.Stiffness = -600; // not zero: the arrow is drawn
    QTest::newRow("elastic, negative stiffness") << p << 3 << magenta;
    p = damped;
    p.ForceAmplitude = -12; // its reference is negative too: the arrow turns by the force alone
    QTest::newRow("driving, negative amplitude") << p << 4 << red;
    // At rest in a moving run: no shaft, the head points up the slope.
    QTest::newRow("velocity 0: head only") << NominalParameters() << 1 << blue;
}

// One arrow alone, in its colour, as long as 40 units times its share of
// the reference, its head 5 units beyond.
void SceneTest::arrowsAtTheFirstSample()
{
    QFETCH(ModelParameters, parameters);
    QFETCH(int, box);
    QFETCH(QColor, colour);
    MainWindowFixture fixture(parameters);
    TForm2 &window = fixture.window();
    // Check boxes 1 ... 4 show series 1 ... 4; the driving force's reference is F0.
    const float value = window.Motion.Value(MotionModel::Series(box), 0);
    const SeriesRange range = box < 4 ? window.Motion.SeriesRanges[box] : SeriesRange {};
    const float reference
        = box < 4 ? std::max(std::abs(range.max), std::abs(range.min)) : parameters.ForceAmplitude;
    const float length = 40 * std::abs(value / reference);
    QVERIFY(length == 0 || length > 4);
    const double direction = value < 0 ? -1 : 1;

    QTest::mouseClick(window.findChild<QCheckBox *>(QString("CheckBox%1").arg(box)), Qt::LeftButton,
        {}, QPoint(5, 9));
    const Frame frame(window);
    const double centre = massCentre(window);
    QCOMPARE(frame.onSlope(centre + direction * std::max(length / 2, 2.0f), 15), colour);
    QVERIFY(frame.onSlope(centre + direction * (length + 8), 15) != colour);
}

void SceneTest::springRunsFromSupportToMass()
{
    MainWindowFixture fixture;
    TForm2 &window = fixture.window();
    const Frame frame(window);
    // The zigzag between its heights 5 and 15 crosses the middle once a turn.
    int crossings = 0;
    bool onLine = false;
    for (double u = 12; u < massCentre(window) - 12; u += 0.25) {
        const bool dark = frame.onSlope(u, 10) == QColor(51, 51, 51);
        crossings += dark && !onLine;
        onLine = dark;
    }
    QVERIFY2(crossings >= 15, qPrintable(QString::number(crossings)));
}

// The scene's menu offers the export before any motion exists.
void SceneTest::nothingToExportAfterACancelledComputation()
{
    const ComputationCanceller cancel;
    MainWindowFixture fixture(LongComputation());
    QVERIFY(cancel.Cancelled());
    QCOMPARE(ExportedCsv(*fixture.window().SceneMenu), QByteArray());
    QCOMPARE(fixture.boxes.boxes.size(), 1);
    QCOMPARE(fixture.boxes.boxes.first().text, QStringLiteral("Движение не рассчитано"));
}

QTEST_MAIN(SceneTest)
#include "tst_scene.moc"
