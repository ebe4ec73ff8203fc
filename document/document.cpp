#include "document/document.h"

#include <windows.h>
#include <commctrl.h>

#include "app/app_state.h"
#include "document/path_text.h"

DocumentStateRecord DocumentState;

void SetStatusText(int part, std::string_view text) {
    std::string shown(1, part == 0 ? ' ' : '\t');
    shown += CutToTextLimit(text);
    SendMessageA(StatusBar, SB_SETTEXTA, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(shown.c_str()));
}

void RefreshModifiedIndicator() {
    SetStatusText(1, SendMessageA(EditorControl, EM_GETMODIFY, 0, 0) ? "Modified" : "");
}

bool ConfirmSave() { return true; }
void NewDocument() {}
void OpenDocument() {}
void SaveDocument() {}
void SaveDocumentAs() {}
bool LoadDocument(const std::string&) { return false; }
void LoadDocumentAtStartUp(const std::string&) {}
void OpenRecentFile(int) {}
