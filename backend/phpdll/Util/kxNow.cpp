#include "Util/kxNow.h"

#include <cstdio>

std::string kxCompactTime(const struct tm &t)
{
    char text[64];
    snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
             t.tm_hour, t.tm_min, t.tm_sec);
    return text;
}

std::string kxCompactNow()
{
    time_t now = time(nullptr);
    struct tm local;
    localtime_r(&now, &local);
    return kxCompactTime(local);
}
