#include "forms/field.h"

#include "forms/computationprogressdialog.h"
#include "forms/graph.h"
#include "forms/input1.h"
#include "forms/phaseportrait.h"
#include "forms/scene.h"
#include "glpanel/openglpanel.h"
#include "model/seriescsv.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"
#include "services/numberstyles.h"
#include "services/parameterfilelocation.h"
#include "widgets/formgeometry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QHideEvent>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QShowEvent>
#include <QSlider>
#include <QTimer>
#include <QToolButton>
#include <QWindow>

#include <utility>

namespace {

template <auto... Members> constexpr LocaleKey mainWindowKey(const char *name)
{
    return laterKey(textKey<TForm2, Members...>(name));
}

// The prefix of the readout in slot, which the readout shows before its value.
template <std::size_t Slot> constexpr LocaleKey readoutKey(const char *name)
{
    return textKey<TForm2, &TForm2::ReadoutPrefixes, Slot>(name);
}

template <auto Member> constexpr LocaleKey messageKey(const char *name)
{
    return mainWindowKey<&TForm2::Messages, Member>(name);
}

constexpr LocaleKey MainWindowKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    { "FormCaption", u"Визуализация", Sets::WindowCaption },
    { "SpeedButton1", u"Старт/стоп" },
    { "Button3", u"С начала" },
    { "Button1", u"Графики" },
    { "Button2", u"Параметры" },
    { "Button4", u"Фазовый портрет" },
    { "GroupBox2", u"Пошаговое воспроизведение" },
    { "BitBtn1", u"Вперед" },
    { "BitBtn2", u"Назад" },
    { "Label7", u"Скорость воспроизведения" },
    readoutKey<0>("Label1"),
    readoutKey<1>("Label4"),
    readoutKey<2>("Label5"),
    readoutKey<3>("Label6"),
    readoutKey<4>("Label8"),
    readoutKey<5>("Label9"),
    readoutKey<6>("Label2"),
    { "GroupBox1", u"Опции" },
    { "CheckBox3", u"Сила упругости" },
    { "CheckBox4", u"Вынуждающая сила" },
    { "CheckBox1", u"Вектор скорости" },
    { "CheckBox2", u"Сила сопротивления" },
    // The scene's menu entries that open the windows beyond the design.
    laterKey({ "MenuResonance", u"Резонансная кривая" }),
    laterKey({ "MenuEnergy", u"Энергия" }),
    laterKey({ "MenuExplore", u"Исследование…" }),
    accessibleNameKey("SceneName", "OpenGLPanel1", u"Сцена: груз на наклонной плоскости"),
    // The button in the scene's corner that opens its menu.
    laterKey({ "SpeedButton2", u"Меню" }),
    accessibleNameKey("SceneMenuName", "SpeedButton2", u"Меню сцены"),
    controlKey("SceneMenuHint", "SpeedButton2", Sets::ToolTip,
        u"Резонанс, энергия и другие окна, печать, сохранение"),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Caption>("ProgressCaption"),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Step>("ProgressStep"),
    mainWindowKey<&TForm2::ProgressTexts, &ComputationProgressTexts::Cancel>("ProgressCancel"),
    messageKey<&MotionMessageTexts::TooManySteps>("TooManySteps"),
    messageKey<&MotionMessageTexts::TooManySamples>("TooManySamples"),
    messageKey<&MotionMessageTexts::TooManySampledSteps>("TooManySampledSteps"),
    messageKey<&MotionMessageTexts::OutOfMemory>("OutOfMemory"),
    messageKey<&MotionMessageTexts::PrintStepNotPositive>("PrintStepNotPositive"),
    messageKey<&MotionMessageTexts::TimeStepNotPositive>("TimeStepNotPositive"),
    messageKey<&MotionMessageTexts::TimesNotOfStates>("TimesNotOfStates"),
    messageKey<&MotionMessageTexts::NotNumbersFromTime>("NotNumbersFromTime"),
    messageKey<&MotionMessageTexts::NotNumbersInOrigin>("NotNumbersInOrigin"),
    messageKey<&MotionMessageTexts::DecimalComma>("DecimalComma"),
    messageKey<&MotionMessageTexts::EmptyFile>("EmptyFile"),
    messageKey<&MotionMessageTexts::MissingLine>("MissingLine"),
    messageKey<&MotionMessageTexts::StoppedOnLine>("StoppedOnLine"),
};

