// Measures Scribane against Notepad: start-up, load and save against the floor of the
// bare calls, memory, and how each grows with the file size. scripts/bench builds it,
// generates the input files and runs it:
//   scribane_bench.exe INPUT-FOLDER RESULTS-FILE [RUNS]
// The table goes to standard output and to RESULTS-FILE; progress goes to standard error.
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/bench_clock.h"
#include "bench/bench_results.h"
#include "bench/document_runs.h"
#include "bench/program_runs.h"
#include "bench/start_up_steps.h"
#include "document/document_file.h"
#include "support/editor_session.h"
#include "support/test_files.h"

namespace {

constexpr int kLeastRuns = 5;

// The files scripts/bench generates, smallest first.
const BenchInput kInputs[] = {
    {"64 KB", "text-64k.txt", FileType::Text, true},
    {"512 KB", "text-512k.txt", FileType::Text, true},
    {"4 MB", "text-4m.txt", FileType::Text, true},
    {"8 MB", "text-8m.txt", FileType::Text, true},
    {"64 KB level description", "level.inf", FileType::LevelDescription, false},
};

// The file the EDIT control's cost is compared with across fonts and styles.
const char kEditLooksInput[] = "4 MB";

// The largest file the floor program is also started with; the in-process floor covers
// every size, and this keeps the whole run within minutes.
constexpr size_t kLargestFloorStart = 4 << 20;

void Progress(const std::string& text) {
    static const double start = NowMs();
    std::fprintf(stderr, "  %3.0f s  %s\n", (NowMs() - start) / 1000, text.c_str());
    std::fflush(stderr);
}

std::string FullPath(const std::string& path) {
    char full[MAX_PATH] = "";
    GetFullPathNameA(path.c_str(), sizeof full, full, nullptr);
    return full;
}

std::string FolderOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

std::string WineVersion() {
    using VersionFunction = const char*(CDECL*)();
    const auto version = reinterpret_cast<VersionFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
    return version ? std::string("Wine ") + version() : "Windows";
}

// Fills in where `input` is, its size and the text the editor holds once it is loaded.
bool FindInput(const std::string& folder, BenchInput& input) {
    input.path = folder + "\\" + input.fileName;
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    DecodedDocument text;
    if (!GetFileAttributesExA(input.path.c_str(), GetFileExInfoStandard, &attributes) ||
        ReadDocumentFile(input.path, input.type, text))
        return false;
    input.fileBytes = attributes.nFileSizeLow;
    input.textLength = text.Text.size();
    return true;
}

// A number Notepad keeps in its settings, or 0.
DWORD NotepadSetting(const char* name) {
    DWORD value = 0, size = sizeof value;
    RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Notepad", name, RRF_RT_REG_DWORD, nullptr,
                 &value, &size);
    return value;
}

// The font Notepad keeps in its settings, which it writes when it is closed; an empty
// face when there are none.
LOGFONTA NotepadFont() {
    LOGFONTA font{};
    DWORD size = sizeof font.lfFaceName;
    if (RegGetValueA(HKEY_CURRENT_USER, "Software\\Microsoft\\Notepad", "lfFaceName", RRF_RT_REG_SZ,
                     nullptr, font.lfFaceName, &size) != ERROR_SUCCESS)
        return {};
    const HDC screen = GetDC(nullptr);
    font.lfHeight = -MulDiv(static_cast<int>(NotepadSetting("iPointSize")),
                            GetDeviceCaps(screen, LOGPIXELSY), 720);
    ReleaseDC(nullptr, screen);
    font.lfWeight = static_cast<LONG>(NotepadSetting("lfWeight"));
    font.lfItalic = static_cast<BYTE>(NotepadSetting("lfItalic"));
    font.lfUnderline = static_cast<BYTE>(NotepadSetting("lfUnderline"));
    font.lfStrikeOut = static_cast<BYTE>(NotepadSetting("lfStrikeOut"));
    font.lfCharSet = static_cast<BYTE>(NotepadSetting("lfCharSet"));
    font.lfOutPrecision = static_cast<BYTE>(NotepadSetting("lfOutPrecision"));
    font.lfClipPrecision = static_cast<BYTE>(NotepadSetting("lfClipPrecision"));
    font.lfQuality = static_cast<BYTE>(NotepadSetting("lfQuality"));
    font.lfPitchAndFamily = static_cast<BYTE>(NotepadSetting("lfPitchAndFamily"));
    return font;
}

