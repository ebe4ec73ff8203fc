#pragma once
#include <windows.h>

// Builds the main window's menu bar: File (with the recent-files block), Edit, the
// Programmes menu when a sibling tool is installed, and Help. Keeps the File popup
// as FileMenu.
HMENU BuildMenuBar();
