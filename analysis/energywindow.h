#pragma once

#include "analysis/analysiscaptions.h"
#include "model/csvtable.h"
#include "model/energybalance.h"
#include "model/modelparameters.h"
#include "services/captionedwindow.h"

#include <QDialog>

#include <optional>

struct ChartColours;
class TPaintBox;
class MotionModel;
class PictureMenu;
class QLabel;
class QPainter;

// The energy balance of the computed motion: the kinetic and spring energies,
// the works of the damper and of the driving force, and the residual.
// Modeless: it follows the motion it is given while the other windows go on
// working.
class EnergyWindow : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit EnergyWindow(QWidget *parent = nullptr);

    // Shows the window on top with the balance of motion.
    void Open(const ModelParameters &parameters, const MotionModel *motion, ParameterSource source);
    // Shows the balance of motion, none when null, when the window is open.
    void Follow(
        const ModelParameters &parameters, const MotionModel *motion, ParameterSource source);

    // The values of the motion shown.
    const ModelParameters &Parameters() const { return m_parameters; }
    // What a printed page says under the chart: how the works are summed and
    // whose values they are.
    QStringList HandoutNotes() const;

    EnergyCaptions Captions; // as localised while constructing

    TPaintBox *Chart = nullptr;
    QLabel *SourceLabel = nullptr; // where the motion's values come from
    PictureMenu *ChartMenu = nullptr; // printing, saving, copying, the balance as CSV

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void PaintChart(QPainter &painter, const ChartColours &colours);
    // The balance as drawn, each term by time; none without a motion.
    std::optional<CsvTable> BalanceTable() const;

    ModelParameters m_parameters;
    EnergyBalance m_balance;
};
