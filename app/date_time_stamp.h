#pragma once

// Replaces the editor's selection with the current local date and time; can be undone.
void InsertDateTime();
