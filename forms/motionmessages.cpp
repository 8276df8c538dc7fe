#include "forms/motionmessages.h"

#include "model/modelparameters.h"
#include "model/motionmodel.h"
#include "services/numberstyles.h"

#include <QStringList>

namespace {

QString general(double value)
{
    return GeneralStyle(value, 6, 0);
}

QString whole(double value)
{
    return NumberStyle(value, 15, 0);
}

} // namespace

QString RefusalMessage(const MotionMessageTexts &texts, const ComputationRefusal &refusal)
{
    const QString stop = general(refusal.stopTime);
    const QString step = general(refusal.step);
    const QString needed = whole(refusal.needed);
    const QString allowed = whole(refusal.allowed);
    if (refusal.reason == ComputationRefusal::TooManySteps)
        return texts.TooManySteps.arg(stop, step, needed, allowed);
    const QString &samples = refusal.reason == ComputationRefusal::TooManySamples
        ? texts.TooManySamples
        : texts.TooManySampledSteps;
    return samples.arg(stop, step, needed, allowed, general(refusal.fittingPrintStep));
}

QString MotionWarningMessage(const MotionMessageTexts &texts, const MotionWarning &warning)
{
    QStringList sentences;
    switch (warning.stillness) {
    case MotionWarning::Moving:
        break;
    case MotionWarning::PrintStepNotPositive:
        sentences.append(texts.PrintStepNotPositive.arg(general(warning.printStep)));
        break;
    case MotionWarning::TimeStepNotPositive:
        sentences.append(texts.TimeStepNotPositive.arg(general(warning.timeStep)));
        break;
    }
    if (warning.timesNotOfStates)
        sentences.append(texts.TimesNotOfStates.arg(
            general(warning.printStep), general(warning.timeStep), general(warning.sampleSpacing)));
    switch (warning.nonFinite) {
    case MotionWarning::Finite:
        break;
    case MotionWarning::FromTime:
        sentences.append(texts.NotNumbersFromTime.arg(general(warning.nonFiniteTime)));
        break;
    case MotionWarning::InOrigin:
        sentences.append(texts.NotNumbersInOrigin);
        break;
    }
    return sentences.join(QLatin1Char(' '));
}

QString ReadingWarningMessage(
    const MotionMessageTexts &texts, const ParameterFileReading &reading, const QString &path)
{
    if (!reading.HasProblem())
        return {};
    const QString line = QString::number(reading.ProblemLine);
    const QString text = QString::fromLocal8Bit(reading.ProblemText);
    if (reading.DecimalComma)
        return texts.DecimalComma.arg(path, line, text);
    const QString read = QString::number(reading.ValuesRead);
    const QString count = QString::number(ModelParameters::Count);
    if (reading.EmptyFile)
        return texts.EmptyFile.arg(path, read, count);
    if (reading.ProblemText.empty())
        return texts.MissingLine.arg(path, read, count, line);
    return texts.StoppedOnLine.arg(path, read, count, line, text);
}
