#include "forms/graph.h"

#include "forms/choice.h"
#include "forms/field.h"
#include "forms/input1.h"
#include "forms/timegraphplot.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"
#include "services/numberstyles.h"
#include "widgets/chartpalette.h"
#include "widgets/dialogkeys.h"
#include "widgets/formgeometry.h"
#include "widgets/paintbox.h"
#include "widgets/radiogroup.h"

#include <QCheckBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTimer>

#include <cmath>

TForm8 *Form8 = nullptr;

namespace {

constexpr int DurationDigits = 6;

// A label sized to the caption it is given later.
QLabel *label(QWidget *parent, const char *name, int left, int top, const QString &family,
    int pixelSize, bool bold = false)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setFont(PixelFont(family, pixelSize, bold));
    label->move(left, top);
    label->adjustSize();
    return label;
}

QFrame *bevel(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *frame = PlaceControl(new QFrame(parent), name, left, top, width, height);
    frame->setFrameShape(QFrame::Box);
    frame->setFrameShadow(QFrame::Sunken);
    return frame;
}

std::span<const float> series(MotionModel::Series which)
{
    const MotionModel &motion = Form2->Motion;
    if (!motion.HasResult())
        return {};
    return { motion.ResultSeries[which].get(), std::size_t(motion.ReadableSampleCount()) };
}

template <auto Member> constexpr LocaleKey graphsKey(const char *name)
{
    return laterKey(textKey<TForm8, &TForm8::Texts, Member>(name));
}

constexpr LocaleKey GraphsKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    { "FormCaption", u"Графики", Sets::WindowCaption },
    { "CheckBox1", u"Маркеры" },
    { "Label1", u"Время t " },
    { "Label2", u"Скорость" },
    { "Label4", u"t, сек" },
    { "Label3", u"Координата" },
    { "Button1", u"Закрыть" },
    { "Button2", u"Выбрать графики" },
    { "RadioGroup1", u"Масштаб" },
    { "RadioButton1", u"Автоматически", Sets::RadioItem },
    { "RadioButton2", u"Фиксированный", Sets::RadioItem },
    accessibleNameKey("PlotName", "PaintBox1", u"Графики координаты и скорости"),
    graphsKey<&TimeGraphTexts::PlotTime>("PlotTime"),
    graphsKey<&TimeGraphTexts::PlotCoordinate>("PlotCoordinate"),
    graphsKey<&TimeGraphTexts::PlotVelocity>("PlotVelocity"),
    graphsKey<&TimeGraphTexts::PlotNoCurves>("PlotNoCurves"),
    graphsKey<&TimeGraphTexts::NoDuration>("NoDuration"),
    graphsKey<&TimeGraphTexts::DurationTooLong>("DurationTooLong"),
};

constexpr SectionTable GraphsCaptions { .keys = GraphsKeys,
    .rightAligned = "Label2",
    .radioGroup = "RadioGroup1",
    .menuKeys = PictureMenuKeys };

} // namespace

TForm8::TForm8(QWidget *parent)
    : QDialog(parent)
{
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceWindow(*this, 187, 195, 700, 473, WindowSizing::Fixed);
    CreateControls();
    ApplyBuiltInCaptions(*this, GraphsCaptions);
    RunLocalisationStep(*this, LocalisationSection::Graphs);
}

void TForm8::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, GraphsCaptions, entries);
}

void TForm8::CreateControls()
{
    Bevel4 = bevel(this, "Bevel4", 0, 0, 700, 473);
    const QString serif = QStringLiteral("Times New Roman");
    Label3 = label(this, "Label3", 9, 8, serif, 19);
    Label2 = label(this, "Label2", 601, 8, serif, 19);
    Bevel1 = bevel(this, "Bevel1", 9, 32, 677, 369);
    PaintBox1 = PlaceControl(new TPaintBox(this), "PaintBox1", 13, 36, 669, 361);
    PaintBox1->OnPaint = [this](QPainter &canvas, const ChartColours &colours) {
        PaintBox1Paint(canvas, colours);
    };
    Label4 = label(this, "Label4", 641, 384, serif, 15, true);
    QPalette blue = Label4->palette();
    blue.setColor(QPalette::WindowText, ChartPalette::TimeCaption);
    Label4->setPalette(blue);

    Bevel3 = bevel(this, "Bevel3", 9, 413, 157, 33);
    MaskEdit1 = PlaceControl(new QLineEdit(this), "MaskEdit1", 21, 417, 65, 21);
    MaskEdit1->setMaxLength(DurationDigits);
    // Digits only, unfilled places as leading blanks.
    MaskEdit1->setValidator(new QRegularExpressionValidator(
        QRegularExpression(QStringLiteral("^ *[0-9]*$")), MaskEdit1));
    MaskEdit1->setText(QString(DurationDigits, QLatin1Char(' ')));
    MaskEdit1->installEventFilter(this);
    Label1 = label(this, "Label1", 97, 422, QStringLiteral("MS Sans Serif"), 15, true);
    Label1->setBuddy(MaskEdit1); // which names the time field

    RadioGroup1
        = PlaceControl(new TRadioGroup(QString(), 2, this), "RadioGroup1", 201, 408, 241, 53);
    connect(RadioGroup1, &TRadioGroup::Clicked, this, &TForm8::RadioGroup1Click);
    CheckBox1 = PlaceControl(new QCheckBox(this), "CheckBox1", 456, 412, 120, 17);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm8::CheckBox1Click);
    Button2 = PlaceControl(new QPushButton(this), "Button2", 593, 408, 97, 25);
    connect(Button2, &QPushButton::clicked, this, &TForm8::Button2Click);
    Button1 = PlaceControl(new QPushButton(this), "Button1", 593, 436, 97, 25);
    connect(Button1, &QPushButton::clicked, this, [this] { done(1); });

    WithoutDefaultAndCancel(*this);

    setTabOrder(Button1, Button2);
    setTabOrder(Button2, CheckBox1);
    setTabOrder(CheckBox1, MaskEdit1);
    setTabOrder(MaskEdit1, RadioGroup1);

    PaintBox1Menu = new PictureMenu(*PaintBox1, *this);
    PaintBox1Menu->AddOutputEntries(QStringLiteral("mirvane-graphs"), MainWindowSeries);
    PaintBox1Menu->SetHandout([this] {
        Handout handout = ParameterHandout(*this, Form2->ModelParameters);
        // The curves' names and the time axis' caption lie outside the canvas.
        handout.chart
            = Bevel1->geometry() | Label3->geometry() | Label2->geometry() | Label4->geometry();
        // In grey the names above the chart tell no line from the other.
        const ChartColours &paper = ChartColours::Paper();
        if (Form9->CheckBox1->isChecked())
            handout.curves.append({ paper.Coordinate, Label3->text() });
        if (Form9->CheckBox2->isChecked())
            handout.curves.append({ paper.Velocity, Label2->text() });
        return handout;
    });
    setTabOrder(RadioGroup1, PaintBox1); // after the designed order
}

