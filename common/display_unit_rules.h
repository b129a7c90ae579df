// The unit concentrations are shown in: the main window's choice and the
// UNIT key of a .qvl file. The database and ESPOSIZIONE always hold ff/cc.
#pragma once

#include <string>

enum DisplayUnit : int { PerCc = 0, PerLitre = 1 };

// A stored UNIT value: 0 is ff/cc, any other ff/l.
inline DisplayUnit displayUnitOf(int value)
{
    return value != 0 ? PerLitre : PerCc;
}

// "ff/cc" or "ff/l".
const char* unitLabel(DisplayUnit unit);

// x 1000 (ff/cc into ff/l) and / 1000, the result rounded to double in both
// builds.
double timesThousand(double value);
double perThousand(double value);

// A concentration of the other unit, into unit.
double convertUnit(double concentration, DisplayUnit unit);

// A concentration stored in ff/cc, in unit.
double concentrationInUnit(double concentrationPerCc, DisplayUnit unit);

// F or a partial E already in the unit: "%-.5f" in ff/cc, "%-.2f" in ff/l.
std::string unitValueText(double value, DisplayUnit unit);

#if defined(__i386__) && !defined(__SSE2_MATH__)
// The x87 unit keeps 64-bit mantissas under MinGW's start-up code; rounding
// each step to 53 bits gives the native build's doubles. Hold one while
// computing through volatile doubles.
class DoubleRounding {
public:
    DoubleRounding()
    {
        __asm__ volatile("fnstcw %0" : "=m"(saved_) : : "memory");
        unsigned short control = static_cast<unsigned short>((saved_ & ~0x300) | 0x200);
        __asm__ volatile("fldcw %0" : : "m"(control) : "memory");
    }
    ~DoubleRounding() { __asm__ volatile("fldcw %0" : : "m"(saved_) : "memory"); }

private:
    unsigned short saved_;
};
#else
class DoubleRounding {
public:
    DoubleRounding() {}
};
#endif