void MeasureStartUps(const std::string& scribane, const std::string& notepad,
                     const std::string& floor, BenchResults& results) {
    Progress("start-up, empty document");
    results.scribaneLook = LookOfEditor(scribane);
    results.notepadLook = LookOfEditor(notepad);
    results.notepadLook.font = NotepadFont();
    LookOfEditor(floor);
    std::vector<ProgramFigures> figures =
        MeasurePrograms({scribane, notepad, floor}, "", 0, results.runs);
    results.empty = {figures[0], figures[1], figures[2]};
    for (InputFigures& each : results.inputs) {
        const BenchInput& input = each.input;
        if (!input.plainText)
            continue;
        Progress("start-up with the " + input.label + " file");
        std::vector<std::string> programs{scribane, notepad};
        if (input.fileBytes <= kLargestFloorStart)
            programs.push_back(floor);
        figures = MeasurePrograms(programs, input.path, input.textLength, results.runs);
        figures.resize(3); // a floor that did not run has no runs
        each.start = {figures[0], figures[1], figures[2]};
    }
}

bool MeasureDocuments(BenchResults& results) {
    EditorSession session;
    if (!session.Started() || !CreateFloorEditor())
        return false;
    results.scribaneLook.font = EditorFontDescription();
    const std::string workFolder = FreshFolder("bench");
    bool warmUp = true;
    for (InputFigures& figures : results.inputs) {
        Progress("load and save of the " + figures.input.label + " file");
        figures.document = MeasureDocument(figures.input, workFolder, results.runs, warmUp);
        warmUp = false;
    }
    for (const InputFigures& figures : results.inputs) {
        if (figures.input.label != kEditLooksInput)
            continue;
        Progress("the EDIT control's cost by look, with the " + figures.input.label + " file");
        results.editLooksInput = figures.input.label;
        results.editLooks = MeasureEditLooks(figures.input, results.scribaneLook,
                                             results.notepadLook, results.runs);
    }
    DestroyFloorEditor();
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == kStartUpStepsOption)
        return RunStartUpSteps(argv[2]);
    if (argc < 3) {
        std::fprintf(stderr, "usage: scribane_bench INPUT-FOLDER RESULTS-FILE [RUNS]\n");
        return 2;
    }
    const std::string inputFolder = FullPath(argv[1]);
    const char* resultsFile = argv[2];
    BenchResults results;
    results.runs = argc > 3 ? std::max(kLeastRuns, std::atoi(argv[3])) : kLeastRuns;
    results.wineVersion = WineVersion();
    for (const BenchInput& input : kInputs) {
        InputFigures& figures = results.inputs.emplace_back();
        figures.input = input;
        if (!FindInput(inputFolder, figures.input)) {
            std::fprintf(stderr, "missing input file %s\\%s\n", inputFolder.c_str(),
                         input.fileName.c_str());
            return 1;
        }
    }

    const std::string scribane = FullPath(TestProgramFolder() + "..\\scribane.exe");
    const std::string floor = TestProgramFolder() + "scribane_floor.exe";
    char windows[MAX_PATH] = "";
    GetWindowsDirectoryA(windows, sizeof windows);
    const std::string notepad = std::string(windows) + "\\notepad.exe";
    // Installed as the suite's installer leaves it: no greeting, no installation warning.
    InstallSuite(FolderOf(scribane));

    MeasureStartUps(Quoted(scribane), Quoted(notepad), Quoted(floor), results);
    Progress("the editor's start-up step by step");
    char bench[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, bench, sizeof bench);
    results.startUpSteps = MeasureStartUpSteps(bench, results.runs);
    if (!MeasureDocuments(results)) {
        std::fprintf(stderr, "the editor did not start in-process\n");
        return 1;
    }

    const std::string markdown = ResultsMarkdown(results);
    std::fputs(markdown.c_str(), stdout);
    WriteFileBytes(resultsFile, markdown);
    return 0;
}
