#pragma once

#include "analysis/analysiscaptions.h"
#include "model/csvtable.h"
#include "model/modelparameters.h"
#include "services/captionedwindow.h"

#include <QDialog>

#include <memory>
#include <optional>
#include <vector>

struct ChartColours;
class TPaintBox;
class FrequencySweep;
class PictureMenu;
class PlotArea;
class QLabel;
class QPainter;
class QProgressBar;
class QPushButton;
class QTimer;

// The resonance curve: the amplitude and the phase lag swept over the drive
// frequency, computed from the program's own motion, beside the closed-form
// steady state, with a mark at the current drive frequency. Modeless: it
// follows the values it is given while the other windows go on working.
class ResonanceWindow : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit ResonanceWindow(QWidget *parent = nullptr);
    ~ResonanceWindow() override;

    // Shows the window on top with the curve of parameters.
    void Open(const ModelParameters &parameters, ParameterSource source);
    // Shows the curve of parameters, as it grows, when the window is open:
    // a change of the drive frequency alone moves the mark, any other sweeps
    // again, the sweep under way for older values given up.
    void Follow(const ModelParameters &parameters, ParameterSource source);

    // The values the curve is swept for.
    const ModelParameters &Parameters() const { return m_parameters; }
    // What a printed page says under the chart: how the curves are measured,
    // the closed form and whose values they are.
    QStringList HandoutNotes() const;

    ResonanceCaptions Captions; // as localised while constructing

    TPaintBox *Chart = nullptr;
    PictureMenu *ChartMenu = nullptr; // printing, saving, copying, the curve as CSV
    QLabel *RuleLabel = nullptr; // how the amplitude is measured
    QLabel *PhaseRuleLabel = nullptr; // how the phase lag is measured
    QLabel *StatusLabel = nullptr; // progress, the closed form or why there is no curve
    QLabel *SourceLabel = nullptr; // where the values come from
    QProgressBar *Progress = nullptr;
    QPushButton *CancelButton = nullptr;

public slots:
    void done(int result) override;

private:
    // The swept curve at the current drive frequency, from its two nearest
    // points done; NaN for both while there are none.
    struct Reading
    {
        double amplitude;
        double phaseLag;
    };

    void ApplyCaptions(const LocaleSection &entries) override;
    void StartSweep();
    void CancelSweep();
    void SweepTimerTick();
    void PaintChart(QPainter &painter, const ChartColours &colours);
    void PaintMark(QPainter &painter, const ChartColours &colours, const PlotArea &amplitude,
        const PlotArea &phase, double w0) const;
    void ShowProgress();
    QString StatusText() const;
    Reading CurrentReading() const;
    // The mark's reading of the swept curve at the current drive frequency,
    // also the chart's accessible description; empty while the curve has no
    // points there.
    QString MarkText() const;
    bool Damped() const { return m_parameters.Damping > 0; }
    // The points done: omega_1_per_s, A_computed_m, phi_computed_deg and,
    // with damping, A_steady_state_m and phi_steady_state_deg; none before
    // the first.
    std::optional<CsvTable> CurveTable() const;

    ModelParameters m_parameters;
    std::unique_ptr<FrequencySweep> m_sweep;
    // Given up for newer values, their points running still to end.
    std::vector<std::unique_ptr<FrequencySweep>> m_abandoned;
    QTimer *m_sweepTimer = nullptr;
};
