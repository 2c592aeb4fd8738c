#include "Schedule.h"

#include <cctype>
#include <climits>
#include <cmath>

const char* const Schedule::TYPE_STATUS_SET = "1";

namespace {
Schedule::ClockFn gClock = nullptr;

// Days since 1970-01-01 of a proleptic Gregorian date; month and day may lie
// out of range and are carried over the way mktime normalises them.
long long civilDays(long long year, long long month, long long day) {
  long long m0 = month - 1;
  year += m0 >= 0 ? m0 / 12 : -((11 - m0) / 12);
  m0 = ((m0 % 12) + 12) % 12;
  long long m = m0 + 1;
  long long y = m <= 2 ? year - 1 : year;
  long long era = (y >= 0 ? y : y - 399) / 400;
  long long yoe = y - era * 400;
  long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5;
  long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468 + (day - 1);
}

// The digits of characters [from, from+len) of text, as a signed number.
long long fieldOf(const std::string& text, size_t from, size_t len, long long fallback) {
  if (text.size() <= from) return fallback;
  return Schedule::parseSigned(text.substr(from, len), fallback);
}
}  // namespace

void Schedule::setClock(ClockFn clock) { gClock = clock; }

time_t Schedule::now() { return gClock ? gClock() : std::time(nullptr); }

struct tm Schedule::nowLocal() {
  time_t t = now();
  struct tm local = {};
  localtime_r(&t, &local);
  return local;
}

long Schedule::todayInt() {
  struct tm n = nowLocal();
  return (n.tm_year + 1900L) * 10000L + (n.tm_mon + 1L) * 100L + n.tm_mday;
}

namespace {
// Leading blanks, an optional sign, then digits. False when no digit follows.
bool scanNumber(const std::string& text, bool* negative, unsigned long long* magnitude, bool* overflow) {
  size_t i = 0;
  while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
  *negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) *negative = text[i++] == '-';
  if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return false;
  *magnitude = 0;
  *overflow = false;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    unsigned digit = static_cast<unsigned>(text[i] - '0');
    if (*magnitude > (ULLONG_MAX - digit) / 10) *overflow = true;
    else *magnitude = *magnitude * 10 + digit;
  }
  return true;
}
}  // namespace

long long Schedule::parseSigned(const std::string& text, long long fallback, bool* ok) {
  bool negative = false, overflow = false;
  unsigned long long magnitude = 0;
  bool found = scanNumber(text, &negative, &magnitude, &overflow);
  if (ok) *ok = found;
  if (!found) return fallback;
  // A stream saturates on overflow; do the same rather than wrap.
  const unsigned long long limit = static_cast<unsigned long long>(LLONG_MAX);
  if (negative) return (overflow || magnitude > limit) ? LLONG_MIN : -static_cast<long long>(magnitude);
  return (overflow || magnitude > limit) ? LLONG_MAX : static_cast<long long>(magnitude);
}

unsigned long long Schedule::parseUnsigned(const std::string& text, unsigned long long fallback, bool* ok) {
  bool negative = false, overflow = false;
  unsigned long long value = 0;
  bool found = scanNumber(text, &negative, &value, &overflow);
  if (ok) *ok = found;
  if (!found) return fallback;
  if (overflow) return ULLONG_MAX;
  // Unsigned extraction negates a signed text modulo 2^64, as strtoull does.
  return negative ? 0ULL - value : value;
}

unsigned long Schedule::getNowWeekDay() { return static_cast<unsigned long>(nowLocal().tm_wday); }

unsigned long Schedule::getNowMonthDay() { return static_cast<unsigned long>(nowLocal().tm_mday); }

unsigned long Schedule::formatMonthDate(std::string text) {
  unsigned long long v = parseUnsigned(text, 0);
  return v > 31 ? 31UL : static_cast<unsigned long>(v);
}

unsigned long Schedule::formatWeekDate(std::string text) {
  unsigned long long v = parseUnsigned(text, 0);
  return v > 6 ? 6UL : static_cast<unsigned long>(v);
}

unsigned long Schedule::formatInterval(std::string text) {
  return static_cast<unsigned long>(parseUnsigned(text, 0));
}

std::string Schedule::formatNum(std::string text, int width) {
  if (width <= 0) return std::string();
  size_t w = static_cast<size_t>(width);
  if (text.size() < w) text.insert(0, w - text.size(), '0');
  return text.substr(0, w);
}

bool Schedule::inDate(std::string date, int type) {
  long long limit = type == TYPE_RUN_WEEK ? 7 : type == TYPE_RUN_MONTH ? 30 : 1;
  long long start = parseSigned(date, 0);
  // Saturated values from absurd texts must not overflow the difference.
  if (start < -1000000000LL || start > 1000000000LL) return start < 0;
  return todayInt() - start >= limit;
}

bool Schedule::inTimeArea(std::string time) {
  struct tm n = nowLocal();
  long long t = parseSigned(time, 0);
  if (t < -100000LL || t > 100000LL) return false;
  long long diff = (n.tm_hour * 100LL + n.tm_min) - t;
  return diff >= 0 && diff <= 10;
}

bool Schedule::isNow(std::string date) { return parseSigned(date.substr(0, 8), 0) == todayInt(); }

bool Schedule::beforeNow(std::string date) { return parseSigned(date.substr(0, 8), 0) <= todayInt(); }

bool Schedule::notAfterNow(std::string date, std::string time) {
  struct tm n = nowLocal();
  uint64_t current = static_cast<uint64_t>(n.tm_year + 1900) * 100000000ULL +
                     static_cast<uint64_t>(n.tm_mon + 1) * 1000000ULL + static_cast<uint64_t>(n.tm_mday) * 10000ULL +
                     static_cast<uint64_t>(n.tm_hour) * 100ULL + static_cast<uint64_t>(n.tm_min);
  return parseUnsigned(date + time, 0) <= current;
}

// Seconds of local wall-clock time from the date's midnight to now. Counting
// in wall-clock time rather than in elapsed seconds keeps a daylight-saving
// change from moving a day boundary: the count of whole days between two
// local midnights is always whole, summer or winter.
long long Schedule::wallSecondsSince(const std::string& date) {
  long long year = fieldOf(date, 0, 4, 0);
  long long month = fieldOf(date, 4, 2, 0);
  long long day = fieldOf(date, 6, 2, 0);
  // Keep absurd digit strings inside a range where the day arithmetic is exact.
  if (year < -1000000 || year > 1000000) year = year < 0 ? -1000000 : 1000000;
  struct tm n = nowLocal();
  long long days = civilDays(n.tm_year + 1900LL, n.tm_mon + 1LL, n.tm_mday) - civilDays(year, month, day);
  return days * 86400LL + n.tm_hour * 3600LL + n.tm_min * 60LL + n.tm_sec;
}

long Schedule::daysCountFromNow(std::string date) {
  long long days = wallSecondsSince(date) / 86400LL;  // truncates toward zero
  return static_cast<long>(days < 0 ? -days : days);
}

long Schedule::weeksCountFromNow(std::string date) {
  return static_cast<long>(wallSecondsSince(date) / (86400LL * 7));
}

long Schedule::monthsCountFromNow(std::string date) {
  long long year = fieldOf(date, 0, 4, 1900);
  long long month = fieldOf(date, 4, 2, 0);
  if (year < -1000000 || year > 1000000) year = year < 0 ? -1000000 : 1000000;
  if (month < -1000000 || month > 1000000) month = month < 0 ? -1000000 : 1000000;
  struct tm n = nowLocal();
  return static_cast<long>((n.tm_mon + 1LL - month) + 12LL * (n.tm_year + 1900LL - year));
}
