// Schedule: the rules that turn the text fields of a background-activity
// schedule into numbers and tell whether it is due against the local clock.
//
// Dates and times are decimal integers of fixed layouts (YYYYMMDD, hhmm,
// YYYYMMDDhhmm), not calendar values; several rules compare those integers
// directly, and the daemon's data file has always been read that way.
//
// Every function reads the current time through Schedule::now(), which is
// time(nullptr) unless a test installs its own clock with setClock().
#ifndef ARRAYWATCH_SCHEDULE_H
#define ARRAYWATCH_SCHEDULE_H

#include <cstdint>
#include <ctime>
#include <string>

class Schedule {
 public:
  static const int TYPE_RUN_ONCE = 0;
  static const int TYPE_RUN_DAY = 1;
  static const int TYPE_RUN_WEEK = 2;
  static const int TYPE_RUN_MONTH = 3;
  static const int TYPE_STATUS_NOTRUN = 0;
  static const int TYPE_STATUS_DAEMON = 1;
  static const int TYPE_STATUS_RUN = 2;
  static const char* const TYPE_STATUS_SET;  // "1"
  static const unsigned RUN_WAIT = 50;       // ticks between two passes
  static const int BGA_IS_ACCELERATE = 55;

  // The clock seam. nullptr restores the system clock.
  typedef time_t (*ClockFn)();
  static void setClock(ClockFn clock);
  static time_t now();

  static unsigned long getNowWeekDay();   // 0 = Sunday .. 6
  static unsigned long getNowMonthDay();  // 1 .. 31

  static unsigned long formatMonthDate(std::string text);  // capped at 31
  static unsigned long formatWeekDate(std::string text);   // capped at 6
  static unsigned long formatInterval(std::string text);
  // Left-padded with '0' to width, then cut to width characters.
  static std::string formatNum(std::string text, int width);

  static bool inDate(std::string date, int type);
  static bool inTimeArea(std::string time);
  static bool isNow(std::string date);
  static bool beforeNow(std::string date);
  static bool notAfterNow(std::string date, std::string time);

  static long daysCountFromNow(std::string date);
  static long weeksCountFromNow(std::string date);
  static long monthsCountFromNow(std::string date);

  // Number extraction as a formatted stream does it: leading blanks, an
  // optional sign, digits; the rest is ignored. `ok` tells whether any digit
  // was found (the value is then `fallback`).
  static long long parseSigned(const std::string& text, long long fallback, bool* ok = nullptr);
  static unsigned long long parseUnsigned(const std::string& text, unsigned long long fallback,
                                          bool* ok = nullptr);

 private:
  static struct tm nowLocal();
  static long todayInt();
  static long long wallSecondsSince(const std::string& date);
};

#endif
