#pragma once
#include <string>

struct LocalDateTime {
    int Day, Month, Year, Hour, Minute, Second;
};

// The date-and-time stamp: day-month-year hour:minute:second in decimal without
// leading zeros, at most 19 characters (5 March 2001, 09:07:03 gives "5-3-2001 9:7:3").
std::string FormatDateTimeStamp(const LocalDateTime& when);
