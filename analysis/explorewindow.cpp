#include "analysis/explorewindow.h"

#include "analysis/backgroundmotion.h"
#include "analysis/explorechart.h"
#include "analysis/parameterslider.h"
#include "model/derivedquantities.h"
#include "model/explorepresets.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"
#include "services/parameterfilelocation.h"
#include "widgets/formgeometry.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// The fields the controls show, in the order of ExploreWindow::Fields.
constexpr std::array<int, 12> ShownFields { 3, 4, 5, 6, 7, 8, 9, 12, 13, 0, 1, 2 };
constexpr int SliderCount = 9;
// The sliders whose ranges the other values set.
constexpr int DampingSlider = 1;
constexpr int ForceFrequencySlider = 4;

// What a slider covers of its field, before the values refit it.
SliderScale scaleOf(int field)
{
    switch (field) {
    case 3: // mass
        return { .reach = 4 };
    case 4: // damping: reaches past critical damping, which the values set
        return { .fineNearLower = true };
    case 5: // stiffness
        return { .reach = 1200 };
    case 6: // force amplitude
        return { .reach = 24 };
    case 7: // force frequency: past w0, which the values set
        return {};
    case 8: // force phase, degrees
        return { .lower = -180, .upper = 180, .fixed = true };
    case 9: // plane angle, degrees
        return { .lower = 0, .upper = 90, .fixed = true };
    case 12: // initial deflection
        return { .reach = 0.2, .symmetric = true };
    default: // initial velocity
        return { .reach = 2, .symmetric = true };
    }
}

} // namespace

ExploreWindow::ExploreWindow(
    const std::array<QString, ModelParameters::Count> &parameterCaptions, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_parameterCaptions(parameterCaptions)
{
    // The controls lie on a surface of their own that scrolls where the screen
    // is smaller than the window, as on a projector at twice the size.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    m_surface = new QWidget;
    m_surface->setFixedSize(ContentSize);
    scroll->setWidget(m_surface);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    setMaximumSize(ContentSize);

    // The chart's menu first: the localisation step relabels it.
    PaintBox1 = PlaceControl(new ExploreChart(Captions, m_surface), "PaintBox1", 390, 8, 632, 410);
    ChartMenu = new PictureMenu(*PaintBox1, *this);
    RunLocalisationStep(*this, LocalisationSection::Explore);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 120, 60, ContentSize.width(), ContentSize.height(), WindowSizing::Sizeable);
    CreateControls();
}

ExploreWindow::~ExploreWindow() = default;

