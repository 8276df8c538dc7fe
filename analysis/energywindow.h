#pragma once

#include "analysis/analysiscaptions.h"
#include "model/csvtable.h"
#include "model/energybalance.h"
#include "services/captionedwindow.h"

#include <QDialog>

#include <optional>

class TPaintBox;
class MotionModel;
class PictureMenu;
class QPainter;
struct ModelParameters;

// The energy balance of the computed motion: the kinetic and spring energies,
// the works of the damper and of the driving force, and the residual.
class EnergyWindow : public QDialog, public CaptionedWindow
{
    Q_OBJECT

public:
    explicit EnergyWindow(QWidget *parent = nullptr);

    // Computes the balance of motion and shows it, modally. Returns the modal result.
    int Open(const ModelParameters &parameters, const MotionModel &motion);

    EnergyCaptions Captions; // as localised while constructing

    TPaintBox *Chart = nullptr;
    PictureMenu *ChartMenu = nullptr; // printing, saving, copying, the balance as CSV

private:
    void ApplyCaptions(const LocaleSection &entries) override;
    void PaintChart(QPainter &painter);
    // The balance as drawn, each term by time; none without a motion.
    std::optional<CsvTable> BalanceTable() const;

    EnergyBalance m_balance;
};
