#include "analysis/explorewindow.h"

#include "analysis/backgroundmotion.h"
#include "analysis/explorechart.h"
#include "analysis/parameterslider.h"
#include "model/derivedquantities.h"
#include "model/explorepresets.h"
#include "model/motionmodel.h"
#include "output/captiontable.h"
#include "output/picturemenu.h"
#include "services/localisationhook.h"
#include "services/messagebox.h"
#include "services/parameterfilelocation.h"
#include "widgets/formgeometry.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHideEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// A field the window shows: its controls' names start with name; the
// scale is what its slider covers before the values refit it, none for a
// field that is typed only.
struct ShownField
{
    ParameterField field;
    const char *name;
    std::optional<SliderScale> scale;
};

// In the order of ExploreWindow::Fields.
constexpr std::array<ShownField, 12> ShownFields { {
    { ParameterField::Mass, "mass", SliderScale { .reach = 4 } },
    // Reaches past critical damping, which the values set.
    { ParameterField::Damping, "damping", SliderScale { .fineNearLower = true } },
    { ParameterField::Stiffness, "stiffness", SliderScale { .reach = 1200 } },
    { ParameterField::ForceAmplitude, "forceAmplitude", SliderScale { .reach = 24 } },
    // Past w0, which the values set.
    { ParameterField::ForceFrequency, "forceFrequency", SliderScale {} },
    { ParameterField::ForcePhase, "forcePhase",
        SliderScale { .lower = -180, .upper = 180, .fixed = true } }, // degrees
    { ParameterField::PlaneAngle, "planeAngle",
        SliderScale { .lower = 0, .upper = 90, .fixed = true } }, // degrees
    { ParameterField::InitialDeflection, "initialDeflection",
        SliderScale { .reach = 0.2, .symmetric = true } },
    { ParameterField::InitialVelocity, "initialVelocity",
        SliderScale { .reach = 2, .symmetric = true } },
    { ParameterField::TimeStep, "timeStep", std::nullopt },
    { ParameterField::PrintStep, "printStep", std::nullopt },
    { ParameterField::StopTime, "stopTime", std::nullopt },
} };
// The sliders whose ranges the other values set.
constexpr int DampingSlider = 1;
constexpr int ForceFrequencySlider = 4;

// The preset buttons' captions and names, in the order of Preset.
struct PresetControl
{
    QString ExploreCaptions::*caption;
    const char *name;
};
constexpr std::array<PresetControl, PresetCount> PresetControls { {
    { &ExploreCaptions::FreeOscillationPreset, "freeOscillationButton" },
    { &ExploreCaptions::UnderdampedPreset, "underdampedButton" },
    { &ExploreCaptions::CriticallyDampedPreset, "criticallyDampedButton" },
    { &ExploreCaptions::OverdampedPreset, "overdampedButton" },
    { &ExploreCaptions::ResonancePreset, "resonanceButton" },
    { &ExploreCaptions::BeatsPreset, "beatsButton" },
    { &ExploreCaptions::HorizontalPlanePreset, "horizontalPlaneButton" },
    { &ExploreCaptions::NominalPreset, "nominalButton" },
} };

template <auto Member> constexpr LocaleKey exploreKey(const char *name)
{
    return textKey<ExploreWindow, &ExploreWindow::Captions, Member>(name);
}

