#pragma once

#include "model/motionmodel.h"
#include "services/captionedwindow.h"

#include <QDialog>
#include <QString>

#include <span>

class QFrame;
class QLabel;
class QPainter;
class QPushButton;
struct ChartColours;
struct ChartLine;
class PictureMenu;
class TPaintBox;

// What the phase portrait shows, for a screen reader, and its axes' units on paper.
struct PhasePortraitTexts
{
    QString NoMotion = QStringLiteral("Движение не рассчитано");
    // %1, %2 the coordinate's bounds, %3, %4 the velocity's.
    QString Ranges = QStringLiteral("Координата от %1 до %2 м, скорость от %3 до %4 м/с");
    QString CoordinateAxis = QStringLiteral("x, м");
    QString VelocityAxis = QStringLiteral("v, м/с");

    bool operator==(const PhasePortraitTexts &) const = default;
};

// The phase portrait: velocity against coordinate over the whole computed
// motion, drawn from the main window's results at every paint.
class TForm5 : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit TForm5(QWidget *parent = nullptr);

    QFrame *Bevel1 = nullptr;
    QFrame *Panel1 = nullptr;
    QFrame *Panel2 = nullptr;
    TPaintBox *PaintBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *Button3 = nullptr;
    // Right click on the portrait: print, save, copy, export the series.
    PictureMenu *PaintBox1Menu = nullptr;
    PhasePortraitTexts Texts;

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void PaintBox1Paint(QPainter &canvas, const ChartColours &colours);
    void Button3Click();
    // What the portrait shows, for a screen reader.
    void DescribePortrait(const MotionModel &motion);
};

// Draws samples 0 ... sampleCount - 1 as one line scaled so that the two
// ranges span the H × W canvas, velocity growing upward. Draws nothing when a
// range has no extent.
void DrawPhasePortrait(QPainter &canvas, int H, int W, std::span<const float> coordinate,
    std::span<const float> velocity, std::size_t sampleCount, const SeriesRange &coordinateRange,
    const SeriesRange &velocityRange, const ChartLine &line);

extern TForm5 *Form5;
