#pragma once

#include "analysis/analysiscaptions.h"
#include "model/csvtable.h"
#include "model/modelparameters.h"
#include "services/captionedwindow.h"

#include <QDialog>

#include <memory>
#include <optional>

class TPaintBox;
class FrequencySweep;
class PictureMenu;
class QLabel;
class QPainter;
class QProgressBar;
class QPushButton;
class QTimer;

// The resonance curve: the amplitude swept over the drive frequency, computed
// from the program's own motion, beside the closed-form steady state.
class ResonanceWindow : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit ResonanceWindow(QWidget *parent = nullptr);
    ~ResonanceWindow() override;

    // Sweeps the default frequencies for parameters and shows the curve as
    // it grows, modally. Returns the modal result.
    int Open(const ModelParameters &parameters);

    ResonanceCaptions Captions; // as localised while constructing

    TPaintBox *Chart = nullptr;
    PictureMenu *ChartMenu = nullptr; // printing, saving, copying, the curve as CSV
    QLabel *RuleLabel = nullptr; // how the amplitude is measured
    QLabel *StatusLabel = nullptr; // progress, the closed form or why there is no curve
    QProgressBar *Progress = nullptr;
    QPushButton *CancelButton = nullptr;

public slots:
    void done(int result) override;

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void CancelSweep();
    void SweepTimerTick();
    void PaintChart(QPainter &painter);
    void ShowProgress();
    QString StatusText() const;
    // The points done: omega_1_per_s, A_computed_m and, with damping,
    // A_steady_state_m; none before the first.
    std::optional<CsvTable> CurveTable() const;

    ModelParameters m_parameters;
    std::unique_ptr<FrequencySweep> m_sweep;
    QTimer *m_sweepTimer = nullptr;
};
