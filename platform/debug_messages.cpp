#include "platform/debug_messages.h"

#include <windows.h>
#include <string>

static const char kDebugCaption[] = "Foutopsporing";

void DebugShowText(const char* text) {
    MessageBoxA(nullptr, text, kDebugCaption, MB_OK);
}

void DebugShowNumber(long number) {
    DebugShowText(std::to_string(number).c_str());
}

void DebugShowNotice() {
    DebugShowText("Melding van Foutopsporing");
}