constexpr LocaleKey ExploreKeys[] = {
    { .name = "CharSet", .sets = Sets::Charset },
    exploreKey<&ExploreCaptions::FormCaption>("FormCaption"),
    exploreKey<&ExploreCaptions::PlotName>("PlotName"),
    exploreKey<&ExploreCaptions::ShowVelocity>("CheckBox1"),
    exploreKey<&ExploreCaptions::Presets>("GroupBox1"),
    exploreKey<&ExploreCaptions::FreeOscillationPreset>("Button1"),
    exploreKey<&ExploreCaptions::UnderdampedPreset>("Button2"),
    exploreKey<&ExploreCaptions::CriticallyDampedPreset>("Button3"),
    exploreKey<&ExploreCaptions::OverdampedPreset>("Button4"),
    exploreKey<&ExploreCaptions::ResonancePreset>("Button5"),
    exploreKey<&ExploreCaptions::BeatsPreset>("Button6"),
    exploreKey<&ExploreCaptions::HorizontalPlanePreset>("Button7"),
    exploreKey<&ExploreCaptions::NominalPreset>("Button8"),
    exploreKey<&ExploreCaptions::Keep>("Button9"),
    exploreKey<&ExploreCaptions::ClearKept>("Button10"),
    exploreKey<&ExploreCaptions::Apply>("Button11"),
    exploreKey<&ExploreCaptions::Close>("Button12"),
    exploreKey<&ExploreCaptions::TimeAxis>("TimeAxis"),
    exploreKey<&ExploreCaptions::CoordinateAxis>("CoordinateAxis"),
    exploreKey<&ExploreCaptions::VelocityAxis>("VelocityAxis"),
    exploreKey<&ExploreCaptions::Kept>("Kept"),
    exploreKey<&ExploreCaptions::KeptSame>("KeptSame"),
    exploreKey<&ExploreCaptions::NaturalFrequency>("NaturalFrequency"),
    exploreKey<&ExploreCaptions::DampingRatio>("DampingRatio"),
    exploreKey<&ExploreCaptions::CriticalDamping>("CriticalDamping"),
    exploreKey<&ExploreCaptions::ResonanceFrequency>("ResonanceFrequency"),
    exploreKey<&ExploreCaptions::NoResonance>("NoResonance"),
    exploreKey<&ExploreCaptions::DampedPeriod>("DampedPeriod"),
    exploreKey<&ExploreCaptions::NoPeriod>("NoPeriod"),
    exploreKey<&ExploreCaptions::QualityFactor>("QualityFactor"),
    exploreKey<&ExploreCaptions::Infinite>("Infinite"),
    exploreKey<&ExploreCaptions::Undefined>("Undefined"),
    exploreKey<&ExploreCaptions::Undamped>("Undamped"),
    exploreKey<&ExploreCaptions::Underdamped>("Underdamped"),
    exploreKey<&ExploreCaptions::CriticallyDamped>("CriticallyDamped"),
    exploreKey<&ExploreCaptions::Overdamped>("Overdamped"),
    exploreKey<&ExploreCaptions::AtResonance>("AtResonance"),
    exploreKey<&ExploreCaptions::CursorHint>("CursorHint"),
    exploreKey<&ExploreCaptions::CursorValue>("CursorValue"),
    exploreKey<&ExploreCaptions::Measured>("Measured"),
    exploreKey<&ExploreCaptions::Computing>("Computing"),
    exploreKey<&ExploreCaptions::NoMotion>("NoMotion"),
    exploreKey<&ExploreCaptions::TooManySteps>("TooManySteps"),
    exploreKey<&ExploreCaptions::TooManySamples>("TooManySamples"),
    exploreKey<&ExploreCaptions::OutOfMemory>("OutOfMemory"),
    exploreKey<&ExploreCaptions::NotANumber>("NotANumber"),
    exploreKey<&ExploreCaptions::LostAsZero>("LostAsZero"),
    laterKey(exploreKey<&ExploreCaptions::StepsNotPositive>("StepsNotPositive")),
    laterKey(exploreKey<&ExploreCaptions::WriteFailed>("WriteFailed")),
    laterKey(exploreKey<&ExploreCaptions::Current>("Current")),
    laterKey(exploreKey<&ExploreCaptions::ShowForce>("CheckBox2")),
    laterKey(exploreKey<&ExploreCaptions::WholeRun>("Button13")),
    laterKey(exploreKey<&ExploreCaptions::ForceAxis>("ForceAxis")),
    laterKey(exploreKey<&ExploreCaptions::ForceLegend>("ForceLegend")),
    laterKey(exploreKey<&ExploreCaptions::CursorForce>("CursorForce")),
    laterKey(exploreKey<&ExploreCaptions::ZoomHint>("ZoomHint")),
};

constexpr SectionTable ExploreWindowCaptions { .keys = ExploreKeys, .menuKeys = PictureMenuKeys };

} // namespace

