#pragma once

#include <QString>

struct ComputationRefusal;
struct MotionWarning;
struct ParameterFileReading;

// The main window's sentences on what the reading of the parameter file and
// the computation report. %1, %2, ... stand for the figures the comment
// names, written with the separators of QLocale().
struct MotionMessageTexts
{
    // %1 stop time, %2 time step, %3 steps needed, %4 steps allowed.
    QString TooManySteps = QStringLiteral(
        "Время расчета %1 с при шаге расчета %2 с требует шагов интегрирования: %3, а "
        "допускается не более %4. Увеличьте шаг расчета или уменьшите время расчета.");
    // %1 stop time, %2 print step, %3 samples needed, %4 samples allowed,
    // %5 the smallest print step that fits.
    QString TooManySamples = QStringLiteral(
        "Время расчета %1 с при шаге печати %2 с требует точек: %3, а допускается не более %4. "
        "Задайте шаг печати не меньше %5 с или уменьшите время расчета.");
    // As TooManySamples, with the sampling interval as %2.
    QString TooManySampledSteps = QStringLiteral(
        "Время расчета %1 с при интервале между точками %2 с требует точек: %3, а допускается "
        "не более %4. Задайте шаг печати не меньше %5 с или уменьшите время расчета.");
    QString OutOfMemory = QStringLiteral("Недостаточно памяти для расчета");

    // %1 print step.
    QString PrintStepNotPositive
        = QStringLiteral("Шаг печати %1 с не больше 0: показано только состояние в момент 0.");
    // %1 time step.
    QString TimeStepNotPositive = QStringLiteral(
        "Шаг расчета %1 с не больше 0: интегрирование не выполняется, и каждая точка повторяет "
        "состояние в момент 0.");
    // %1 print step, %2 time step, %3 the time between two computed samples.
    QString TimesNotOfStates = QStringLiteral(
        "Шаг печати %1 с не кратен шагу расчета %2 с: точки отстоят друг от друга на %3 с, "
        "поэтому показанное время (номер точки, умноженный на шаг печати) не совпадает со "
        "временем показанных состояний. Задайте шаг печати, кратный шагу расчета.");
    // %1 the time of the first such sample.
    QString NotNumbersFromTime = QStringLiteral(
        "Начиная с момента %1 с расчет дает значения, которые не являются числами (NAN или INF). "
        "Проверьте параметры: масса и жесткость пружины должны быть больше 0, а шаг расчета "
        "достаточно мал для этого движения.");
    QString NotNumbersInOrigin = QStringLiteral(
        "Положение начала системы координат получается не числом (NAN или INF). Проверьте "
        "параметры: масса и жесткость пружины должны быть больше 0, а шаг расчета достаточно мал "
        "для этого движения.");

    // %1 the file, %2 the line, %3 its text.
    QString DecimalComma = QStringLiteral(
        "В файле параметров %1 в строке %2 («%3») за целым числом следуют «,» и цифры: «,», "
        "набранная как десятичный разделитель, читается как два значения и сдвигает следующие. "
        "В файле десятичным разделителем должна быть «.».");
    // %1 the file, %2 values read, %3 values in a whole file.
    QString EmptyFile = QStringLiteral(
        "Файл параметров %1: прочитано значений: %2 из %3; файл пуст. Остальные параметры "
        "сохраняют прежние значения.");
    // As EmptyFile, %4 the line.
    QString MissingLine = QStringLiteral(
        "Файл параметров %1: прочитано значений: %2 из %3; строка %4 отсутствует или пуста. "
        "Остальные параметры сохраняют прежние значения.");
    // As MissingLine, %5 the line's text.
    QString StoppedOnLine = QStringLiteral(
        "Файл параметров %1: прочитано значений: %2 из %3; чтение остановилось на строке %4 "
        "(«%5»). Остальные параметры сохраняют прежние значения.");

    bool operator==(const MotionMessageTexts &) const = default;
};

// Why the computation was refused.
QString RefusalMessage(const MotionMessageTexts &texts, const ComputationRefusal &refusal);
// What is wrong with a result; empty when nothing is.
QString MotionWarningMessage(const MotionMessageTexts &texts, const MotionWarning &warning);
// What went wrong reading the file at path; empty when nothing did.
QString ReadingWarningMessage(
    const MotionMessageTexts &texts, const ParameterFileReading &reading, const QString &path);
