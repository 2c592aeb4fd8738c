#ifndef KX_NOW_H
#define KX_NOW_H

#include <ctime>
#include <string>

// The compact time of getNow(): "%04d%02d%02d%02d%02d%02d" from year,
// month (1-12), day, hour, minute and second, 14 characters.
std::string kxCompactTime(const struct tm &t);
// The current local time in that form.
std::string kxCompactNow();

#endif
