// Small conversions of values: month and day names, lengths between units and points, and a
// flag's negation.
#pragma once

#include "fdk.h"

// The English name of the month (1-12), its first three letters with the short flag; "error, out
// of range" otherwise. A new string.
StringT om_MonthName(IntT month, IntT shortName);
// The English name of the day (1 Sunday - 7), as om_MonthName.
StringT om_DayName(IntT day, IntT shortName);
// A length in inches (units 1, 3) or centimetres (2, 4) in points; other units are points already.
RealT om_LengthToPoints(RealT value, IntT unit);
// The inverse of om_LengthToPoints.
RealT om_PointsToLength(RealT points, IntT unit);
// 1 for 0, else 0.
IntT om_Not(IntT flag);