ExploreWindow::ExploreWindow(
    const std::array<QString, ModelParameters::Count> &parameterCaptions, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_parameterCaptions(parameterCaptions)
{
    // The controls lie on a surface of their own that scrolls only where the
    // screen is smaller than even the compact arrangement needs.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(QStringLiteral("scrollArea"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    m_surface = new QWidget;
    m_surface->setObjectName(QStringLiteral("surface"));
    scroll->setWidget(m_surface);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(scroll);
    setMaximumSize(ContentSize);

    // The chart's menu first: the localisation step relabels it.
    Chart = new ExploreChart(Captions, m_surface);
    Chart->setObjectName(QStringLiteral("chart"));
    ChartMenu = new PictureMenu(*Chart, *this);
    RunLocalisationStep(*this, LocalisationSection::Explore);
    setWindowTitle(Captions.FormCaption);
    PlaceWindow(*this, 120, 60, ContentSize.width(), ContentSize.height(), WindowSizing::Sizeable);
    CreateControls();
    LayOut();
}

void ExploreWindow::ApplyCaptions(const LocaleSection &entries)
{
    ApplyCaptionTable(*this, ExploreWindowCaptions, entries);
}

ExploreWindow::~ExploreWindow() = default;

void ExploreWindow::CreateControls()
{
    for (int i = 0; i < int(Fields.size()); ++i) {
        const ShownField &shown = ShownFields[i];
        const int field = FieldIndex(shown.field);
        Fields[i] = new ParameterSlider(
            *m_surface, shown.name, shown.field, shown.scale, m_parameterCaptions[field]);
        connect(Fields[i], &ParameterSlider::ValueChanged, this, [this, i, field] {
            *m_values.fields()[field] = Fields[i]->Value();
            ValuesChanged();
        });
        connect(Fields[i], &ParameterSlider::TextRefused, this, [this] { ShowStatus({}); });
    }
    DerivedLabel = new QLabel(m_surface);
    DerivedLabel->setObjectName(QStringLiteral("derivedLabel"));
    DerivedLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    DerivedLabel->setTextFormat(Qt::PlainText);
    DerivedLabel->setWordWrap(true); // the line naming invalid values is longer than the label

    Chart->setAccessibleName(Captions.PlotName);
    Chart->setMinimumSize(ChartMinimum);
    // No taller than designed: what room is left goes below the controls.
    Chart->setMaximumHeight(ChartHeight);
    Chart->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Chart->KeptLabel = [this](const ModelParameters &kept, const ModelParameters &current) {
        return KeptLabel(kept, current);
    };
    // Made first for its menu, reached by Tab after the fields.
    setTabOrder(Fields.back()->Edit, Chart);
    ChartMenu->AddOutputEntries(
        QStringLiteral("mirvane-explore"), [this] { return Chart->Table(); });

    VelocityCheckBox = new QCheckBox(Captions.ShowVelocity, m_surface);
    VelocityCheckBox->setObjectName(QStringLiteral("velocityCheckBox"));
    connect(VelocityCheckBox, &QCheckBox::toggled, Chart, &ExploreChart::SetShowsVelocity);
    ForceCheckBox = new QCheckBox(Captions.ShowForce, m_surface);
    ForceCheckBox->setObjectName(QStringLiteral("forceCheckBox"));
    connect(ForceCheckBox, &QCheckBox::toggled, Chart, &ExploreChart::SetShowsForce);
    WholeRunButton = new QPushButton(Captions.WholeRun, m_surface);
    WholeRunButton->setObjectName(QStringLiteral("wholeRunButton"));
    connect(WholeRunButton, &QPushButton::clicked, Chart, &ExploreChart::ShowWholeRun);
    CursorLabel = new QLabel(m_surface);
    CursorLabel->setObjectName(QStringLiteral("cursorLabel"));
    CursorLabel->setTextFormat(Qt::PlainText);
    CursorLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    CursorLabel->setWordWrap(true); // the hints, or t, x, v and F with a measured span
    CursorLabel->setText(Chart->CursorText());
    connect(Chart, &ExploreChart::CursorChanged, this,
        [this] { CursorLabel->setText(Chart->CursorText()); });

    m_presetBox = new QGroupBox(Captions.Presets, m_surface);
    m_presetBox->setObjectName(QStringLiteral("presetBox"));
    for (int i = 0; i < PresetCount; ++i) {
        PresetButtons[i] = new QPushButton(Captions.*PresetControls[i].caption, m_presetBox);
        PresetButtons[i]->setObjectName(QLatin1String(PresetControls[i].name));
        connect(PresetButtons[i], &QPushButton::clicked, this, [this, i] {
            ShowValues(ApplyPreset(Preset(i), Values()), false);
            ValuesChanged();
        });
    }

    const auto button = [this](const QString &caption, const char *name) {
        auto *made = new QPushButton(caption, m_surface);
        made->setObjectName(QLatin1String(name));
        return made;
    };
    KeepButton = button(Captions.Keep, "keepButton");
    ClearKeptButton = button(Captions.ClearKept, "clearKeptButton");
    ApplyButton = button(Captions.Apply, "applyButton");
    CloseButton = button(Captions.Close, "closeButton");
    connect(KeepButton, &QPushButton::clicked, Chart, &ExploreChart::Keep);
    connect(ClearKeptButton, &QPushButton::clicked, Chart, &ExploreChart::ClearKept);
    connect(ApplyButton, &QPushButton::clicked, this, &ExploreWindow::Apply);
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);

    StatusLabel = new QLabel(m_surface);
    StatusLabel->setObjectName(QStringLiteral("statusLabel"));
    StatusLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    StatusLabel->setWordWrap(true); // a refusal is told whole
    StatusLabel->setTextFormat(Qt::PlainText);

    m_computer = new BackgroundMotion(this);
    connect(m_computer, &BackgroundMotion::Computed, this, &ExploreWindow::MotionComputed);
}

