// Scribane against Wine's Notepad and the floor program: start-up to ready and memory then,
// and in-process load and save through the editor's own LoadDocument and SaveDocument
// against the bare file calls. scripts/bench runs it; it reads FOLDER\input and writes
// FOLDER\results.md:   scribane_bench.exe FOLDER RUNS WINE-VERSION SCRIBANE FLOOR
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "app/startup.h"
#include "document/document.h"
#include "platform/app_state.h"
#include "platform/file_handle.h"
#include "suite/suite_table.h"

namespace {

constexpr double kNotepadTarget = 1.0; // start-up and memory, against Notepad
constexpr double kFloorTarget = 1.2;   // in-process load and save, against the floor
constexpr double kLinearTarget = 1.5;  // time per MB of the 4 MB file over the 64 KB one
constexpr double kMb = 1024.0 * 1024.0;

double NowMs() {
    LARGE_INTEGER frequency{}, now{};
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char text[256];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

std::string Quoted(const std::string& path) {
    return "\"" + path + "\"";
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// "32-bit" or "64-bit", as the magic number of the PE header of the program at `path` says.
std::string Bitness(const std::string& path) {
    const std::string head = FileBytes(path).substr(0, 4096);
    const size_t pe = head.size() < 64 ? 0 : *reinterpret_cast<const DWORD*>(head.data() + 60);
    if (pe == 0 || pe + 26 > head.size() || head.compare(pe, 4, std::string("PE\0\0", 4)) != 0)
        return "unknown bitness";
    return head[pe + 25] == 2 ? "64-bit" : "32-bit"; // 0x20B or 0x10B
}

// The control's text length, asked in its own character set so that nothing converts
// the whole text to answer. The answer waits while the program is busy filling it.
size_t TextLength(HWND editor) {
    DWORD_PTR length = 0;
    const auto ask = IsWindowUnicode(editor) ? SendMessageTimeoutW : SendMessageTimeoutA;
    ask(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length);
    return length;
}

struct Started {
    double ms = -1, privateMb = 0, peakMb = 0;
    bool wraps = false; // whether the edit control wraps words
};

// Starts `commandLine`, and returns how long it took until ready, and the memory then:
// its main window shows an edit control that holds all `textLength` characters, the
// process waits for input, and nothing is left to paint, so the text is on the screen.
Started Start(std::string commandLine, size_t textLength) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Started run;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    HWND window = nullptr, editor = nullptr;
    bool idle = false, holds = false;
    RECT unpainted{};
    while (NowMs() - start < 120000 && WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT) {
        idle = idle || WaitForInputIdle(info.hProcess, 0) == 0;
        for (HWND top = nullptr;
             !editor && (top = FindWindowExA(nullptr, top, nullptr, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(top, &owner);
            if (owner == info.dwProcessId && IsWindowVisible(top))
                editor = FindWindowExA(window = top, nullptr, "Edit", nullptr);
        }
        if (!idle || !editor || !(holds = holds || TextLength(editor) >= textLength) ||
            GetUpdateRect(editor, &unpainted, FALSE) || GetUpdateRect(window, &unpainted, FALSE))
            continue;
        run.ms = NowMs() - start;
        // The private bytes are PagefileUsage: Wine gives other processes no PrivateUsage.
        PROCESS_MEMORY_COUNTERS memory{};
        GetProcessMemoryInfo(info.hProcess, &memory, sizeof memory);
        run.privateMb = static_cast<double>(memory.PagefileUsage) / kMb;
        run.peakMb = static_cast<double>(memory.PeakWorkingSetSize) / kMb;
        run.wraps = !(GetWindowLongPtrA(editor, GWL_STYLE) & (ES_AUTOHSCROLL | WS_HSCROLL));
        break;
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    return run;
}

struct Input {
    const char* label;
    std::string path; // empty for the empty document
    size_t bytes = 0;
};

struct Program {
    std::string name, commandLine;
};
enum { kScribane, kNotepad, kFloor, kFloorNotepadFont }; // always measured, in this order

using Runs = std::vector<Started>; // one program's runs with one input

// The median of one figure of `runs`, and half its interquartile range as a share of it.
std::pair<double, double> Median(const Runs& runs, double Started::*figure = &Started::ms) {
    std::vector<double> values;
    for (const Started& run : runs)
        values.push_back(run.*figure);
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return {0, 0};
    const double median = (values[(n - 1) / 2] + values[n / 2]) / 2;
    return {median, (values[std::min(n - 1, 3 * n / 4)] - values[n / 4]) / 2 / median};
}

// Each run starts every program once with each input, the programs in turn and the first
// of them moving on by one each run, so a busy moment of the machine and the cost of
// ending the previous program fall on all of them alike.
std::vector<std::vector<Runs>> MeasureStarts(const std::vector<Program>& programs,
                                             const std::vector<Input>& inputs, int runs) {
    std::vector<std::vector<Runs>> starts(inputs.size(), std::vector<Runs>(programs.size()));
    for (size_t run = 0; run < static_cast<size_t>(runs); ++run)
        for (size_t input = 0; input < inputs.size(); ++input)
            for (size_t turn = 0; turn < programs.size(); ++turn) {
                const size_t program = (turn + run) % programs.size();
                std::string line = programs[program].commandLine;
                if (!inputs[input].path.empty())
                    line.append(" ").append(Quoted(inputs[input].path));
                if (const Started started = Start(line, inputs[input].bytes); started.ms >= 0)
                    starts[input][program].push_back(started);
            }
    return starts;
}

void PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// The floor of a load: the file in one read, given whole to the control.
void FloorLoad(HWND editor, const std::string& path) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    const DWORD size = GetFileSize(file.Get(), nullptr);
    std::unique_ptr<char[]> bytes(new char[size + 1]);
    DWORD read = 0;
    ReadFile(file.Get(), bytes.get(), size, &read, nullptr);
    bytes[read] = '\0';
    SetWindowTextA(editor, bytes.get());
}

// The floor of a save: the control's text in one call, written in one call.
void FloorSave(HWND editor, const std::string& path) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(editor)) + 1, '\0');
    const int got = GetWindowTextA(editor, text.data(), static_cast<int>(text.size()));
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    WriteFile(file.Get(), text.data(), static_cast<DWORD>(got), &written, nullptr);
}

// In-process medians (ms) of LoadDocument, the floor's load, SaveDocument and the floor's
// save, the floor being a twin of the editor's control (its styles, size and font).
std::array<double, 4> MeasureDocument(const Input& input, const std::string& folder, int runs) {
    RECT size{};
    GetWindowRect(EditorControl, &size);
    const HWND window = CreateWindowExA(0, "STATIC", "Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0,
                                        0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    const HWND floor = CreateWindowExA(
        static_cast<DWORD>(GetWindowLongPtrA(EditorControl, GWL_EXSTYLE)), "EDIT", "",
        static_cast<DWORD>(GetWindowLongPtrA(EditorControl, GWL_STYLE)), 0, 0,
        size.right - size.left, size.bottom - size.top, window, nullptr, nullptr, nullptr);
    SendMessageA(floor, WM_SETFONT, SendMessageA(EditorControl, WM_GETFONT, 0, 0), 0);
    const std::string copy = folder + "\\copy.txt", floorCopy = folder + "\\floor.txt";
    CopyFileA(input.path.c_str(), copy.c_str(), FALSE);
    Runs times[4];
    for (int run = -1; run < runs; ++run) { // the first run warms up
        SetWindowTextA(EditorControl, "");
        SetWindowTextA(floor, "");
        PumpMessages();
        double at[5] = {NowMs()};
        LoadDocument(copy, FileType::Text);
        at[1] = NowMs();
        FloorLoad(floor, input.path);
        at[2] = NowMs();
        SaveDocument();
        at[3] = NowMs();
        FloorSave(floor, floorCopy);
        at[4] = NowMs();
        for (int kind = 0; run >= 0 && kind < 4; ++kind)
            times[kind].push_back({at[kind + 1] - at[kind]});
    }
    const std::string original = FileBytes(input.path);
    if (FileBytes(copy) != original || FileBytes(floorCopy) != original)
        std::fprintf(stderr, "the %s file did not come back as it was\n", input.label);
    DeleteFileA(copy.c_str());
    DeleteFileA(floorCopy.c_str());
    DestroyWindow(window);
    return {Median(times[0]).first, Median(times[1]).first, Median(times[2]).first,
            Median(times[3]).first};
}

// A row of the targets table: ours against theirs, the ratio and the verdict.
std::string Target(const std::string& what, double ours, const std::string& against, double theirs,
                   double target) {
    const double ratio = theirs > 0 ? ours / theirs : 0;
    return "| " + what + Format(" | %.1f | ", ours) + against +
           Format(" | %.1f | %.2fx | <= %.2fx | ", theirs, ratio, target) +
           (ours > 0 && theirs > 0 && ratio <= target ? "met" : "MISSED") + " |\n";
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || !std::getenv("windir"))
        return 2;
    const std::string folder = argv[1];
    const int runs = std::max(3, std::atoi(argv[2]));
    const std::string scribane = argv[4], floor = argv[5];
    // Installed as the suite's installer leaves it: no warning, and a recent list.
    const std::string programFolder = scribane.substr(0, scribane.rfind('\\'));
    HKEY own = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, ProgramKeyPathFor(kOwnSuiteName).c_str(), &own);
    RegCloseKey(own);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSuiteKeyPath, kOwnSuiteName, REG_SZ, programFolder.c_str(),
                    static_cast<DWORD>(programFolder.size() + 1));
    // The Notepad of the system folder has this program's bitness, as Scribane has; the one
    // of the Windows folder, which a user starts, is measured too when it differs.
    const std::string notepad = std::getenv("windir") + std::string("\\system32\\notepad.exe");
    const std::string usersNotepad = std::getenv("windir") + std::string("\\notepad.exe");
    const auto named = [](const char* name, const std::string& path) {
        return name + (" (" + Bitness(path) + ")");
    };
    std::vector<Program> programs = {
        {named("Scribane", scribane), Quoted(scribane)},
        {named("Notepad", notepad), Quoted(notepad)},
        {named("Floor, Verdana 16", floor), Quoted(floor)},
        {named("Floor, Notepad's font", floor), Quoted(floor) + " -notepad-font"}};
    if (Bitness(usersNotepad) != Bitness(notepad))
        programs.push_back({named("Notepad, Windows folder", usersNotepad), Quoted(usersNotepad)});
    std::vector<Input> inputs = {{"empty", ""},
                                 {"64 KB", folder + "\\input\\text-64k.txt"},
                                 {"4 MB", folder + "\\input\\text-4m.txt"}};
    for (Input& input : inputs)
        input.bytes = FileBytes(input.path).size();
    const auto starts = MeasureStarts(programs, inputs, runs);

    ModuleInstance = GetModuleHandleA(nullptr);
    if (!StartEditor("scribane_bench.exe")) {
        std::fprintf(stderr, "the editor did not start in-process\n");
        return 1;
    }
    const std::array<double, 4> documents[] = {MeasureDocument(inputs[1], folder, runs),
                                               MeasureDocument(inputs[2], folder, runs)};

    std::string report =
        "# Scribane against Notepad and the floor\n\n" + std::string(argv[3]) +
        Format("; medians of %.0f runs, the programs in turn; bitness from each program's PE "
               "header; load and save in-process in the %.0f-bit benchmark. ",
               runs, sizeof(void*) * 8) +
        "Notepad's default settings: word wrap " +
        (!starts[0][kNotepad].empty() && starts[0][kNotepad][0].wraps ? "on" : "off") + ".\n\n" +
        "| Target | Scribane | Against | Theirs | Ratio | Target | Result |\n" +
        "|---|---:|---|---:|---:|---:|---|\n";
    const auto median = [&](double Started::*figure, size_t input, int program) {
        return Median(starts[input][program], figure).first;
    };
    const std::pair<const char*, double Started::*> figures[] = {
        {"start-up to ready, %s (ms)", &Started::ms},
        {"private bytes, %s (MB)", &Started::privateMb},
        {"peak working set, %s (MB)", &Started::peakMb}};
    for (const auto& [what, figure] : figures)
        for (size_t i = 0; i < inputs.size(); ++i) {
            char title[64];
            std::snprintf(title, sizeof title, what, inputs[i].label);
            report += Target(title, median(figure, i, kScribane), programs[kNotepad].name,
                             median(figure, i, kNotepad), kNotepadTarget);
        }
    for (const int kind : {0, 2}) { // load, then save: against the floor, and per MB
        const std::string what = kind ? "save" : "load";
        for (int i = 0; i < 2; ++i)
            report += Target(what + " in-process, " + inputs[i + 1].label + " (ms)",
                             documents[i][kind], "floor", documents[i][kind + 1], kFloorTarget);
        report += Target(what + " per MB, 4 MB (ms)", documents[1][kind] * kMb / inputs[2].bytes,
                         "64 KB", documents[0][kind] * kMb / inputs[1].bytes, kLinearTarget);
    }
    report += "\nStart-up to ready in ms, each with half its interquartile range:\n\n"
              "| Program | empty | 64 KB | 4 MB |\n|---|---:|---:|---:|\n";
    for (size_t program = 0; program < programs.size(); ++program) {
        report += "| " + programs[program].name + " |";
        for (size_t i = 0; i < inputs.size(); ++i) {
            const auto [ms, spread] = Median(starts[i][program]);
            report += Format(" %.0f ±%.0f%% |", ms, spread * 100);
        }
        report += "\n";
    }
    const auto ms = [&](int program) { return median(&Started::ms, 2, program); };
    report += Format("\n4 MB: Scribane / floor with Verdana 16 %.2fx; floor with Verdana 16 / "
                     "floor with Notepad's font %.2fx; ",
                     ms(kScribane) / ms(kFloor), ms(kFloor) / ms(kFloorNotepadFont)) +
              Format("floor with Notepad's font / Notepad %.2fx.\n",
                     ms(kFloorNotepadFont) / ms(kNotepad));
    std::fputs(report.c_str(), stdout);
    std::ofstream(folder + "\\results.md", std::ios::binary) << report;
    return 0;
}
