#include "forms/phaseportrait.h"

#include "forms/field.h"
#include "forms/input1.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/numberstyles.h"
#include "widgets/chartpalette.h"
#include "widgets/dialogkeys.h"
#include "widgets/formgeometry.h"
#include "widgets/paintbox.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPolygon>
#include <QPushButton>

#include <algorithm>
#include <cmath>

namespace {

constexpr LocaleKey PhasePortraitKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    { "FormCaption", u"Фазовый портрет", Sets::WindowCaption },
    { "Label1", u"Фазовый портрет x - x с точкой" },
    { "Button3", u"Закрыть" },
    accessibleNameKey("PlotName", "PaintBox1", u"Фазовый портрет: скорость от координаты"),
    laterKey(textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::NoMotion>("PlotNoMotion")),
    laterKey(textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::Ranges>("PlotRanges")),
    laterKey(
        textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::CoordinateAxis>("CoordinateAxis")),
    laterKey(textKey<TForm5, &TForm5::Texts, &PhasePortraitTexts::VelocityAxis>("VelocityAxis")),
};

constexpr SectionTable PhasePortraitCaptions { .keys = PhasePortraitKeys,
    .menuKeys = PictureMenuKeys };

// The axes of a portrait on paper, where no window around it tells its scale:
// a frame at the ranges' bounds and the axes crossing at the origin, or at the
// edge nearest to it where a range leaves it out.
class PortraitAxes
{
public:
    PortraitAxes(QRect frame, const SeriesRange &coordinate, const SeriesRange &velocity)
        : m_frame(frame)
        , m_coordinate(coordinate)
        , m_velocity(velocity)
    {
        const auto share = [](double value, const SeriesRange &range) {
            return std::clamp((value - range.min) / (double(range.max) - range.min), 0.0, 1.0);
        };
        m_crossing = QPoint(frame.left() + ToPixel(share(0, coordinate) * (frame.width() - 1)),
            frame.bottom() - ToPixel(share(0, velocity) * (frame.height() - 1)));
    }

    // Under the curve.
    void DrawLines(QPainter &canvas, const QColor &colour) const
    {
        canvas.setPen(QPen(colour, 1));
        canvas.setBrush(Qt::NoBrush);
        canvas.drawRect(m_frame.adjusted(0, 0, -1, -1));
        canvas.drawLine(m_frame.left(), m_crossing.y(), m_frame.right(), m_crossing.y());
        canvas.drawLine(m_crossing.x(), m_frame.top(), m_crossing.x(), m_frame.bottom());
    }

    // Over the curve, each on a patch of surface: the bounds at the axes'
    // ends, the units at their positive ends.
    void DrawLabels(QPainter &canvas, const PhasePortraitTexts &texts, const QColor &colour,
        const QColor &surface) const
    {
        constexpr int Gap = 3;
        const int left = m_frame.left() + Gap, right = m_frame.right() - Gap;
        const int top = m_frame.top() + Gap, bottom = m_frame.bottom() - Gap;
        const int x = m_crossing.x(), y = m_crossing.y();
        canvas.setPen(colour);
        const auto label = [&](QPoint corner, Qt::Alignment side, const QString &text) {
            QRect box = canvas.fontMetrics().boundingRect(text).adjusted(-1, 0, 1, 0);
            box.moveTo(side & Qt::AlignRight ? corner.x() - box.width() : corner.x(),
                side & Qt::AlignBottom ? corner.y() - box.height() : corner.y());
            // Within the frame, however near its edge the axes run.
            box.moveTo(std::clamp(box.left(), left, std::max(left, right - box.width())),
                std::clamp(box.top(), top, std::max(top, bottom - box.height())));
            canvas.fillRect(box, surface);
            canvas.drawText(box, Qt::AlignCenter, text);
        };
        label({ left, y + Gap }, Qt::AlignLeft | Qt::AlignTop, NumberStyle(m_coordinate.min, 4, 2));
        label(
            { right, y + Gap }, Qt::AlignRight | Qt::AlignTop, NumberStyle(m_coordinate.max, 4, 2));
        label({ right, y - Gap }, Qt::AlignRight | Qt::AlignBottom, texts.CoordinateAxis);
        label({ x - Gap, top }, Qt::AlignRight | Qt::AlignTop, NumberStyle(m_velocity.max, 3, 2));
        label({ x - Gap, bottom }, Qt::AlignRight | Qt::AlignBottom,
            NumberStyle(m_velocity.min, 3, 2));
        label({ x + Gap, top }, Qt::AlignLeft | Qt::AlignTop, texts.VelocityAxis);
    }

private:
    QRect m_frame;
    SeriesRange m_coordinate;
    SeriesRange m_velocity;
    QPoint m_crossing;
};

} // namespace

TForm5 *Form5 = nullptr;

