#pragma once

#include <QString>

// The built-in texts of the resonance, energy and explore windows, kept in one place
// so that the localisation step can replace them before the window captions
// its controls.

// Where the values an analysis window shows come from: the parameter file,
// or the explore window's controls while it is open.
enum class ParameterSource { File, Explore };

// The line of the resonance and energy windows that names their values' source.
struct ParameterSourceCaptions
{
    QString File = QStringLiteral("Параметры: файл параметров");
    QString Explore = QStringLiteral("Параметры: значения окна «Исследование»");

    const QString &Of(ParameterSource source) const
    {
        return source == ParameterSource::Explore ? Explore : File;
    }
    bool operator==(const ParameterSourceCaptions &) const = default;
};

struct ResonanceCaptions
{
    QString FormCaption = QStringLiteral("Резонансная кривая");
    QString Rule = QStringLiteral("Амплитуда: половина размаха x(t) за последнюю четверть "
                                  "времени расчета (не меньше периода силы)");
    QString PhaseRule = QStringLiteral("Сдвиг фаз: первая гармоника x(t) за целые периоды силы "
                                       "в том же интервале, отставание от силы");
    QString Cancel = QStringLiteral("Отмена");
    QString Close = QStringLiteral("Закрыть");
    QString PlotName = QStringLiteral("Резонансная кривая: амплитуда от частоты силы");
    QString AmplitudeAxis = QStringLiteral("A, м");
    QString FrequencyAxis = QStringLiteral("ω / ω₀");
    QString SweepLegend = QStringLiteral("расчет");
    QString ClosedFormLegend = QStringLiteral("установившийся режим A(ω)");
    QString CurrentLegend = QStringLiteral("текущая частота");
    QString PhaseAxis = QStringLiteral("φ, °");
    QString PhaseSweepLegend = QStringLiteral("сдвиг фаз: расчет");
    QString PhaseClosedFormLegend = QStringLiteral("φ = atan2(bω, k − mω²)");
    QString PhaseUndamped
        = QStringLiteral("При b = 0 установившегося режима нет, и сдвиг фаз не определен");
    // The current drive frequency's mark: %1 the frequency, %2 the amplitude
    // and %3 the phase lag read from the swept curve.
    QString Mark = QStringLiteral("ω = %1 1/с: A = %2 м, φ = %3°");
    QString MarkUndamped = QStringLiteral("ω = %1 1/с: A = %2 м");
    ParameterSourceCaptions Source;
    QString ClosedForm
        = QStringLiteral("Линия: A(ω) = (F₀/m) / √((ω₀² − ω²)² + (bω/m)²), ω₀ = √(k/m) = %1 1/с");
    QString Undamped = QStringLiteral(
        "При b = 0 установившегося режима нет: точки — нарастающий переходный процесс, а не A(ω)");
    QString Running = QStringLiteral("Расчет: %1 из %2 точек");
    QString Cancelled = QStringLiteral("Расчет отменен: рассчитано %1 из %2 точек");
    // %1 why: OutOfMemory or PointTooLarge.
    QString Failed = QStringLiteral("Расчет прерван: %1");
    QString OutOfMemory = QStringLiteral("недостаточно памяти");
    QString PointTooLarge = QStringLiteral(
        "для одной из частот получается слишком много точек; увеличьте шаг печати");
    QString NoNaturalFrequency = QStringLiteral("Нужны масса и жесткость больше нуля");
    QString NoDrivingForce
        = QStringLiteral("При F₀ = 0 движение от частоты не зависит: проходить по частотам нечего");
    QString NoMotion = QStringLiteral("Нужны шаг расчета, шаг печати и время расчета больше нуля");
    QString TooMuchWork = QStringLiteral(
        "Слишком долгий расчет: увеличьте шаг расчета или уменьшите время расчета");
    // The chart menu's message while there is no curve to export; the
    // section's MenuNoData key replaces it, as it does every menu's.
    QString NoCurve = QStringLiteral("Резонансная кривая не рассчитана");

    bool operator==(const ResonanceCaptions &) const = default;
};

struct EnergyCaptions
{
    QString FormCaption = QStringLiteral("Энергия");
    QString Method = QStringLiteral(
        "Работы — по формуле трапеций; невязка E − E(0) − Aс − Aв — погрешность расчета");
    QString Close = QStringLiteral("Закрыть");
    ParameterSourceCaptions Source;
    QString PlotName = QStringLiteral("Энергии и работы сил от времени");
    QString EnergyAxis = QStringLiteral("Дж");
    QString ResidualAxis = QStringLiteral("невязка, Дж");
    QString TimeAxis = QStringLiteral("t, сек");
    QString Kinetic = QStringLiteral("кинетическая m·v²/2");
    QString Spring = QStringLiteral("упругая k·x²/2");
    QString DamperWork = QStringLiteral("работа сопротивления Aс = ∫−b·v² dt");
    QString DriveWork = QStringLiteral("работа вынуждающей силы Aв = ∫F·v dt");
    QString Residual = QStringLiteral("невязка баланса (правая шкала)");
    QString NoMotion = QStringLiteral("Движение не рассчитано");

    bool operator==(const EnergyCaptions &) const = default;
};

