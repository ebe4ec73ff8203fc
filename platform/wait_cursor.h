#pragma once
// The wait cursor, shown while the editor reads or writes a whole file, which can take
// seconds; the cursor that was shown before comes back when it goes out of scope.
#include <windows.h>

class WaitCursor {
  public:
    WaitCursor() : previous_(SetCursor(LoadCursorA(nullptr, IDC_WAIT))) {}
    ~WaitCursor() { SetCursor(previous_); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    HCURSOR previous_;
};
