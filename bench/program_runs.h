#pragma once
// Starting whole programs as a user does and timing them until they are ready.
#include <string>

#include "bench/bench_results.h"

#include <vector>

// A program's path in double quotes, as a command line begins.
std::string Quoted(const std::string& text);

// Starts the program of `commandLine` with an empty document until it is ready, and
// reads how it made its edit control. This also warms the program up for the runs that
// count.
EditorLook LookOfEditor(const std::string& commandLine);

// Starts each program of `commandLines` in turn, `runs` times each, with `file` added
// to the command line when it is not empty. Each run lasts from process start until the
// program's main window shows with its edit control, the process waits for input, and
// the control holds `textLength` characters; the memory figures are taken right after.
std::vector<ProgramFigures> MeasurePrograms(const std::vector<std::string>& commandLines,
                                            const std::string& file, size_t textLength, int runs);