void ExploreWindow::LayOut()
{
    // The sliders, the typed fields and, in full, the derived quantities at the left.
    m_leftColumn = new QVBoxLayout;
    m_leftColumn->setSpacing(SliderGap);
    for (ParameterSlider *field : Fields) {
        if (!field->Slider)
            continue;
        auto *row = new QHBoxLayout;
        row->setSpacing(EditGap);
        row->addWidget(field->Slider);
        row->addWidget(field->Edit);
        auto *block = new QVBoxLayout;
        block->setSpacing(0);
        block->addWidget(field->Label);
        block->addLayout(row);
        m_leftColumn->addLayout(block);
    }
    m_typedFields = new QGridLayout;
    m_typedFields->setSpacing(SliderGap);
    m_typedFields->setHorizontalSpacing(EditGap);
    m_leftColumn->addLayout(m_typedFields);
    m_leftColumn->addStretch();

    // The chart, which alone grows and shrinks with the window, and what
    // belongs to it at the right.
    m_chartOptions = new QHBoxLayout;
    m_chartOptions->addWidget(VelocityCheckBox);
    m_chartOptions->addWidget(ForceCheckBox);
    m_chartOptions->addStretch();
    m_chartOptions->addWidget(WholeRunButton);
    m_presetGrid = new QGridLayout(m_presetBox);
    m_presetGrid->setSpacing(PresetGap);
    m_presetRow = new QHBoxLayout;
    m_presetRow->addWidget(m_presetBox, 1);
    m_buttons = new QHBoxLayout;
    m_buttons->addStretch();
    m_buttons->addWidget(ApplyButton);
    m_buttons->addWidget(CloseButton);
    m_rightColumn = new QVBoxLayout;
    m_rightColumn->addWidget(Chart, 1);
    m_rightColumn->addLayout(m_chartOptions);
    m_rightColumn->addWidget(CursorLabel);
    m_rightColumn->addLayout(m_presetRow);
    m_rightColumn->addLayout(m_buttons);
    m_rightColumn->addStretch();

    auto *columns = new QHBoxLayout(m_surface);
    columns->setContentsMargins(Margin, Margin, Margin, Margin);
    columns->setSpacing(ColumnGap);
    columns->addLayout(m_leftColumn);
    columns->addLayout(m_rightColumn, 1);

    Arrange(false);
}

