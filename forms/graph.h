#pragma once

#include "services/captionedwindow.h"

#include <QDialog>
#include <QString>

#include <array>
#include <optional>
#include <span>

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPainter;
class QPushButton;
struct ChartColours;
class PictureMenu;
class TPaintBox;
class TRadioGroup;

// The graphs window's texts that no control carries.
struct TimeGraphTexts
{
    // The refusals of a time that the field cannot show.
    QString NoDuration = QStringLiteral("Не задано время t. Введите целое число секунд");
    QString DurationTooLong
        = QStringLiteral("Превышение расчетного времени. ввдите другое значение");
    // What the plot shows, for a screen reader, joined by "; ": %1 the time
    // shown; %1 and %2 the bounds of each curve.
    QString PlotTime = QStringLiteral("Время от 0 до %1 с");
    QString PlotCoordinate = QStringLiteral("координата от %1 до %2 м");
    QString PlotVelocity = QStringLiteral("скорость от %1 до %2 м/с");
    QString PlotNoCurves = QStringLiteral("графики не выбраны");

    bool operator==(const TimeGraphTexts &) const = default;
};

// The time graphs of coordinate and velocity, drawn from the main window's
// results at every paint.
class TForm8 : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit TForm8(QWidget *parent = nullptr);

    // Coordinate lower and upper, velocity lower and upper bound of the plot.
    std::array<float, 4> Bounds { -1, 1, -10, 10 };
    TimeGraphTexts Texts;

    QFrame *Bevel4 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;
    QFrame *Bevel1 = nullptr;
    TPaintBox *PaintBox1 = nullptr;
    QLabel *Label4 = nullptr;
    QFrame *Bevel3 = nullptr;
    QLineEdit *MaskEdit1 = nullptr;
    QLabel *Label1 = nullptr;
    // Holds "Автоматически" and "Фиксированный" until the localisation step,
    // which replaces them with the items of a localisation file.
    TRadioGroup *RadioGroup1 = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button1 = nullptr;
    // Right click on the plot: print, save, copy, export the series.
    PictureMenu *PaintBox1Menu = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void CreateControls();
    void FormShow();
    void FormActivate();
    void Button2Click();
    void CheckBox1Click();
    void RadioGroup1Click();
    void MaskEdit1KeyDown();
    void PaintBox1Paint(QPainter &canvas, const ChartColours &colours);

    void SetBoundsFromScale();
    // The time field holds whole seconds; this is the largest it accepts.
    qint64 DurationLimit() const;
    void WriteDurationLimit();
    // The field's seconds; none while it is blank.
    std::optional<qint64> FieldDuration() const;
    // What the plot shows, for a screen reader.
    void DescribePlot(double duration);
};

extern TForm8 *Form8;
