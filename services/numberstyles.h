#pragma once

#include "model/numberformat.h"

#include <QString>

// The number styles of the program's texts, with the separators of QLocale().

// The separators the program shows numbers with.
NumberSeparators UserNumberSeparators();

// precision significant digits, exactly decimals digits after the separator,
// grouped; the general style for a value with more than precision digits
// before the separator.
QString NumberStyle(double value, int precision, int decimals);

// precision significant digits in the shortest form; scientific notation with
// at least exponentDigits exponent digits outside [0.0001, 10^precision).
QString GeneralStyle(double value, int precision, int exponentDigits);

// A number the user typed, with QLocale()'s decimal separator (TextToFloat);
// throws ConvertError.
float UserTextToFloat(const QString &text);