void ExploreWindow::CreateControls()
{
    int top = 8;
    for (int i = 0; i < int(Fields.size()); ++i) {
        const int field = ShownFields[i];
        const bool slider = i < SliderCount;
        Fields[i] = new ParameterSlider(*m_surface, i + 1, field,
            slider ? std::optional(scaleOf(field)) : std::nullopt, 8, top,
            m_parameterCaptions[field]);
        top += slider ? ParameterSlider::Height : ParameterSlider::TypedHeight;
        connect(Fields[i], &ParameterSlider::ValueChanged, this, [this, i, field] {
            *m_values.fields()[field] = Fields[i]->Value();
            ValuesChanged();
        });
        connect(Fields[i], &ParameterSlider::TextRefused, this,
            [this](const QString &text) { Label15->setText(Captions.NotANumber.arg(text)); });
    }
    Label13 = PlaceControl(new QLabel(m_surface), "Label13", 8, top + 8, 370, 650 - top - 16);
    Label13->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label13->setTextFormat(Qt::PlainText);

    PaintBox1->setAccessibleName(Captions.PlotName);
    PaintBox1->KeptLabel = [this](const ModelParameters &kept, const ModelParameters &current) {
        return KeptLabel(kept, current);
    };
    // Made first for its menu, reached by Tab after the fields.
    setTabOrder(Fields.back()->Edit, PaintBox1);
    ChartMenu->AddOutputEntries([this] { return PaintBox1->Table(); });

    CheckBox1 = PlaceControl(
        new QCheckBox(Captions.CheckBox1, m_surface), "CheckBox1", 390, 424, 140, 20);
    connect(CheckBox1, &QCheckBox::toggled, PaintBox1, &ExploreChart::SetShowsVelocity);
    Label14 = PlaceControl(new QLabel(m_surface), "Label14", 540, 426, 482, 16);
    Label14->setTextFormat(Qt::PlainText);
    Label14->setText(PaintBox1->CursorText());
    connect(PaintBox1, &ExploreChart::CursorChanged, this,
        [this] { Label14->setText(PaintBox1->CursorText()); });

    GroupBox1 = PlaceControl(
        new QGroupBox(Captions.GroupBox1, m_surface), "GroupBox1", 390, 450, 632, 116);
    const std::array<const QString *, 8> presetCaptions { &Captions.Button1, &Captions.Button2,
        &Captions.Button3, &Captions.Button4, &Captions.Button5, &Captions.Button6,
        &Captions.Button7, &Captions.Button8 };
    for (int i = 0; i < PresetCount; ++i) {
        const QByteArray name = "Button" + QByteArray::number(i + 1);
        PresetButtons[i] = PlaceControl(new QPushButton(*presetCaptions[i], GroupBox1),
            name.constData(), 8 + (i % 3) * 207, 20 + (i / 3) * 30, 201, 25);
        connect(PresetButtons[i], &QPushButton::clicked, this, [this, i] {
            ShowValues(ApplyPreset(Preset(i), Values()), false);
            ValuesChanged();
        });
    }

    const auto button = [this](const QString &caption, const char *name, int left) {
        return PlaceControl(new QPushButton(caption, m_surface), name, left, 574, 110, 25);
    };
    Button9 = button(Captions.Button9, "Button9", 390);
    Button10 = button(Captions.Button10, "Button10", 508);
    Button11 = button(Captions.Button11, "Button11", 794);
    Button12 = button(Captions.Button12, "Button12", 912);
    connect(Button9, &QPushButton::clicked, PaintBox1, &ExploreChart::Keep);
    connect(Button10, &QPushButton::clicked, PaintBox1, &ExploreChart::ClearKept);
    connect(Button11, &QPushButton::clicked, this, &ExploreWindow::Apply);
    connect(Button12, &QPushButton::clicked, this, &QWidget::close);

    Label15 = PlaceControl(new QLabel(m_surface), "Label15", 390, 606, 632, 36);
    Label15->setWordWrap(true);
    Label15->setTextFormat(Qt::PlainText);

    m_computer = new BackgroundMotion(this);
    connect(m_computer, &BackgroundMotion::Computed, this, &ExploreWindow::MotionComputed);
}

void ExploreWindow::Open(const ModelParameters &parameters)
{
    // Open already, it keeps the what-if under way.
    if (!isVisible()) {
        ShowValues(parameters, true);
        ValuesChanged();
        // Within the screen, with the scroll bars the smaller size then needs.
        const QRect available = screen()->availableGeometry();
        resize(ContentSize.boundedTo(available.size()));
        move(pos().x() + std::min(0, available.right() - frameGeometry().right()),
            pos().y() + std::min(0, available.bottom() - frameGeometry().bottom()));
    }
    show();
    raise();
    activateWindow();
}

ModelParameters ExploreWindow::Values() const
{
    return m_values;
}

bool ExploreWindow::Computing() const
{
    return m_computer->Busy();
}

void ExploreWindow::ShowValues(const ModelParameters &values, bool refit)
{
    m_values = values;
    const DerivedQuantities derived = DeriveQuantities(values);
    // Ranges past critical damping and past w0, where the values give them.
    if (std::isfinite(derived.CriticalDamping))
        Fields[DampingSlider]->SetReach(2 * derived.CriticalDamping);
    if (std::isfinite(derived.NaturalFrequency))
        Fields[ForceFrequencySlider]->SetReach(2 * derived.NaturalFrequency);
    for (std::size_t i = 0; i < Fields.size(); ++i)
        Fields[i]->SetValue(*values.fields()[ShownFields[i]], refit);
}

