#include "app/date_time_text.h"

#include <cstdio>

std::string FormatDateTimeStamp(const LocalDateTime& when) {
    // 19 characters and the NUL: every date with a four-digit year fits; anything
    // longer is cut rather than written past the end.
    char stamp[20];
    std::snprintf(stamp, sizeof stamp, "%d-%d-%d %d:%d:%d", when.Day, when.Month, when.Year,
                  when.Hour, when.Minute, when.Second);
    return stamp;
}
