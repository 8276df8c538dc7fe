#include "services/numberstyles.h"

#include "model/numberformat.h"
#include "model/texttofloat.h"

#include <QLocale>

NumberSeparators UserNumberSeparators()
{
    const QLocale locale;
    const bool grouped = !(locale.numberOptions() & QLocale::OmitGroupSeparator);
    return { locale.decimalPoint().toStdString(),
        grouped ? locale.groupSeparator().toStdString() : std::string() };
}

QString NumberStyle(double value, int precision, int decimals)
{
    return QString::fromStdString(
        FormatNumberStyle(value, precision, decimals, UserNumberSeparators()));
}

QString GeneralStyle(double value, int precision, int exponentDigits)
{
    return QString::fromStdString(
        FormatGeneralStyle(value, precision, exponentDigits, UserNumberSeparators()));
}

float UserTextToFloat(const QString &text)
{
    return TextToFloat(text.toStdString(), QLocale().decimalPoint().toStdString());
}