constexpr SectionTable MainWindowCaptions { .keys = MainWindowKeys, .menuKeys = PictureMenuKeys };

} // namespace

TForm2 *Form2 = nullptr;

std::optional<CsvTable> MainWindowSeries()
{
    if (!Form2 || !Form2->Motion.HasResult())
        return std::nullopt;
    return SeriesTable(Form2->Motion, Form2->ModelParameters.PrintStep);
}

TForm2::TForm2(QWidget *parent)
    : QWidget(parent)
    , ReadoutPrefixes { QStringLiteral("Время, сек"), QStringLiteral("Координата Х, м"),
        QStringLiteral("Скорость V, м/с"), QStringLiteral("Сила сопротивления Fc, H"),
        QStringLiteral("Сила упругости Fу, H"), QStringLiteral("Вынуждающая сила Fв, H"),
        QStringLiteral("Положение начала с.к., м") }
{
    PlaceWindow(*this, 60, 113, 807, 467, WindowSizing::Sizeable);
    CreateControls();
    ApplyBuiltInCaptions(*this, MainWindowCaptions);
    RunLocalisationStep(*this, LocalisationSection::MainWindow);
}

TForm2::~TForm2() = default;

void TForm2::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, MainWindowCaptions, entries);
    const QVariant charset = property(FontCharsetProperty);
    if (charset.isValid())
        OpenGLPanel1->Font2D_Type()->setCharset(charset.toInt());
}

void TForm2::CreateControls()
{
    Bevel1 = PlaceControl(new QFrame(this), "Bevel1", 4, 8, 545, 453);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    OpenGLPanel1 = PlaceControl(new TOpenGLPanel(this), "OpenGLPanel1", 8, 12, 533, 441);
    OpenGLPanel1->Font2D_Enabled = true;
    OpenGLPanel1->Font2D_Type()->setFamily(QStringLiteral("Arial"));
    OpenGLPanel1->OnPreInit = [this](TOpenGLPanel *panel) {
        // Text keeps its size on a high-density screen.
        panel->Font2D_Type()->setPixelSize(qRound(16 * devicePixelRatioF()));
    };
    OpenGLPanel1->OnInit = [this](TOpenGLPanel *) { OpenGLPanel1Init(); };
    OpenGLPanel1->OnResize = [this](TOpenGLPanel *) { OpenGLPanel1Resize(); };
    OpenGLPanel1->OnPaint = [this](TOpenGLPanel *) { OpenGLPanel1Paint(); };

    constexpr int column = 560;
    constexpr int columnWidth = 240;

    SpeedButton1 = PlaceControl(new QToolButton(this), "SpeedButton1", column, 12, 81, 25);
    SpeedButton1->setCheckable(true);
    // Also a toggle from the keyboard or an assistive tool starts and stops.
    connect(SpeedButton1, &QToolButton::toggled, this, &TForm2::SpeedButton1Click);

    Button3 = PlaceControl(new QPushButton(this), "Button3", column + 91, 12, 81, 25);
    connect(Button3, &QPushButton::clicked, this, &TForm2::Button3Click);

    GroupBox2 = PlaceControl(new QGroupBox(this), "GroupBox2", column, 44, columnWidth, 56);
    BitBtn2 = PlaceControl(new QPushButton(QIcon(QStringLiteral(":/forms/icons/arrow-left.png")),
                               QString(), GroupBox2),
        "BitBtn2", 10, 22, 105, 25);
    BitBtn1 = PlaceControl(new QPushButton(QIcon(QStringLiteral(":/forms/icons/arrow-right.png")),
                               QString(), GroupBox2),
        "BitBtn1", 125, 22, 105, 25);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    connect(BitBtn2, &QPushButton::clicked, this, &TForm2::BitBtn2Click);

    Label7 = PlaceControl(new QLabel(this), "Label7", column, 106, columnWidth, 16);
    TrackBar3 = PlaceControl(
        new QSlider(Qt::Horizontal, this), "TrackBar3", column, 124, columnWidth, 30);
    Label7->setBuddy(TrackBar3); // which names the track bar
    TrackBar3->setRange(0, 90);
    TrackBar3->setTickInterval(10);
    TrackBar3->setTickPosition(QSlider::TicksBelow);
    TrackBar3->setPageStep(10);
    TrackBar3->setValue(90);
    connect(TrackBar3, &QSlider::valueChanged, this, &TForm2::TrackBar3Change);

    GroupBox1 = PlaceControl(new QGroupBox(this), "GroupBox1", column, 160, columnWidth, 104);
    const std::array<std::pair<QCheckBox **, const char *>, 4> checkBoxes { {
        { &CheckBox1, "CheckBox1" },
        { &CheckBox2, "CheckBox2" },
        { &CheckBox3, "CheckBox3" },
        { &CheckBox4, "CheckBox4" },
    } };
    int top = 20;
    for (const auto &[checkBox, name] : checkBoxes) {
        *checkBox = PlaceControl(new QCheckBox(GroupBox1), name, 10, top, columnWidth - 20, 18);
        connect(*checkBox, &QCheckBox::toggled, this, &TForm2::CheckBox1Click);
        top += 20;
    }

    const std::array<const char *, 7> readoutNames { "Label1", "Label4", "Label5", "Label6",
        "Label8", "Label9", "Label2" };
    for (int i = 0; i < 7; ++i) {
        Readouts[i] = PlaceControl(
            new QLabel(this), readoutNames[i], column, 272 + 18 * i, columnWidth, 16);
        Readouts[i]->setTextFormat(Qt::PlainText); // a prefix from the caption file is no markup
    }

    Button2 = PlaceControl(new QPushButton(this), "Button2", column, 402, 115, 25);
    Button1 = PlaceControl(new QPushButton(this), "Button1", column + 125, 402, 115, 25);
    Button4 = PlaceControl(new QPushButton(this), "Button4", column, 434, columnWidth, 25);
    connect(Button2, &QPushButton::clicked, this, &TForm2::Button2Click);
    connect(Button1, &QPushButton::clicked, this, &TForm2::Button1Click);
    connect(Button4, &QPushButton::clicked, this, &TForm2::Button4Click);

    Timer1 = new QTimer(this);
    Timer1->setInterval(100);
    connect(Timer1, &QTimer::timeout, this, &TForm2::Timer1Timer);

    CreateSceneMenu();
    CreateSceneMenuButton();
}