void ExploreWindow::ValuesChanged()
{
    ShowDerived(m_values);
    Label15->setText(Captions.Computing);
    m_computer->Request(m_values);
}

void ExploreWindow::ShowDerived(const ModelParameters &values)
{
    const DerivedQuantities d = DeriveQuantities(values);
    // In the order of DampingRegime.
    const std::array<const QString *, 5> regimes { &Captions.Undefined, &Captions.Undamped,
        &Captions.Underdamped, &Captions.CriticallyDamped, &Captions.Overdamped };
    QStringList lines { *regimes[std::size_t(d.Regime)] };
    if (d.DrivenAtResonance)
        lines.append(Captions.AtResonance);
    if (d.Regime != DampingRegime::Undefined) {
        lines.append(Captions.NaturalFrequency.arg(ShownValue(d.NaturalFrequency)));
        // Four decimals: critical damping reads as exactly 1.
        lines.append(Captions.DampingRatio.arg(QLocale().toString(d.DampingRatio, 'f', 4)));
        lines.append(Captions.CriticalDamping.arg(ShownValue(d.CriticalDamping)));
        lines.append(std::isnan(d.ResonanceFrequency)
                ? Captions.NoResonance
                : Captions.ResonanceFrequency.arg(ShownValue(d.ResonanceFrequency)));
        lines.append(std::isnan(d.DampedPeriod)
                ? Captions.NoPeriod
                : Captions.DampedPeriod.arg(ShownValue(d.DampedPeriod)));
        lines.append(Captions.QualityFactor.arg(
            std::isinf(d.QualityFactor) ? Captions.Infinite : ShownValue(d.QualityFactor)));
    }
    Label13->setText(lines.join(QLatin1Char('\n')));
    PaintBox1->setAccessibleDescription(lines.join(QStringLiteral("; ")));
}

void ExploreWindow::MotionComputed(const ComputedMotion &computed)
{
    switch (computed.Result) {
    case ComputedMotion::Done:
        Label15->clear();
        break;
    case ComputedMotion::TooLarge:
        Label15->setText(computed.Refusal.reason == ComputationRefusal::TooManySteps
                ? Captions.TooManySteps
                : Captions.TooManySamples);
        break;
    case ComputedMotion::OutOfMemory:
        Label15->setText(Captions.OutOfMemory);
        break;
    }
    PaintBox1->SetMotion(computed.Parameters, computed.Motion);
}

void ExploreWindow::Apply()
{
    const auto fields = m_values.fields();
    for (int field = 0; field < ModelParameters::Count; ++field) {
        if (!WrittenAsZero(field, *fields[field]))
            continue;
        ShowMessageBox(Captions.LostAsZero.arg(
                           m_parameterCaptions[field], ShownValue(SmallestWrittenValue(field))),
            QString(), MessageBoxKind::Error);
        for (std::size_t i = 0; i < Fields.size(); ++i) {
            if (ShownFields[i] == field)
                Fields[i]->Edit->setFocus();
        }
        return;
    }
    if (!WriteParameterFile(ParameterFilePath(), m_values)) {
        ReportParameterFileFailure();
        return;
    }
    emit Applied();
}

QString ExploreWindow::KeptLabel(const ModelParameters &kept, const ModelParameters &current) const
{
    QStringList differences;
    for (int field = 0; field < ModelParameters::Count; ++field) {
        const float value = *kept.fields()[field];
        if (value != *current.fields()[field])
            differences.append(
                m_parameterCaptions[field] + QStringLiteral(" = ") + ShownValue(value));
    }
    return differences.isEmpty() ? Captions.KeptSame
                                 : Captions.Kept.arg(differences.join(QStringLiteral("; ")));
}
