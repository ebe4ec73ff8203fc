#pragma once
// The benchmark's inputs and the figures it keeps for them. Every figure is the median
// of the measured runs.
#include <windows.h>
#include <string>
#include <vector>

#include "document/document_layout.h"

// One of the generated input files.
struct BenchInput {
    std::string label;    // "4 MB", "64 KB level description"
    std::string fileName; // its name in the input folder
    FileType type;        // the layout the editor loads and saves it in
    bool plainText;       // both programs are also started with it on the command line
    std::string path = {};
    size_t fileBytes = 0;
    size_t textLength = 0; // characters the editor holds once the file is loaded
};

// A program started as a user starts it.
struct ProgramFigures {
    int runs = 0;       // runs that reached ready
    double readyMs = 0; // process start until ready (and holding the whole text)
    double privateBytes = 0;
    double peakWorkingSet = 0;
};

// How a program made its edit control.
struct EditorLook {
    DWORD style = 0;
    DWORD extendedStyle = 0;
    int width = 0, height = 0; // of the whole control
    LOGFONTA font = {};        // its font, when known (lfFaceName is empty otherwise)
};

// One load or save, and the parts of it spent before, inside and after the EDIT
// control's own WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH, all timed in the same runs.
struct SplitFigures {
    double ms = 0;
    double beforeEditMs = 0; // up to the first text message: reading the file, for a load
    double editMs = 0;       // inside the text messages
    double afterEditMs = 0;  // the rest: after the text messages, and between them
};

// Loading and saving one file in-process, through the editor's own code and through
// the floor: the bare file calls plus the one call that fills or empties an EDIT control.
struct DocumentFigures {
    SplitFigures load;      // LoadDocument
    SplitFigures floorLoad; // CreateFile, ReadFile, CloseHandle, SetWindowTextA
    SplitFigures save;      // SaveDocument
    SplitFigures floorSave; // GetWindowTextA, CreateFile, WriteFile, CloseHandle

    // The steps of a save, timed one by one.
    double writeMs = 0;     // WriteDocumentFile, without its GetWindowTextA
    double bareWriteMs = 0; // CreateFile, WriteFile, CloseHandle of the bytes in memory
    double flushMs = 0;     // FlushFileBuffers before that CloseHandle
    double replaceMs = 0;   // ReplaceFileA of a written file over an existing one
};

// The three programs started with one file, or with none.
struct StartFigures {
    ProgramFigures scribane, notepad, floor;
};

struct InputFigures {
    BenchInput input;
    StartFigures start; // started with the file (plain text only)
    DocumentFigures document;
};

// A time with what it is the time of: one step of the start-up, one kind of EDIT control.
struct NamedMs {
    std::string name;
    double ms = 0;
};

struct BenchResults {
    int runs = 0;
    std::string wineVersion;
    EditorLook scribaneLook, notepadLook;
    StartFigures empty;
    std::vector<InputFigures> inputs;
    std::vector<NamedMs> startUpSteps; // the editor's start-up, step by step
    std::string editLooksInput;        // the file the looks were timed with
    std::vector<NamedMs> editLooks;    // SetWindowTextA into EDIT controls of four looks
};

// The results as a Markdown report: the tables, and each target met or missed.
std::string ResultsMarkdown(const BenchResults& results);
