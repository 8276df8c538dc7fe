#include "analysis/parameterslider.h"

#include "model/texttofloat.h"
#include "services/numberstyles.h"

#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QSlider>

#include <algorithm>
#include <cmath>

namespace {

// The round number 1, 2 or 5 · 10^n at or above value.
double roundUp(double value)
{
    const double decade = std::pow(10.0, std::floor(std::log10(value)));
    for (const double factor : { 1.0, 2.0, 5.0 }) {
        if (factor * decade >= value * (1 - 1e-12))
            return factor * decade;
    }
    return 10 * decade;
}

} // namespace

QString ShownValue(double value)
{
    return GeneralStyle(value, 6, 0);
}

ParameterSlider::ParameterSlider(QWidget &parent, const char *name, ParameterField field,
    std::optional<SliderScale> scale, const QString &caption)
    : QObject(&parent)
    , m_field(field)
    , m_scale(scale.value_or(SliderScale { .fixed = true }))
{
    const QByteArray prefix(name);
    Label = new QLabel(caption, &parent);
    Label->setObjectName(QLatin1String(prefix + "Label"));
    Label->setTextFormat(Qt::PlainText); // a caption is never markup
    Label->setWordWrap(true);
    if (scale) {
        Slider = new QSlider(Qt::Horizontal, &parent);
        Slider->setObjectName(QLatin1String(prefix + "Slider"));
        Slider->setMinimumWidth(SliderWidth);
        Slider->setRange(0, Steps);
        Slider->setPageStep(Steps / 20);
        Slider->setAccessibleName(caption);
        connect(Slider, &QSlider::valueChanged, this, &ParameterSlider::SliderMoved);
    }
    Edit = new QLineEdit(&parent);
    Edit->setObjectName(QLatin1String(prefix + "Edit"));
    Edit->setFixedWidth(EditWidth);
    Edit->setAccessibleName(caption);
    Label->setBuddy(Edit);
    connect(Edit, &QLineEdit::editingFinished, this, &ParameterSlider::EditFinished);
}

void ParameterSlider::SetValue(float value, bool refit)
{
    m_value = value;
    const bool outside = !(value >= m_scale.lower && value <= m_scale.upper);
    if (!m_scale.fixed && (refit || outside))
        Refit(value);
    if (Slider) {
        m_settingSlider = true;
        Slider->setValue(PositionOf(value));
        m_settingSlider = false;
    }
    ShowText();
}

void ParameterSlider::Refit(double around)
{
    const double reach
        = std::isfinite(around) ? std::max(2 * std::abs(around), m_scale.reach) : m_scale.reach;
    m_scale.upper = roundUp(reach);
    m_scale.lower = m_scale.symmetric ? -m_scale.upper : 0;
}

int ParameterSlider::PositionOf(double value) const
{
    double share = (value - m_scale.lower) / (m_scale.upper - m_scale.lower);
    if (!std::isfinite(share))
        return 0;
    share = std::clamp(share, 0.0, 1.0);
    if (m_scale.fineNearLower)
        share = std::sqrt(share);
    return static_cast<int>(std::lround(share * Steps));
}

void ParameterSlider::SliderMoved(int position)
{
    if (m_settingSlider)
        return;
    double share = double(position) / Steps;
    if (m_scale.fineNearLower)
        share *= share;
    const double value = m_scale.lower + share * (m_scale.upper - m_scale.lower);
    // What the file holds, so that applying changes nothing of the curve.
    m_value = WrittenValue(FieldIndex(m_field), static_cast<float>(value));
    ShowText();
    emit ValueChanged();
}

void ParameterSlider::EditFinished()
{
    const QString text = Edit->text();
    if (m_holdsNumber && text == ShownValue(m_value))
        return;
    float typed = 0;
    try {
        typed = UserTextToFloat(text);
    } catch (const ConvertError &) {
        m_holdsNumber = false;
        emit TextRefused();
        return;
    }
    SetValue(typed);
    emit ValueChanged();
}

void ParameterSlider::ShowText()
{
    const QSignalBlocker quiet(Edit);
    Edit->setText(ShownValue(m_value));
    m_holdsNumber = true;
}