struct ExploreCaptions
{
    QString FormCaption = QStringLiteral("Исследование");
    QString PlotName = QStringLiteral("Движение груза при значениях ползунков");
    QString ShowVelocity = QStringLiteral("Скорость v(t)");
    QString ShowForce = QStringLiteral("Сила F(t)");
    // Undoes the zoom of the time axis.
    QString WholeRun = QStringLiteral("Весь расчет");
    QString Presets = QStringLiteral("Готовые режимы");
    QString FreeOscillationPreset = QStringLiteral("Свободные колебания");
    QString UnderdampedPreset = QStringLiteral("Слабое затухание");
    QString CriticallyDampedPreset = QStringLiteral("Критическое затухание");
    QString OverdampedPreset = QStringLiteral("Сильное затухание");
    QString ResonancePreset = QStringLiteral("Резонанс");
    QString BeatsPreset = QStringLiteral("Биения");
    QString HorizontalPlanePreset = QStringLiteral("Горизонтальная плоскость");
    QString NominalPreset = QStringLiteral("Исходные значения");
    QString Keep = QStringLiteral("Запомнить");
    QString ClearKept = QStringLiteral("Очистить");
    QString Apply = QStringLiteral("Применить");
    QString Close = QStringLiteral("Закрыть");
    QString TimeAxis = QStringLiteral("t, сек");
    QString CoordinateAxis = QStringLiteral("x, м");
    QString VelocityAxis = QStringLiteral("v, м/с (правая шкала)");
    // Above the force's scale, in the force's colour.
    QString ForceAxis = QStringLiteral("F, Н");
    QString ForceLegend = QStringLiteral("F(t), Н");
    // %1 what differs from the current values: "name = value; ...".
    QString Kept = QStringLiteral("запомнено: %1");
    QString KeptSame = QStringLiteral("запомнено: те же значения");
    // The current curve's legend entry.
    QString Current = QStringLiteral("текущая");
    QString NaturalFrequency = QStringLiteral("ω₀ = √(k/m) = %1 1/с");
    QString DampingRatio = QStringLiteral("ζ = b / (2√(km)) = %1");
    QString CriticalDamping = QStringLiteral("Критическое демпфирование 2√(km) = %1 Н·с/м");
    QString ResonanceFrequency = QStringLiteral("Резонансная частота ω₀√(1 − 2ζ²) = %1 1/с");
    QString NoResonance = QStringLiteral("Резонансного пика нет (ζ ≥ 0,707)");
    QString DampedPeriod = QStringLiteral("Период затухающих колебаний 2π/ω₁ = %1 с");
    QString NoPeriod = QStringLiteral("Колебаний нет (ζ ≥ 1)");
    QString QualityFactor = QStringLiteral("Добротность 1/(2ζ) = %1");
    QString Infinite = QStringLiteral("∞");
    QString Undefined = QStringLiteral("Нужны масса и жесткость больше нуля и демпфирование не "
                                       "меньше нуля");
    QString Undamped = QStringLiteral("Режим: без затухания");
    QString Underdamped = QStringLiteral("Режим: слабое затухание (ζ < 1)");
    QString CriticallyDamped = QStringLiteral("Режим: критическое затухание (ζ = 1)");
    QString Overdamped = QStringLiteral("Режим: сильное затухание (ζ > 1)");
    QString AtResonance = QStringLiteral("Сила действует на резонансной частоте");
    QString CursorHint = QStringLiteral("Курсор: мышь или стрелки; два щелчка измеряют Δt и Δx");
    QString ZoomHint = QStringLiteral("Масштаб времени: колесо, протяжка мышью, + и −; весь "
                                      "расчет: двойной щелчок или 0");
    // %1 the time, %2 the coordinate, %3 the velocity.
    QString CursorValue = QStringLiteral("t = %1 с, x = %2 м, v = %3 м/с");
    // %1 the time span, %2 the coordinate difference.
    QString Measured = QStringLiteral("Δt = %1 с, Δx = %2 м");
    // Follows CursorValue while the force is shown; %1 the force.
    QString CursorForce = QStringLiteral("F = %1 Н");
    QString Computing = QStringLiteral("Расчет…");
    QString NoMotion = QStringLiteral("Движение не рассчитано");
    QString TooManySteps = QStringLiteral(
        "Слишком долгий расчет: увеличьте шаг расчета или уменьшите время расчета");
    QString TooManySamples = QStringLiteral("Слишком много точек: увеличьте шаг печати");
    QString OutOfMemory = QStringLiteral("Недостаточно памяти для расчета");
    // %1 the text typed.
    QString NotANumber = QStringLiteral("«%1» — не число");
    // %1 the parameter's name, %2 the smallest value the file holds there.
    QString LostAsZero = QStringLiteral("Значение поля «%1» слишком мало: в файл оно записалось "
                                        "бы как 0. Наименьшее значение, которое хранит файл: %2");
    QString StepsNotPositive = QStringLiteral("Нужны шаг расчета и шаг печати больше нуля");
    // %1 the parameter file's path.
    QString WriteFailed
        = QStringLiteral("Файл параметров «%1» не записан: нет права на запись, это "
                         "не обычный файл или на диске нет места. Значения остались "
                         "в окне.");

    bool operator==(const ExploreCaptions &) const = default;
};