void ExploreWindow::Arrange(bool compact)
{
    m_compact = compact;
    // In full the typed fields lie under one another beside their captions;
    // compact, side by side under their captions.
    for (int i = 0; i < int(TypedFields); ++i) {
        const ParameterSlider &typed = *Fields[Fields.size() - TypedFields + i];
        m_typedFields->removeWidget(typed.Label);
        m_typedFields->removeWidget(typed.Edit);
        // Compact, a caption of fewer lines sits just above its field.
        m_typedFields->addWidget(typed.Label, compact ? 0 : i, compact ? i : 0,
            compact ? Qt::AlignBottom : Qt::Alignment());
        m_typedFields->addWidget(typed.Edit, compact ? 1 : i, compact ? i : 1);
    }
    // The derived quantities below the sliders, or compact beside the
    // presets, which then take two columns.
    m_leftColumn->removeWidget(DerivedLabel);
    m_presetRow->removeWidget(DerivedLabel);
    if (compact)
        m_presetRow->addWidget(DerivedLabel, 1);
    else
        m_leftColumn->insertWidget(m_leftColumn->count() - 1, DerivedLabel, 1);
    // Compact, the chart's row takes Keep and Clear, and the status line
    // shares the row of Apply and Close.
    for (QWidget *control :
        std::initializer_list<QWidget *> { KeepButton, ClearKeptButton, StatusLabel }) {
        m_chartOptions->removeWidget(control);
        m_buttons->removeWidget(control);
        m_rightColumn->removeWidget(control);
    }
    if (compact) {
        m_chartOptions->addWidget(KeepButton);
        m_chartOptions->addWidget(ClearKeptButton);
        m_buttons->insertWidget(0, StatusLabel, 1);
    } else {
        m_buttons->insertWidget(0, KeepButton);
        m_buttons->insertWidget(1, ClearKeptButton);
        m_rightColumn->insertWidget(m_rightColumn->count() - 1, StatusLabel);
    }
    for (QPushButton *button : { KeepButton, ClearKeptButton, ApplyButton, CloseButton })
        button->setMinimumWidth(compact ? 0 : ButtonWidth);
    m_rightColumn->setSpacing(compact ? CompactRowGap : RowGap);
    const int columns = compact ? 2 : 3;
    for (int i = 0; i < PresetCount; ++i) {
        m_presetGrid->removeWidget(PresetButtons[i]);
        m_presetGrid->addWidget(PresetButtons[i], i / columns, i % columns);
    }
    // A layout caches its size until told; those around the ones changed, too.
    for (QLayout *layout : m_surface->findChildren<QLayout *>())
        layout->invalidate();
}

void ExploreWindow::resizeEvent(QResizeEvent *event)
{
    FitArrangement(event->size());
    QWidget::resizeEvent(event);
}

void ExploreWindow::FitArrangement(const QSize &room)
{
    // What the full arrangement needs depends on the derived quantities'
    // lines and on how the captions wrap, so it is measured.
    if (m_compact)
        Arrange(false);
    const QLayout &columns = *m_surface->layout();
    const QSize least = columns.totalMinimumSize();
    const int needed = columns.hasHeightForWidth() ? columns.totalHeightForWidth(room.width()) : 0;
    if (room.width() < least.width() || room.height() < std::max(least.height(), needed))
        Arrange(true);
}

void ExploreWindow::Open(const ModelParameters &parameters)
{
    // Open already, it keeps the what-if under way.
    if (!isVisible()) {
        ShowValues(parameters, true);
        ValuesChanged();
        // Showing keeps it within the screen (ScreenFit), rearranged for a smaller size.
        resize(ContentSize);
        PlaceBesideParent(screen()->availableGeometry());
    }
    show();
    raise();
    activateWindow();
}

void ExploreWindow::PlaceBesideParent(const QRect &available)
{
    if (!parentWidget())
        return;
    const std::optional<QPoint> beside = PositionBeside(
        parentWidget()->window()->frameGeometry(), frameGeometry().size(), available);
    if (beside)
        move(*beside);
}

