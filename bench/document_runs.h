#pragma once
// Loading and saving documents in-process: the editor's own code against the floor.
#include <string>
#include <vector>

#include "bench/bench_results.h"

// Creates the floor's EDIT control, of the same styles, size and font as the editor's,
// in a window of its own, and starts timing the text messages of both controls. The
// editor must be running in this process.
bool CreateFloorEditor();
void DestroyFloorEditor();

// Loads and saves a copy of `input` in `workFolder` through LoadDocument and
// SaveDocument and through the floor, `runs` times (after one more to warm up when
// `warmUp`), and then times the file steps of both one by one.
DocumentFigures MeasureDocument(const BenchInput& input, const std::string& workFolder, int runs,
                                bool warmUp);

// The font of the editor running in this process.
LOGFONTA EditorFontDescription();

// Times SetWindowTextA of the text of `input` into EDIT controls of four looks: the
// styles of `scribane`'s control and of `notepad`'s, each with either one's font (the
// system font where a font is not known).
std::vector<NamedMs> MeasureEditLooks(const BenchInput& input, const EditorLook& scribane,
                                      const EditorLook& notepad, int runs);