void TForm2::CreateSceneMenu()
{
    SceneMenu = new PictureMenu(*OpenGLPanel1, *this);
    QAction *resonance = SceneMenu->AddEntry(
        QString(), QKeySequence(Qt::CTRL | Qt::Key_R), [this] { emit ResonanceRequested(); });
    QAction *energy = SceneMenu->AddEntry(
        QString(), QKeySequence(Qt::CTRL | Qt::Key_E), [this] { emit EnergyRequested(); });
    QAction *explore = SceneMenu->AddEntry(
        QString(), QKeySequence(Qt::CTRL | Qt::Key_I), [this] { emit ExploreRequested(); });
    // Named for the caption table's keys, which caption them.
    resonance->setObjectName(QStringLiteral("MenuResonance"));
    energy->setObjectName(QStringLiteral("MenuEnergy"));
    explore->setObjectName(QStringLiteral("MenuExplore"));
    SceneMenu->AddOutputEntries(QStringLiteral("mirvane-scene"), MainWindowSeries);
}

void TForm2::CreateSceneMenuButton()
{
    constexpr int width = 64;
    const QRect scene = OpenGLPanel1->geometry();
    SpeedButton2 = PlaceControl(new QToolButton(this), "SpeedButton2", scene.right() - 3 - width,
        scene.top() + 4, width, 22);
    // Only a window of its own shows above the scene's native one; the other
    // controls stay drawn in the main window's, as Qt draws them best.
    QApplication::setAttribute(Qt::AA_DontCreateNativeWidgetSiblings);
    SpeedButton2->setAttribute(Qt::WA_NativeWindow);
    // The corners round off into the scene's white, not into black.
    QPalette corners = SpeedButton2->palette();
    corners.setColor(QPalette::Window, Qt::white);
    SpeedButton2->setPalette(corners);
    SpeedButton2->setAutoFillBackground(true);
    SpeedButton2->setPopupMode(QToolButton::InstantPopup);
    SpeedButton2->setMenu(SceneMenu->Menu());
    OpenGLPanel1->PanelWindow()->installEventFilter(this); // keeps the button on top
}

