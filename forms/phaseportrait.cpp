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
};

constexpr SectionTable PhasePortraitCaptions { .keys = PhasePortraitKeys,
    .menuKeys = PictureMenuKeys };

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
    PaintBox1->OnPaint = [this](QPainter &canvas) { PaintBox1Paint(canvas); };
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

void TForm5::PaintBox1Paint(QPainter &canvas)
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
    DrawPhasePortrait(canvas, PaintBox1->height(), PaintBox1->width(), coordinate, velocity, drawn,
        motion.SeriesRanges[MotionModel::Coordinate], motion.SeriesRanges[MotionModel::Velocity]);
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
    const SeriesRange &velocityRange)
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
    canvas.setPen(QPen(ChartPalette::Portrait, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    canvas.drawPolyline(curve);
}
