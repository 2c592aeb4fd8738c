// The schedule rules at fixed clock values.
#include <gtest/gtest.h>

#include <climits>

#include "Schedule.h"
#include "service_test_util.h"

namespace {

class ScheduleTest : public ::testing::Test {
 protected:
  ScopedTZ tz{"UTC"};
  FixedClock clock;
};

TEST(ScheduleParse, StreamLikeExtraction) {
  bool ok = false;
  EXPECT_EQ(Schedule::parseSigned("  42abc", 0, &ok), 42);
  EXPECT_TRUE(ok);
  EXPECT_EQ(Schedule::parseSigned("-17", 0), -17);
  EXPECT_EQ(Schedule::parseSigned("+8", 0), 8);
  EXPECT_EQ(Schedule::parseSigned("x12", 5, &ok), 5);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Schedule::parseSigned("-", 3, &ok), 3);
  EXPECT_FALSE(ok);
  EXPECT_EQ(Schedule::parseSigned("", 9), 9);
  // Overflow saturates instead of wrapping round to a small number.
  EXPECT_EQ(Schedule::parseSigned("99999999999999999999999", 0), LLONG_MAX);
  EXPECT_EQ(Schedule::parseSigned("-99999999999999999999999", 0), LLONG_MIN);
  EXPECT_EQ(Schedule::parseUnsigned("99999999999999999999999", 0), ULLONG_MAX);
  EXPECT_EQ(Schedule::parseUnsigned("-1", 0), ULLONG_MAX);
}

TEST(ScheduleFormat, MonthWeekAndIntervalCaps) {
  EXPECT_EQ(Schedule::formatMonthDate("45"), 31UL);
  EXPECT_EQ(Schedule::formatMonthDate("31"), 31UL);
  EXPECT_EQ(Schedule::formatMonthDate(" 7a"), 7UL);
  EXPECT_EQ(Schedule::formatMonthDate("abc"), 0UL);
  EXPECT_EQ(Schedule::formatWeekDate("9"), 6UL);
  EXPECT_EQ(Schedule::formatWeekDate("3"), 3UL);
  EXPECT_EQ(Schedule::formatInterval("no digits"), 0UL);
  EXPECT_EQ(Schedule::formatInterval("400"), 400UL);
  // A negative text wraps as unsigned extraction does, and is then capped.
  EXPECT_EQ(Schedule::formatMonthDate("-5"), 31UL);
}

TEST(ScheduleFormat, FormatNumPadsAndCuts) {
  EXPECT_EQ(Schedule::formatNum("7", 4), "0007");
  EXPECT_EQ(Schedule::formatNum("5", 2), "05");
  EXPECT_EQ(Schedule::formatNum("930", 4), "0930");
  EXPECT_EQ(Schedule::formatNum("", 1), "0");
  EXPECT_EQ(Schedule::formatNum("123", 2), "12");
  EXPECT_EQ(Schedule::formatNum("202501150930", 8), "20250115");
  for (int width = 1; width <= 12; ++width) {
    EXPECT_EQ(Schedule::formatNum("12345", width).size(), static_cast<size_t>(width)) << width;
  }
}

TEST_F(ScheduleTest, WeekDayAndMonthDay) {
  clock.set(2025, 1, 6, 14, 5);  // a Monday
  EXPECT_EQ(Schedule::getNowWeekDay(), 1UL);
  EXPECT_EQ(Schedule::getNowMonthDay(), 6UL);
  clock.set(2025, 1, 5, 23, 59);  // a Sunday
  EXPECT_EQ(Schedule::getNowWeekDay(), 0UL);
  clock.set(2025, 1, 31, 0, 0);
  EXPECT_EQ(Schedule::getNowMonthDay(), 31UL);
  EXPECT_EQ(Schedule::getNowWeekDay(), 5UL);
}