void ExploreWindow::hideEvent(QHideEvent *event)
{
    // Minimising is no closing: the analysis windows keep following.
    if (!event->spontaneous())
        emit Closed();
    QWidget::hideEvent(event);
}

QStringList ExploreWindow::HandoutNotes() const
{
    return DerivedLabel->text().split(QLatin1Char('\n'));
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
        Fields[i]->SetValue(*values.fields()[FieldIndex(ShownFields[i].field)], refit);
}

void ExploreWindow::ValuesChanged()
{
    ShowDerived(m_values);
    ShowStatus(Captions.Computing);
    m_computer->Request(m_values);
    emit ValuesShown(m_values);
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
    const bool linesChanged = DerivedLabel->text().count(QLatin1Char('\n')) != lines.size() - 1;
    DerivedLabel->setText(lines.join(QLatin1Char('\n')));
    if (linesChanged)
        FitArrangement(size());
    Chart->setAccessibleDescription(lines.join(QStringLiteral("; ")));
}

void ExploreWindow::MotionComputed(const ComputedMotion &computed)
{
    switch (computed.Result) {
    case ComputedMotion::Done:
        ShowStatus({});
        break;
    case ComputedMotion::TooLarge:
        ShowStatus(RefusalText(computed.Refusal));
        break;
    case ComputedMotion::OutOfMemory:
        ShowStatus(Captions.OutOfMemory);
        break;
    }
    Chart->SetMotion(computed.Parameters, computed.Motion);
    emit MotionShown(computed.Parameters, computed.Motion.get());
}

QString ExploreWindow::TypedRefusal() const
{
    for (const ParameterSlider *field : Fields) {
        if (!field->HoldsNumber())
            return Captions.NotANumber.arg(field->Edit->text());
    }
    return {};
}

void ExploreWindow::ShowStatus(const QString &state)
{
    const QString typed = TypedRefusal();
    StatusLabel->setText(typed.isEmpty() ? state : typed);
}

QString ExploreWindow::RefusalText(const ComputationRefusal &refusal) const
{
    return refusal.reason == ComputationRefusal::TooManySteps ? Captions.TooManySteps
                                                              : Captions.TooManySamples;
}

QString ExploreWindow::ApplyRefusal() const
{
    // The values hold the last number, not what the field shows.
    if (const QString typed = TypedRefusal(); !typed.isEmpty())
        return typed;
    if (DeriveQuantities(m_values).Regime == DampingRegime::Undefined)
        return Captions.Undefined;
    if (!(m_values.TimeStep > 0 && m_values.PrintStep > 0))
        return Captions.StepsNotPositive;
    // The main window computes what it reads back from the file.
    ModelParameters written = m_values;
    for (int field = 0; field < ModelParameters::Count; ++field)
        *written.fields()[field] = WrittenValue(field, *written.fields()[field]);
    if (const std::optional<ComputationRefusal> refusal = MotionModel::RefusalFor(written))
        return RefusalText(*refusal);
    return {};
}

void ExploreWindow::Apply()
{
    if (const QString refusal = ApplyRefusal(); !refusal.isEmpty()) {
        ShowMessageBox(refusal, QString(), MessageBoxKind::Error);
        return;
    }
    const auto fields = m_values.fields();
    for (int field = 0; field < ModelParameters::Count; ++field) {
        if (!WrittenAsZero(field, *fields[field]))
            continue;
        ShowMessageBox(Captions.LostAsZero.arg(
                           m_parameterCaptions[field], ShownValue(SmallestWrittenValue(field))),
            QString(), MessageBoxKind::Error);
        for (std::size_t i = 0; i < Fields.size(); ++i) {
            if (FieldIndex(ShownFields[i].field) == field)
                Fields[i]->Edit->setFocus();
        }
        return;
    }
    // WriteParameterFile leaves no reason to tell; the values stay here to try again.
    const std::string path = ParameterFilePath();
    if (!WriteParameterFile(path, m_values)) {
        ShowMessageBox(Captions.WriteFailed.arg(QString::fromLocal8Bit(path)), QString(),
            MessageBoxKind::Error);
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
