#pragma once
// Message boxes for use while developing the editor; nothing in the editor calls them.

void DebugShowText(const char* text);
void DebugShowNumber(long number);
void DebugShowNotice();