TEST_F(ScheduleTest, InDateComparesDateIntegers) {
  clock.set(2025, 2, 3, 12, 0);
  // Three days apart, but 20250203 - 20250131 = 72 passes even the monthly limit.
  EXPECT_TRUE(Schedule::inDate("20250131", Schedule::TYPE_RUN_MONTH));
  EXPECT_TRUE(Schedule::inDate("20250131", Schedule::TYPE_RUN_WEEK));
  EXPECT_TRUE(Schedule::inDate("20250202", Schedule::TYPE_RUN_DAY));
  EXPECT_FALSE(Schedule::inDate("20250203", Schedule::TYPE_RUN_DAY));
  EXPECT_FALSE(Schedule::inDate("20250204", Schedule::TYPE_RUN_DAY));
  EXPECT_FALSE(Schedule::inDate("20250201", Schedule::TYPE_RUN_WEEK));  // 2 < 7
  EXPECT_TRUE(Schedule::inDate("20250127", Schedule::TYPE_RUN_WEEK));   // 76
  EXPECT_FALSE(Schedule::inDate("20250201", Schedule::TYPE_RUN_MONTH));  // 2 < 30
  EXPECT_FALSE(Schedule::inDate("20250301", Schedule::TYPE_RUN_WEEK));   // future
  EXPECT_TRUE(Schedule::inDate("20250102", 7));  // unknown type: limit 1
  EXPECT_TRUE(Schedule::inDate("", Schedule::TYPE_RUN_DAY));  // no digits: 0
}

TEST_F(ScheduleTest, InTimeAreaIsElevenHhmmValues) {
  clock.set(2025, 1, 6, 13, 59);
  EXPECT_FALSE(Schedule::inTimeArea("1400"));
  clock.set(2025, 1, 6, 14, 0);
  EXPECT_TRUE(Schedule::inTimeArea("1400"));
  clock.set(2025, 1, 6, 14, 10, 59);
  EXPECT_TRUE(Schedule::inTimeArea("1400"));
  clock.set(2025, 1, 6, 14, 11);
  EXPECT_FALSE(Schedule::inTimeArea("1400"));
  clock.set(2025, 1, 6, 14, 59);
  EXPECT_TRUE(Schedule::inTimeArea("1455"));
  clock.set(2025, 1, 6, 15, 0);  // 1500 - 1455 = 45
  EXPECT_FALSE(Schedule::inTimeArea("1455"));
  clock.set(2025, 1, 6, 23, 59);
  EXPECT_TRUE(Schedule::inTimeArea("2355"));
  EXPECT_FALSE(Schedule::inTimeArea("2400"));  // later than now
  clock.set(2025, 1, 6, 0, 5);
  EXPECT_TRUE(Schedule::inTimeArea(""));
  clock.set(2025, 1, 6, 0, 11);
  EXPECT_FALSE(Schedule::inTimeArea(""));
}

TEST_F(ScheduleTest, IsNowAndBeforeNowReadEightCharacters) {
  clock.set(2025, 1, 15, 9, 30);
  EXPECT_TRUE(Schedule::isNow("20250115"));
  EXPECT_TRUE(Schedule::isNow("202501150930"));
  EXPECT_TRUE(Schedule::isNow("20250115xyz"));
  EXPECT_FALSE(Schedule::isNow("20250114"));
  EXPECT_FALSE(Schedule::isNow(""));
  EXPECT_TRUE(Schedule::beforeNow("20250115"));
  EXPECT_TRUE(Schedule::beforeNow("202501149999"));
  EXPECT_TRUE(Schedule::beforeNow("20241231"));
  EXPECT_FALSE(Schedule::beforeNow("20250116"));
  EXPECT_FALSE(Schedule::beforeNow("202501160000"));
}

TEST_F(ScheduleTest, NotAfterNowComparesTwelveDigits) {
  clock.set(2025, 1, 15, 9, 29, 59);
  EXPECT_FALSE(Schedule::notAfterNow("20250115", "0930"));
  clock.set(2025, 1, 15, 9, 30);
  EXPECT_TRUE(Schedule::notAfterNow("20250115", "0930"));
  clock.set(2025, 3, 1, 0, 0);
  EXPECT_TRUE(Schedule::notAfterNow("20250115", "0930"));
  clock.set(2025, 1, 14, 23, 59);
  EXPECT_FALSE(Schedule::notAfterNow("20250115", "0930"));
  // Without a time the eight-digit number is always below the twelve-digit one.
  clock.set(2020, 1, 1, 0, 0);
  EXPECT_TRUE(Schedule::notAfterNow("20250115", ""));
}

