#include "app/command_table.h"

#include "app/date_time_text.h"
#include "dialogs/dialogs.h"
#include "document/document.h"
#include "document/recent_files.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_links.h"

namespace {

// Replaces the editor's selection with the current local date and time; can be undone.
// Date and time come from one clock read, so a stamp made at midnight cannot join one
// day's date to the next day's time.
void InsertDateTime() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    const std::string stamp =
        FormatDateTimeStamp({now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond});
    SendMessageA(EditorControl, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(stamp.c_str()));
}

} // namespace

void HandleCommand(WPARAM wParam) {
    if (HIWORD(wParam) == EN_CHANGE) {
        RefreshModifiedIndicator();
        return;
    }
    RunCommand(LOWORD(wParam));
}

void RunCommand(unsigned command) {
    if (command >= CMD_RECENT_1 && command <= CMD_RECENT_4) {
        OpenRecentFile(static_cast<int>(command - CMD_RECENT_1 + 1));
        return;
    }
    if (command >= CMD_PROGRAMME_FIRST && command <= CMD_PROGRAMME_LAST) {
        LaunchSuiteTool(static_cast<unsigned short>(command));
        return;
    }
    switch (command) {
    case CMD_NEW: NewDocument(); break;
    case CMD_OPEN: OpenDocument(); break;
    case CMD_SAVE_AS: SaveDocumentAs(); break;
    case CMD_EXIT: PostMessageA(MainWindow, WM_CLOSE, 0, 0); break;
    case CMD_SAVE: SaveDocument(); break;
    case CMD_UNDO: SendMessageA(EditorControl, WM_UNDO, 0, 0); break;
    case CMD_CUT: SendMessageA(EditorControl, WM_CUT, 0, 0); break;
    case CMD_COPY: SendMessageA(EditorControl, WM_COPY, 0, 0); break;
    case CMD_PASTE: SendMessageA(EditorControl, WM_PASTE, 0, 0); break;
    case CMD_DELETE:
        SendMessageA(EditorControl, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(""));
        break;
    case CMD_DATE_TIME: InsertDateTime(); break;
    case CMD_FIND: RunFindDialog(); break;
    case CMD_FIND_NEXT: RunSearch(); break;
    case CMD_SELECT_ALL: SendMessageA(EditorControl, EM_SETSEL, 0, -1); break;
    case CMD_ABOUT: RunAboutDialog(); break;
    case CMD_QUICK_INTRO: ShowHelp(kQuickStartTopic); break;
    case CMD_WEB_SITE: OpenWebSite(); break;
    case CMD_HELP: ShowHelp(""); break;
    }
}