bool TForm2::eventFilter(QObject *watched, QEvent *event)
{
    // The scene's window is exposed when it comes up, above the button, and
    // when taking its picture raises it over the button. Queued: back on top
    // once the picture, which must not show the button, is taken.
    if (watched == OpenGLPanel1->PanelWindow() && event->type() == QEvent::Expose)
        QMetaObject::invokeMethod(this, &TForm2::RaiseSceneMenuButton, Qt::QueuedConnection);
    return QWidget::eventFilter(watched, event);
}

void TForm2::RaiseSceneMenuButton()
{
    // The window itself: QWidget::raise leaves alone a widget that is its
    // parent's last child, whatever the windows' order.
    if (QWindow *window = SpeedButton2->windowHandle())
        window->raise();
}

bool TForm2::ReadParameterFile()
{
    const std::string path = ParameterFilePath();
    ParameterFileReading reading;
    if (!::ReadParameterFile(path, ModelParameters, &reading)) {
        ReportParameterFileFailure();
        return false;
    }
    // The values read are used, but the user should know that some are not
    // what the file meant.
    if (reading.HasProblem())
        m_pendingWarnings.append(
            ReadingWarningMessage(Messages, reading, QString::fromLocal8Bit(path)));
    return true;
}

void TForm2::AllocateSeries()
{
    Motion.AllocateSeries(ModelParameters);
}

void TForm2::FreeSeries()
{
    Motion.FreeSeries();
}

void TForm2::ComputeMotion()
{
    ComputationProgressDialog progress(this, ProgressTexts);
    Motion.ComputeMotion(ModelParameters, std::ref(progress));
}

bool TForm2::ComputeFromParameterFile()
{
    if (!ReadParameterFile())
        return false;
    // Also when the computation is refused: the readouts and the scene then
    // show that there is nothing to play instead of the previous result.
    // The scene's paint is asked for, not forced: at the first showing the
    // window maps first and paints on its exposure.
    const auto refresh = qScopeGuard([this] {
        UpdateReadouts();
        OpenGLPanel1->Invalidate();
        ShowPendingWarnings();
    });
    try {
        AllocateSeries();
        ComputeMotion();
    } catch (const ComputationTooLarge &refused) {
        ShowMessageBox(
            RefusalMessage(Messages, refused.Refusal()), QString(), MessageBoxKind::Error);
        return true;
    } catch (const OutOfMemory &) {
        ShowMessageBox(Messages.OutOfMemory, QString(), MessageBoxKind::Error);
        return true;
    }
    // A still scene or readouts of NAN would say nothing on what went wrong.
    if (const MotionWarning warning = Motion.Warning(ModelParameters); warning.Any())
        m_pendingWarnings.append(MotionWarningMessage(Messages, warning));
    return true;
}

void TForm2::ShowPendingWarnings()
{
    if (m_pendingWarnings.isEmpty())
        return;
    // Once the window is up, one after the other in the order they arose: a
    // box opened later would cover the cause with its consequence.
    QTimer::singleShot(0, this, [texts = std::exchange(m_pendingWarnings, {})] {
        for (const QString &text : texts)
            ShowMessageBox(text);
    });
}

void TForm2::UpdateReadouts()
{
    // A screen reader reads the scene as the time, coordinate and velocity.
    const auto describeScene = qScopeGuard([this] {
        OpenGLPanel1->setAccessibleDescription(
            QStringList { Readouts[0]->text(), Readouts[1]->text(), Readouts[2]->text() }.join(
                QStringLiteral("; ")));
    });
    if (!Motion.HasResult()) {
        for (int i = 0; i < 7; ++i)
            Readouts[i]->setText(ReadoutPrefixes[i]);
        return;
    }
    const std::array<double, 7> values { PlaybackIndex * double(ModelParameters.PrintStep),
        Motion.Value(MotionModel::Coordinate, PlaybackIndex),
        Motion.Value(MotionModel::Velocity, PlaybackIndex),
        Motion.Value(MotionModel::ResistanceForce, PlaybackIndex),
        Motion.Value(MotionModel::ElasticForce, PlaybackIndex),
        Motion.Value(MotionModel::DrivingForce, PlaybackIndex), Motion.OriginPosition };
    for (int i = 0; i < 7; ++i)
        Readouts[i]->setText(
            ReadoutPrefixes[i] + QLatin1Char(' ') + NumberStyle(values[i], 5, i == 0 ? 3 : 2));
}

void TForm2::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // Restoring a minimised window is a spontaneous show, not a new showing.
    if (!event->spontaneous())
        FormShow();
}

