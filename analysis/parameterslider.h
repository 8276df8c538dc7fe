#pragma once

#include "model/modelparameters.h"

#include <QObject>
#include <QString>

#include <optional>

class QLabel;
class QLineEdit;
class QSlider;
class QWidget;

// How a slider spreads its values.
struct SliderScale
{
    double lower = 0;
    double upper = 1;
    // Values grow with the square of the position: fine steps near lower.
    bool fineNearLower = false;
    // The range follows the value set from outside; a fixed one only clamps the slider.
    bool fixed = false;
    // A refitted range reaches at least this far from zero.
    double reach = 1;
    bool symmetric = false; // refitted as [-upper, upper] rather than [0, upper]
};

// One parameter as a caption with a slider and a typed field (the locale's
// number format), or as a typed field only; the window lays them out. The
// values the slider gives are multiples of what the parameter file holds of
// the field, so that what is shown is what would be written.
class ParameterSlider : public QObject
{
    Q_OBJECT

public:
    static constexpr int Steps = 1000;

    // name: what the controls' object names start with (nameLabel,
    // nameSlider, nameEdit). Without a scale there is no slider.
    ParameterSlider(QWidget &parent, const char *name, ParameterField field,
        std::optional<SliderScale> scale, const QString &caption);

    float Value() const { return m_value; }
    // False while the field holds a text typed that is no number; Value() is
    // then the last number.
    bool HoldsNumber() const { return m_holdsNumber; }
    // Shows value without signalling; a range that is not fixed is refitted
    // around a value outside it, or always when refit is set.
    void SetValue(float value, bool refit = false);
    // The least a refitted range reaches, for a range that depends on other values.
    void SetReach(double reach) { m_scale.reach = reach; }

    QLabel *Label = nullptr; // wraps where it is narrower than its caption
    QSlider *Slider = nullptr; // none for a typed field only
    QLineEdit *Edit = nullptr;

    // Room for the slider's fine steps and for the longest value shown.
    static constexpr int SliderWidth = 270;
    static constexpr int EditWidth = 92;

signals:
    // The user moved the slider or typed a number.
    void ValueChanged();
    // The user typed something that is no number; the field keeps the text
    // for the user to correct.
    void TextRefused();

private:
    void SliderMoved(int position);
    void EditFinished();
    void ShowText();
    void Refit(double around);
    int PositionOf(double value) const;

    const ParameterField m_field;
    SliderScale m_scale;
    float m_value = 0;
    bool m_settingSlider = false;
    bool m_holdsNumber = true;
};

// value with the number of significant digits the explore window shows.
QString ShownValue(double value);
