// Small conversions of values: month and day names, lengths between units and points, and a
// flag's negation.
#include "lib/host/conversions.h"

#include <string>

#include "lib/strings/heapstr.h"

StringT om_MonthName(IntT month, IntT shortName) {
    static const char *const names[] = {"January", "February", "March",     "April",   "May",      "June",
                                        "July",    "August",   "September", "October", "November", "December"};
    if (month < 1 || month > 12) return qv::NewHeapString("error, out of range");
    std::string n = names[month - 1];
    return qv::NewHeapString(shortName ? n.substr(0, 3) : n);
}

StringT om_DayName(IntT day, IntT shortName) {
    static const char *const names[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
    if (day < 1 || day > 7) return qv::NewHeapString("error, out of range");
    std::string n = names[day - 1];
    return qv::NewHeapString(shortName ? n.substr(0, 3) : n);
}

IntT om_Not(IntT flag) { return flag == 0 ? 1 : 0; }

RealT om_LengthToPoints(RealT value, IntT unit) {
    if (unit == 1 || unit == 3) return value * 72.0;
    if (unit == 2 || unit == 4) return value / 2.54 * 72.0;
    return value;
}

RealT om_PointsToLength(RealT points, IntT unit) {
    if (unit == 1 || unit == 3) return points / 72.0;
    if (unit == 2 || unit == 4) return points / 72.0 * 2.54;
    return points;
}