void TForm2::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TForm2::FormShow()
{
    // First: a refused computation must not leave the form's interval behind.
    TrackBar3Change();
    SpeedButton1->setChecked(false);
    ComputeFromParameterFile();
}

void TForm2::FormHide()
{
    StopPlayback();
}

void TForm2::StopPlayback()
{
    SpeedButton1->setChecked(false);
    Timer1->stop();
}

void TForm2::SpeedButton1Click()
{
    if (SpeedButton1->isChecked())
        Timer1->start();
    else
        StopPlayback();
}

void TForm2::Timer1Timer()
{
    if (PlaybackIndex < PlaybackEnd()) {
        ++PlaybackIndex;
        UpdateReadouts();
        RepaintScene();
    } else {
        Timer1->stop(); // the toggle stays pressed: playback has ended
    }
}

void TForm2::BitBtn1Click()
{
    StopPlayback();
    if (PlaybackIndex < PlaybackEnd())
        ++PlaybackIndex;
    UpdateReadouts();
    RepaintScene();
}

void TForm2::BitBtn2Click()
{
    StopPlayback();
    if (PlaybackIndex > 0)
        --PlaybackIndex;
    UpdateReadouts();
    RepaintScene();
}

void TForm2::Button3Click()
{
    StopPlayback();
    PlaybackIndex = 0;
    UpdateReadouts();
    RepaintScene();
}

void TForm2::TrackBar3Change()
{
    Timer1->setInterval(100 - TrackBar3->value());
}

void TForm2::CheckBox1Click()
{
    RepaintScene();
}

void TForm2::Button1Click()
{
    Form8->exec();
}

void TForm2::Button2Click()
{
    if (Form3->exec() == 1)
        ReloadParameterFile();
}

void TForm2::ReloadParameterFile()
{
    // No tick may read the series while they are made again.
    StopPlayback();
    PlaybackIndex = 0;
    FreeSeries();
    if (!ComputeFromParameterFile())
        return;
    Button3Click();
    emit ParameterFileReloaded();
}

void TForm2::Button4Click()
{
    Form5->exec();
}

void TForm2::RepaintScene()
{
    OpenGLPanel1->Repaint();
}

int TForm2::PlaybackEnd() const
{
    return Motion.PlayableLastIndex();
}

void TForm2::OpenGLPanel1Init()
{
    OpenGLPanel1Resize();
    glClearColor(1, 1, 1, 1);
}

void TForm2::OpenGLPanel1Resize()
{
    SceneWidth = SetUpSceneView(OpenGLPanel1->PixelWidth(), OpenGLPanel1->PixelHeight());
}

void TForm2::OpenGLPanel1Paint()
{
    if (!Motion.HasResult()) {
        glClear(GL_COLOR_BUFFER_BIT);
        return;
    }
    const int i = PlaybackIndex;
    SceneFrame frame;
    frame.PlaneAngle = ModelParameters.PlaneAngle;
    frame.Damping = ModelParameters.Damping;
    frame.Stiffness = ModelParameters.Stiffness;
    frame.ForceAmplitude = ModelParameters.ForceAmplitude;
    frame.OriginPosition = Motion.OriginPosition;
    frame.SceneScale = Motion.SceneScale;
    frame.Coordinate = Motion.Value(MotionModel::Coordinate, i);
    frame.Velocity = Motion.Value(MotionModel::Velocity, i);
    frame.ResistanceForce = Motion.Value(MotionModel::ResistanceForce, i);
    frame.ElasticForce = Motion.Value(MotionModel::ElasticForce, i);
    frame.DrivingForce = Motion.Value(MotionModel::DrivingForce, i);
    frame.VelocityRange = Motion.SeriesRanges[MotionModel::Velocity];
    frame.ResistanceRange = Motion.SeriesRanges[MotionModel::ResistanceForce];
    frame.ElasticRange = Motion.SeriesRanges[MotionModel::ElasticForce];
    frame.ShowVelocity = CheckBox1->isChecked();
    frame.ShowResistance = CheckBox2->isChecked();
    frame.ShowElastic = CheckBox3->isChecked();
    frame.ShowDriving = CheckBox4->isChecked();
    frame.LineScale = static_cast<float>(OpenGLPanel1->devicePixelRatioF());
    DrawScene(frame, *OpenGLPanel1);
}