void TForm8::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    FormShow();
    // Activation follows the showing, once per opening.
    QTimer::singleShot(0, this, [this] {
        if (isVisible())
            FormActivate();
    });
}

bool TForm8::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == MaskEdit1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            MaskEdit1KeyDown();
            return true; // no default button may take it
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TForm8::FormShow()
{
    WriteDurationLimit();
    SetBoundsFromScale();
}

void TForm8::FormActivate()
{
    Form9->exec();
    PaintBox1->update();
}

void TForm8::Button2Click()
{
    FormActivate();
}

void TForm8::CheckBox1Click()
{
    PaintBox1->update();
}

void TForm8::RadioGroup1Click()
{
    SetBoundsFromScale();
}

void TForm8::SetBoundsFromScale()
{
    if (RadioGroup1->ItemIndex() == 0) {
        const auto &ranges = Form2->Motion.SeriesRanges;
        const SeriesRange &coordinate = ranges[MotionModel::Coordinate];
        const SeriesRange &velocity = ranges[MotionModel::Velocity];
        Bounds = { coordinate.min, coordinate.max, velocity.min, velocity.max };
    } else {
        Bounds = { -1, 1, -10, 10 };
    }
    PaintBox1->update();
}

void TForm8::MaskEdit1KeyDown()
{
    const std::optional<qint64> duration = FieldDuration();
    if (!duration) {
        ShowMessageBox(Texts.NoDuration, QStringLiteral(" "));
        WriteDurationLimit();
        return;
    }
    if (*duration > DurationLimit()) {
        ShowMessageBox(Texts.DurationTooLong, QStringLiteral(" "));
        WriteDurationLimit();
        return;
    }
    PaintBox1->update();
}

qint64 TForm8::DurationLimit() const
{
    // The whole seconds within the stop time, as many as the field can hold:
    // a duration beyond the stop time is refused.
    const double stopTime = Form2->ModelParameters.StopTime;
    if (!(stopTime > 0))
        return 0;
    return qint64(std::min(std::floor(stopTime), 999999.0));
}

void TForm8::WriteDurationLimit()
{
    MaskEdit1->setText(QString::number(DurationLimit()).rightJustified(DurationDigits));
}

std::optional<qint64> TForm8::FieldDuration() const
{
    bool ok = false;
    const qint64 seconds = MaskEdit1->text().trimmed().toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return seconds;
}

void TForm8::PaintBox1Paint(QPainter &canvas, const ChartColours &colours)
{
    TimeGraphPlot plot;
    plot.Duration = double(FieldDuration().value_or(0));
    plot.PrintStep = Form2->ModelParameters.PrintStep;
    plot.Markers = CheckBox1->isChecked();
    plot.LabelBackground = colours.SurfaceOn(palette());
    plot.Colours = colours;
    const int H = PaintBox1->height();
    const int W = PaintBox1->width();
    const auto [coordinateLower, coordinateUpper, velocityLower, velocityUpper] = Bounds;
    plot.DrawAxes(canvas, coordinateLower, coordinateUpper, velocityLower, velocityUpper, H, W);
    DescribePlot(plot.Duration);
    if (Form9->CheckBox1->isChecked())
        plot.DrawCurve(canvas, series(MotionModel::Coordinate), coordinateLower, coordinateUpper, H,
            W, QStringLiteral("1"));
    if (Form9->CheckBox2->isChecked())
        plot.DrawCurve(canvas, series(MotionModel::Velocity), velocityLower, velocityUpper, H, W,
            QStringLiteral("2"));
}

void TForm8::DescribePlot(double duration)
{
    QStringList parts { Texts.PlotTime.arg(GeneralStyle(duration, 5, 0)) };
    if (Form9->CheckBox1->isChecked())
        parts.append(
            Texts.PlotCoordinate.arg(NumberStyle(Bounds[0], 4, 2), NumberStyle(Bounds[1], 4, 2)));
    if (Form9->CheckBox2->isChecked())
        parts.append(
            Texts.PlotVelocity.arg(NumberStyle(Bounds[2], 3, 2), NumberStyle(Bounds[3], 3, 2)));
    if (parts.size() == 1)
        parts.append(Texts.PlotNoCurves);
    const QString description = parts.join(QStringLiteral("; "));
    if (PaintBox1->accessibleDescription() != description)
        PaintBox1->setAccessibleDescription(description);
}
