#pragma once

#include "analysis/analysiscaptions.h"
#include "model/modelparameters.h"
#include "services/captionedwindow.h"

#include <QSize>
#include <QWidget>

#include <array>

class BackgroundMotion;
class MotionModel;
class ExploreChart;
class ParameterSlider;
class PictureMenu;
class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
struct ComputationRefusal;
struct ComputedMotion;

// What-ifs at the speed of a hand: sliders for the parameters, the motion
// recomputed and drawn at every move, the quantities derived from the
// values, presets, kept curves and a measuring cursor. Modeless; only
// "Применить" passes the values on, through the parameter file.
class ExploreWindow : public QWidget, public CaptionedWindow
{
    Q_OBJECT

public:
    // parameterCaptions: the names of the fourteen parameters, in file order,
    // as the parameters dialog shows them.
    ExploreWindow(
        const std::array<QString, ModelParameters::Count> &parameterCaptions, QWidget *parent);
    ~ExploreWindow() override;

    // Starts from parameters, with the slider ranges around them, unless
    // the window is open, and shows it on top, beside its parent window where
    // the screen has room for both.
    void Open(const ModelParameters &parameters);
    // The values the controls give.
    ModelParameters Values() const;
    // What a printed page says under the chart: the derived quantities.
    QStringList HandoutNotes() const;
    // Whether the motion of the values shown is still being computed.
    bool Computing() const;

    ExploreCaptions Captions; // as localised while constructing

    // Sliders with typed fields for mass, damping, stiffness, force
    // amplitude, force frequency, force phase, plane angle, initial
    // deflection and initial velocity; then typed fields only for time step,
    // print step and stop time.
    std::array<ParameterSlider *, 12> Fields {};
    ExploreChart *Chart = nullptr;
    // In the order of Preset.
    std::array<QPushButton *, 8> PresetButtons {};
    QCheckBox *VelocityCheckBox = nullptr;
    QCheckBox *ForceCheckBox = nullptr;
    QPushButton *WholeRunButton = nullptr; // undoes the chart's zoom
    QPushButton *KeepButton = nullptr; // keeps the curve
    QPushButton *ClearKeptButton = nullptr;
    QPushButton *ApplyButton = nullptr;
    QPushButton *CloseButton = nullptr;
    QLabel *DerivedLabel = nullptr; // the derived quantities
    QLabel *CursorLabel = nullptr; // the cursor's reading
    QLabel *StatusLabel = nullptr; // the computation's state or a refusal
    PictureMenu *ChartMenu = nullptr;

signals:
    // The values were written to the parameter file.
    void Applied();
    // The controls give new values.
    void ValuesShown(const ModelParameters &values);
    // The chart shows the motion of values; motion is null when they give
    // none, and lives as long as the chart shows it.
    void MotionShown(const ModelParameters &values, const MotionModel *motion);
    // The window was closed.
    void Closed();

protected:
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void ApplyCaptions(const LocaleSection &entries) override;

    static constexpr QSize ContentSize { 1030, 756 };
    // The least the chart shrinks to before the window scrolls.
    static constexpr QSize ChartMinimum { 400, 150 };
    static constexpr int ChartHeight = 480; // at ContentSize
    static constexpr int Margin = 8;
    static constexpr int ColumnGap = 12;
    static constexpr int RowGap = 6;
    static constexpr int CompactRowGap = 4;
    static constexpr int SliderGap = 4;
    static constexpr int EditGap = 8; // between a slider or a caption and its field
    static constexpr int PresetGap = 6;
    static constexpr int ButtonWidth = 110;
    // The last Fields, typed only: time step, print step and stop time.
    static constexpr std::size_t TypedFields = 3;

    void CreateControls();
    void LayOut();
    // Full: as designed, the derived quantities under the sliders. Compact,
    // for a window lower or narrower than that needs: the typed fields side
    // by side, the derived quantities beside the presets.
    void Arrange(bool compact);
    // The full arrangement where it fits room without scrolling, else the compact one.
    void FitArrangement(const QSize &room);
    void PlaceBesideParent(const QRect &available);
    void ShowValues(const ModelParameters &values, bool refit);
    void ValuesChanged();
    void ShowDerived(const ModelParameters &values);
    void MotionComputed(const ComputedMotion &computed);
    // A field's text that is no number, told until it is corrected; empty when none.
    QString TypedRefusal() const;
    // The status line: the computation's state, unless a field holds no number.
    void ShowStatus(const QString &state);
    // Why Apply would not write the values: what the window calls invalid,
    // or a run the computation refuses; empty when it would.
    QString ApplyRefusal() const;
    void Apply();
    QString RefusalText(const ComputationRefusal &refusal) const;
    QString KeptLabel(const ModelParameters &kept, const ModelParameters &current) const;

    const std::array<QString, ModelParameters::Count> m_parameterCaptions;
    ModelParameters m_values; // with what no control shows: gravity, spring length
    BackgroundMotion *m_computer = nullptr;
    QWidget *m_surface = nullptr; // the controls' parent, in the scroll area
    QGroupBox *m_presetBox = nullptr;
    QVBoxLayout *m_leftColumn = nullptr;
    QGridLayout *m_typedFields = nullptr;
    QGridLayout *m_presetGrid = nullptr;
    QHBoxLayout *m_presetRow = nullptr; // the presets and, compact, the derived quantities
    QHBoxLayout *m_chartOptions = nullptr;
    QHBoxLayout *m_buttons = nullptr;
    QVBoxLayout *m_rightColumn = nullptr;
    bool m_compact = false;
};
