// The display unit's conversion, labels and number texts.
#include "common/display_unit_rules.h"

#include "common/number_format.h"

const char* unitLabel(DisplayUnit unit)
{
    return unit == PerLitre ? "ff/l" : "ff/cc";
}

double timesThousand(double value)
{
    DoubleRounding rounding;
    volatile double in = value;
    volatile double out = in * 1000;
    return out;
}

double perThousand(double value)
{
    DoubleRounding rounding;
    volatile double in = value;
    volatile double out = in / 1000;
    return out;
}

double convertUnit(double concentration, DisplayUnit unit)
{
    return unit == PerLitre ? timesThousand(concentration) : perThousand(concentration);
}

double concentrationInUnit(double concentrationPerCc, DisplayUnit unit)
{
    return unit == PerLitre ? timesThousand(concentrationPerCc) : concentrationPerCc;
}

std::string unitValueText(double value, DisplayUnit unit)
{
    return fixedText(value, unit == PerLitre ? 2 : 5);
}