TForm5::TForm5(QWidget *parent)
    : QDialog(parent)
{
    setFont(PixelFont(QStringLiteral("MS Sans Serif"), 11));
    PlaceWindow(*this, 86, 87, 621, 473, WindowSizing::Fixed);

    Bevel1 = PlaceControl(new QFrame(this), "Bevel1", 0, 0, 621, 473);
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Raised);
    Panel1 = PlaceControl(new QFrame(this), "Panel1", 8, 8, 601, 417);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2 = PlaceControl(new QFrame(Panel1), "Panel2", 8, 8, 585, 401);
    Panel2->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel2->setBackgroundRole(QPalette::Button); // the portrait's background
    Panel2->setAutoFillBackground(true);
    PaintBox1 = PlaceControl(new TPaintBox(Panel2), "PaintBox1", 8, 8, 569, 385);
    PaintBox1->OnPaint = [this](QPainter &canvas, const ChartColours &colours) {
        PaintBox1Paint(canvas, colours);
    };
    PaintBox1Menu = new PictureMenu(*PaintBox1, *this);
    PaintBox1Menu->AddOutputEntries(QStringLiteral("mirvane-portrait"), MainWindowSeries);
    PaintBox1Menu->SetHandout([this] { return ParameterHandout(*this, Form2->ModelParameters); });
    Label1 = PlaceControl(new QLabel(this), "Label1", 76, 436, 268, 20);
    Label1->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16, true));
    Button3 = PlaceControl(new QPushButton(this), "Button3", 536, 432, 75, 25);
    connect(Button3, &QPushButton::clicked, this, &TForm5::Button3Click);
    WithoutDefaultAndCancel(*this);
    ApplyBuiltInCaptions(*this, PhasePortraitCaptions);

    RunLocalisationStep(*this, LocalisationSection::PhasePortrait);
}

void TForm5::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, PhasePortraitCaptions, entries);
}

void TForm5::PaintBox1Paint(QPainter &canvas, const ChartColours &colours)
{
    const MotionModel &motion = Form2->Motion;
    DescribePortrait(motion);
    if (!motion.HasResult())
        return;
    const std::size_t readable = motion.ReadableSampleCount();
    const std::span<const float> coordinate(
        motion.ResultSeries[MotionModel::Coordinate].get(), readable);
    const std::span<const float> velocity(
        motion.ResultSeries[MotionModel::Velocity].get(), readable);
    const std::size_t drawn = motion.LastSampleIndex > 0 ? std::size_t(motion.LastSampleIndex) : 0;
    const SeriesRange &coordinateRange = motion.SeriesRanges[MotionModel::Coordinate];
    const SeriesRange &velocityRange = motion.SeriesRanges[MotionModel::Velocity];
    const PortraitAxes axes(PaintBox1->rect(), coordinateRange, velocityRange);
    if (colours.PortraitAxes)
        axes.DrawLines(canvas, *colours.PortraitAxes);
    DrawPhasePortrait(canvas, PaintBox1->height(), PaintBox1->width(), coordinate, velocity, drawn,
        coordinateRange, velocityRange, colours.Portrait);
    if (colours.PortraitAxes)
        axes.DrawLabels(canvas, Texts, colours.ScaleText, colours.SurfaceOn(palette()));
}

void TForm5::DescribePortrait(const MotionModel &motion)
{
    QString description = Texts.NoMotion;
    if (motion.HasResult()) {
        const SeriesRange &x = motion.SeriesRanges[MotionModel::Coordinate];
        const SeriesRange &v = motion.SeriesRanges[MotionModel::Velocity];
        description = Texts.Ranges.arg(NumberStyle(x.min, 4, 2), NumberStyle(x.max, 4, 2),
            NumberStyle(v.min, 3, 2), NumberStyle(v.max, 3, 2));
    }
    if (PaintBox1->accessibleDescription() != description)
        PaintBox1->setAccessibleDescription(description);
}

void TForm5::Button3Click()
{
    done(1);
}

void DrawPhasePortrait(QPainter &canvas, int H, int W, std::span<const float> coordinate,
    std::span<const float> velocity, std::size_t sampleCount, const SeriesRange &coordinateRange,
    const SeriesRange &velocityRange, const ChartLine &line)
{
    const double sx = W / (double(coordinateRange.max) - coordinateRange.min);
    const double sy = H / (double(velocityRange.max) - velocityRange.min);
    if (!std::isfinite(sx) || !std::isfinite(sy) || sx <= 0 || sy <= 0)
        return; // a range without extent leaves no scale
    const std::size_t count = std::min({ sampleCount, coordinate.size(), velocity.size() });
    if (count < 2)
        return;

    // Samples lie within their ranges, so every point falls on the canvas.
    QPolygon curve(static_cast<int>(count));
    for (std::size_t i = 0; i < count; ++i)
        curve[int(i)] = QPoint(ToPixel((coordinate[i] - coordinateRange.min) * sx),
            ToPixel(H - (velocity[i] - velocityRange.min) * sy));
    canvas.setPen(QPen(line.colour, 2, line.style, Qt::RoundCap, Qt::RoundJoin));
    canvas.drawPolyline(curve);
}