TEST_F(ScheduleTest, DaysCount) {
  clock.set(2025, 1, 15, 12, 0);
  EXPECT_EQ(Schedule::daysCountFromNow("20250116"), 0);  // less than a day ahead
  EXPECT_EQ(Schedule::daysCountFromNow("20250105"), 10);
  EXPECT_EQ(Schedule::daysCountFromNow("20250115"), 0);
  EXPECT_EQ(Schedule::daysCountFromNow("20250118"), 2);  // absolute value of -2.5
  // Across a month end and a year end.
  clock.set(2025, 3, 1, 0, 0);
  EXPECT_EQ(Schedule::daysCountFromNow("20250228"), 1);
  EXPECT_EQ(Schedule::daysCountFromNow("20241231"), 60);
  clock.set(2024, 3, 1, 0, 0);  // leap year
  EXPECT_EQ(Schedule::daysCountFromNow("20240228"), 2);
  // Out-of-range fields are carried over as mktime does: 20250132 is 1 February.
  clock.set(2025, 2, 11, 8, 0);
  EXPECT_EQ(Schedule::daysCountFromNow("20250132"), 10);
  EXPECT_EQ(Schedule::daysCountFromNow("20241301"), 41);  // month 13 = January 2025
}

TEST_F(ScheduleTest, WeeksCountIsSigned) {
  clock.set(2025, 1, 15, 12, 0);
  EXPECT_EQ(Schedule::weeksCountFromNow("20250102"), 1);   // 13 days ago
  EXPECT_EQ(Schedule::weeksCountFromNow("20250101"), 2);   // 14 days ago
  EXPECT_EQ(Schedule::weeksCountFromNow("20250121"), 0);   // 6 days ahead
  EXPECT_EQ(Schedule::weeksCountFromNow("20250123"), -1);  // 8 days ahead
}

TEST_F(ScheduleTest, MonthsCountIgnoresTheDay) {
  clock.set(2025, 2, 10, 12, 0);
  EXPECT_EQ(Schedule::monthsCountFromNow("20241215"), 2);
  clock.set(2025, 2, 1, 0, 0);
  EXPECT_EQ(Schedule::monthsCountFromNow("20250131"), 1);
  EXPECT_EQ(Schedule::monthsCountFromNow("20250201"), 0);
  EXPECT_EQ(Schedule::monthsCountFromNow("20250301"), -1);
  EXPECT_EQ(Schedule::monthsCountFromNow("20200201"), 60);
  // Only a year: the month reads as 0.
  EXPECT_EQ(Schedule::monthsCountFromNow("2025"), 2);
}

// Daylight saving: day counts are taken in local wall-clock time, so the
// hour lost in spring or gained in autumn never shifts a day boundary.
TEST(ScheduleDst, DayCountsKeepWholeDaysAcrossDaylightSaving) {
  ScopedTZ tz("Europe/Berlin");
  FixedClock clock;
  // Ten days ago, in the first hour after midnight, summer time in force.
  clock.set(2025, 7, 15, 0, 30);
  EXPECT_EQ(Schedule::daysCountFromNow("20250705"), 10);
  // Start in winter, now in summer, a quarter of an hour after midnight.
  clock.set(2025, 4, 4, 0, 15);
  EXPECT_EQ(Schedule::daysCountFromNow("20250325"), 10);
  EXPECT_EQ(Schedule::weeksCountFromNow("20250321"), 2);
  // Start in summer, now in winter, just before midnight.
  clock.set(2025, 11, 4, 23, 59);
  EXPECT_EQ(Schedule::daysCountFromNow("20251025"), 10);
  // On the change days themselves.
  clock.set(2025, 3, 30, 3, 30);  // clocks went from 02:00 to 03:00
  EXPECT_EQ(Schedule::daysCountFromNow("20250329"), 1);
  EXPECT_EQ(Schedule::getNowMonthDay(), 30UL);
  EXPECT_TRUE(Schedule::inTimeArea("0325"));
  clock.set(2025, 10, 26, 0, 30);
  EXPECT_EQ(Schedule::daysCountFromNow("20251025"), 1);
}

}  // namespace
