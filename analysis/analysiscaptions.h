#pragma once

#include <QString>

// The built-in texts of the resonance and energy windows, kept in one place
// so that the localisation step can replace them before the window captions
// its controls; the members that caption a control carry the control's name.

struct ResonanceCaptions
{
    QString FormCaption = QStringLiteral("Резонансная кривая");
    QString Label1 = QStringLiteral("Амплитуда: половина размаха x(t) за последнюю четверть "
                                    "времени расчета (не меньше периода силы)");
    QString Button1 = QStringLiteral("Отмена");
    QString Button2 = QStringLiteral("Закрыть");
    QString PlotName = QStringLiteral("Резонансная кривая: амплитуда от частоты силы");
    QString AmplitudeAxis = QStringLiteral("A, м");
    QString FrequencyAxis = QStringLiteral("ω / ω₀");
    QString SweepLegend = QStringLiteral("расчет");
    QString ClosedFormLegend = QStringLiteral("установившийся режим A(ω)");
    QString CurrentLegend = QStringLiteral("текущая частота");
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

    bool operator==(const ResonanceCaptions &) const = default;
};

struct EnergyCaptions
{
    QString FormCaption = QStringLiteral("Энергия");
    QString Label1 = QStringLiteral(
        "Работы — по формуле трапеций; невязка E − E(0) − Aс − Aв — погрешность расчета");
    QString Button1 = QStringLiteral("Закрыть");
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
