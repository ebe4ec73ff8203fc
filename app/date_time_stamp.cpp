#include "app/date_time_stamp.h"

#include <windows.h>

#include "app/app_state.h"
#include "app/date_time_text.h"

void InsertDateTime() {
    // Date and time come from one clock read, so a stamp made at midnight cannot
    // join one day's date to the next day's time.
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string stamp =
        FormatDateTimeStamp({now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond});
    SendMessageA(EditorControl, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(stamp.c_str()));
}
