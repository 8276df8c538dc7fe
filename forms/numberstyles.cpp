#include "numberstyles.h"

#include <QLocale>

QString NumberStyle(double value, int, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

QString GeneralStyle(double value, int precision, int)
{
    return QLocale().toString(value, 'g', precision);
}
