// Scribane against Wine's Notepad and the floor program: start-up to ready, in wall and CPU
// time, and memory then, and in-process load and save through the editor's own LoadDocument
// and SaveDocument against the bare file calls. scripts/bench runs it; it reads FOLDER\input
// and writes FOLDER\results.md, TICKS being Linux's clock ticks per second (getconf CLK_TCK):
//   scribane_bench.exe FOLDER RUNS WINE-VERSION SCRIBANE FLOOR TICKS
#include <windows.h>
#include <psapi.h>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
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

constexpr double kNotepadTarget = 1.0;    // start-up and memory, against Notepad
constexpr double kFloorTarget = 1.2;      // in-process load and save, against the floor
constexpr double kFloorStartTarget = 1.1; // start-up CPU time, against the floor
constexpr double kLinearTarget = 1.5;     // time per MB of the 4 MB file over the 64 KB one
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

// Linux's own count of a Wine process's CPU time. Wine's GetProcessTimes on another process
// counts far too little; Linux counts every thread of it in /proc/PID/stat, which the Z:
// drive of a Wine prefix, mapped to the Linux root, shows to a Windows program.
namespace linux_side {

double TicksPerSecond = 100; // getconf CLK_TCK, from scripts/bench

// The contents of a Linux file, read to its end: /proc's files tell no size beforehand.
std::string ReadLinuxFile(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string contents;
    char chunk[4096];
    DWORD read = 0;
    while (file && ReadFile(file.Get(), chunk, sizeof chunk, &read, nullptr) && read > 0)
        contents.append(chunk, read);
    return contents;
}

std::vector<std::string> ProcessIds() {
    std::vector<std::string> ids;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    if (search == INVALID_HANDLE_VALUE)
        return ids;
    do
        if (found.cFileName[0] >= '1' && found.cFileName[0] <= '9')
            ids.push_back(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
    return ids;
}

// The first argument of the process's command line, which for a Wine process is the
// Windows path of the program it runs.
std::string FirstArgument(const std::string& id) {
    return ReadLinuxFile("/proc/" + id + "/cmdline").c_str();
}

// Whether the process runs in this benchmark's Wine prefix, not in another one on the machine.
bool InThisPrefix(const std::string& id) {
    const char* prefix = std::getenv("WINEPREFIX");
    if (!prefix)
        return true;
    const std::string environment = ReadLinuxFile("/proc/" + id + "/environ");
    return environment.find(std::string("WINEPREFIX=") + prefix + '\0') != std::string::npos;
}

// The process among `ids` that runs `program` in this prefix, or an empty id.
std::string FindProcess(const std::vector<std::string>& ids, const std::string& program,
                        bool byFileName = false) {
    const auto name = [&](const std::string& path) {
        return byFileName ? path.substr(path.find_last_of("/\\") + 1) : path;
    };
    for (const std::string& id : ids)
        if (lstrcmpiA(name(FirstArgument(id)).c_str(), name(program).c_str()) == 0 &&
            InThisPrefix(id))
            return id;
    return {};
}

// The process started since `before` listed the processes that runs `program` here.
std::string FindNewProcess(const std::vector<std::string>& before, const std::string& program) {
    std::vector<std::string> started;
    for (std::string& id : ProcessIds())
        if (std::find(before.begin(), before.end(), id) == before.end())
            started.push_back(std::move(id));
    return FindProcess(started, program);
}

// User plus system time (fields 14 and 15 of /proc/PID/stat) in ms, or -1 when unknown.
double CpuMs(const std::string& id) {
    if (id.empty())
        return -1;
    const std::string stat = ReadLinuxFile("/proc/" + id + "/stat");
    const size_t nameEnd = stat.rfind(')'); // the name in parentheses may hold spaces
    unsigned long user = 0, system = 0;
    if (nameEnd == std::string::npos ||
        std::sscanf(stat.c_str() + nameEnd + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1;
    return static_cast<double>(user + system) * 1000.0 / TicksPerSecond;
}

// The CPU time of the thread `thread` of process `id` in ms, counted in ns
// (/proc/PID/task/TID/schedstat), or -1 when unknown. A Wine process's main thread has the
// process's id.
double ThreadCpuMs(const std::string& id, const std::string& thread) {
    if (id.empty())
        return -1;
    const std::string schedstat = ReadLinuxFile("/proc/" + id + "/task/" + thread + "/schedstat");
    return schedstat.empty() ? -1 : std::strtod(schedstat.c_str(), nullptr) / 1e6;
}

} // namespace linux_side

struct Started {
    double ms = -1, privateMb = 0, peakMb = 0;
    // CPU time in ms from the process's start to ready, and its three stretches: up to its
    // first visible window, from there until the edit control holds the text, and from
    // there until nothing is left to paint. -1 when Linux did not tell.
    double cpuMs = -1, shownCpuMs = -1, textCpuMs = -1, paintCpuMs = -1;
    bool wraps = false; // whether the edit control wraps words
};

// The CPU time from `from` to `to`, both read from /proc, or -1 when one is unknown.
double CpuBetween(double from, double to) {
    return from < 0 || to < 0 ? -1 : to - from;
}

// Starts `commandLine`, which runs `program`, and returns how long it took until ready, the
// CPU time it used until then, and the memory then: its main window shows an edit control
// that holds all `textLength` characters, the process waits for input, and nothing is left
// to paint, so the text is on the screen.
Started Start(const std::string& program, std::string commandLine, size_t textLength) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Started run;
    const std::vector<std::string> before = linux_side::ProcessIds();
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    // Wine has made the Linux process by the time CreateProcess returns.
    std::string linuxId = linux_side::FindNewProcess(before, program);
    HWND window = nullptr, editor = nullptr;
    bool idle = false, holds = false;
    double shownCpu = -1, textCpu = -1;
    RECT unpainted{};
    while (NowMs() - start < 120000 && WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT) {
        if (linuxId.empty())
            linuxId = linux_side::FindNewProcess(before, program);
        idle = idle || WaitForInputIdle(info.hProcess, 0) == 0;
        for (HWND top = nullptr;
             !editor && (top = FindWindowExA(nullptr, top, nullptr, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(top, &owner);
            if (owner != info.dwProcessId || !IsWindowVisible(top))
                continue;
            if (shownCpu < 0)
                shownCpu = linux_side::CpuMs(linuxId);
            editor = FindWindowExA(window = top, nullptr, "Edit", nullptr);
        }
        if (!idle || !editor)
            continue;
        if (!holds && (holds = TextLength(editor) >= textLength))
            textCpu = linux_side::CpuMs(linuxId);
        if (!holds || GetUpdateRect(editor, &unpainted, FALSE) ||
            GetUpdateRect(window, &unpainted, FALSE))
            continue;
        run.ms = NowMs() - start;
        run.cpuMs = linux_side::CpuMs(linuxId);
        run.shownCpuMs = shownCpu;
        run.textCpuMs = CpuBetween(shownCpu, textCpu);
        run.paintCpuMs = CpuBetween(textCpu, run.cpuMs);
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
    std::string name, path, commandLine; // the command line runs the program at `path`
};
enum { kScribane, kNotepad, kFloor, kFloorNotepadFont }; // always measured, in this order

using Runs = std::vector<Started>; // one program's runs with one input

// The median of one figure of `runs`, and half its interquartile range as a share of it;
// runs where the figure is unknown (below 0) left out, and {-1, 0} when none is known.
std::pair<double, double> Median(const Runs& runs, double Started::*figure = &Started::ms) {
    std::vector<double> values;
    for (const Started& run : runs)
        if (run.*figure >= 0)
            values.push_back(run.*figure);
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return {-1, 0};
    const double median = (values[(n - 1) / 2] + values[n / 2]) / 2;
    const double spread = values[std::min(n - 1, 3 * n / 4)] - values[n / 4];
    return {median, median > 0 ? spread / 2 / median : 0};
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
                if (const Started started =
                        Start(programs[program].path, line, inputs[input].bytes);
                    started.ms >= 0)
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

// This process's CPU time (user and kernel) in ms, as GetProcessTimes counts it: in Linux's
// clock ticks under Wine, too coarse for a save of 64 KB.
double ProcessCpuMs() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](const FILETIME& time) {
        return static_cast<double>(
                   ULARGE_INTEGER{{time.dwLowDateTime, time.dwHighDateTime}}.QuadPart) /
               10000.0;
    };
    return ms(kernel) + ms(user);
}

// This process's Linux id, when found: its main thread's CPU time is then read in ns.
std::string OwnLinuxId;

// The CPU time of the thread that runs the in-process loads and saves, in ms.
double OwnCpuMs() {
    const double ms = linux_side::ThreadCpuMs(OwnLinuxId, OwnLinuxId);
    return ms >= 0 ? ms : ProcessCpuMs();
}

// In-process medians (ms) of LoadDocument, the floor's load, SaveDocument and the floor's
// save, in this order, in wall and CPU time; the floor is a twin of the editor's control
// (its styles, size and font).
struct InProcess {
    std::array<double, 4> ms{}, cpuMs{};
};

InProcess MeasureDocument(const Input& input, const std::string& folder, int runs) {
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
        double at[5] = {NowMs()}, cpuAt[5] = {OwnCpuMs()};
        LoadDocument(copy, FileType::Text);
        at[1] = NowMs();
        cpuAt[1] = OwnCpuMs();
        FloorLoad(floor, input.path);
        at[2] = NowMs();
        cpuAt[2] = OwnCpuMs();
        SaveDocument();
        at[3] = NowMs();
        cpuAt[3] = OwnCpuMs();
        FloorSave(floor, floorCopy);
        at[4] = NowMs();
        cpuAt[4] = OwnCpuMs();
        for (size_t kind = 0; run >= 0 && kind < 4; ++kind) {
            Started& time = times[kind].emplace_back();
            time.ms = at[kind + 1] - at[kind];
            time.cpuMs = cpuAt[kind + 1] - cpuAt[kind];
        }
    }
    const std::string original = FileBytes(input.path);
    if (FileBytes(copy) != original || FileBytes(floorCopy) != original)
        std::fprintf(stderr, "the %s file did not come back as it was\n", input.label);
    DeleteFileA(copy.c_str());
    DeleteFileA(floorCopy.c_str());
    DestroyWindow(window);
    InProcess figures;
    for (size_t kind = 0; kind < 4; ++kind) {
        figures.ms[kind] = Median(times[kind]).first;
        figures.cpuMs[kind] = Median(times[kind], &Started::cpuMs).first;
    }
    return figures;
}

// A row of the targets table: ours against theirs, the ratio and the verdict.
std::string Target(const std::string& what, double ours, const std::string& against, double theirs,
                   double target) {
    const double ratio = theirs > 0 ? ours / theirs : 0;
    return "| " + what + Format(" | %.1f | ", ours) + against +
           Format(" | %.1f | %.2fx | <= %.2fx | ", theirs, ratio, target) +
           (ours > 0 && theirs > 0 && ratio <= target ? "met" : "MISSED") + " |\n";
}

// A median with half its interquartile range, or "n/a" when no run told it.
std::string Cell(const std::pair<double, double>& median) {
    return median.first < 0 ? " n/a |"
                            : Format(" %.0f ±%.0f%% |", median.first, median.second * 100);
}

std::string RatioCell(double ours, double theirs) {
    return ours < 0 || theirs <= 0 ? " n/a |" : Format(" %.2fx |", ours / theirs);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7 || !std::getenv("windir"))
        return 2;
    const std::string folder = argv[1];
    const int runs = std::max(3, std::atoi(argv[2]));
    const std::string scribane = argv[4], floor = argv[5];
    linux_side::TicksPerSecond = std::max(1, std::atoi(argv[6]));
    if (linux_side::ProcessIds().empty())
        std::fprintf(stderr, "Z:\\proc cannot be read here: no CPU times\n");
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
        {named("Scribane", scribane), scribane, Quoted(scribane)},
        {named("Notepad", notepad), notepad, Quoted(notepad)},
        {named("Floor, Verdana 16", floor), floor, Quoted(floor)},
        {named("Floor, Notepad's font", floor), floor, Quoted(floor) + " -notepad-font"}};
    if (Bitness(usersNotepad) != Bitness(notepad))
        programs.push_back(
            {named("Notepad, Windows folder", usersNotepad), usersNotepad, Quoted(usersNotepad)});
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
    // The in-process CPU time, read against Linux's count of the whole process.
    char ownPath[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, ownPath, MAX_PATH);
    OwnLinuxId = linux_side::FindProcess(linux_side::ProcessIds(), ownPath, true);
    const double ownCpu[] = {ProcessCpuMs(), linux_side::CpuMs(OwnLinuxId), OwnCpuMs()};
    const InProcess documents[] = {MeasureDocument(inputs[1], folder, runs),
                                   MeasureDocument(inputs[2], folder, runs)};
    const double ownCpuUsed[] = {ProcessCpuMs() - ownCpu[0],
                                 CpuBetween(ownCpu[1], linux_side::CpuMs(OwnLinuxId)),
                                 OwnCpuMs() - ownCpu[2]};

    const double tickMs = 1000.0 / linux_side::TicksPerSecond;
    std::string report =
        "# Scribane against Notepad and the floor\n\n" + std::string(argv[3]) +
        Format("; medians of %.0f runs, the programs in turn; bitness from each program's PE "
               "header; load and save in-process in the %.0f-bit benchmark. ",
               runs, sizeof(void*) * 8) +
        "Notepad's default settings: word wrap " +
        (!starts[0][kNotepad].empty() && starts[0][kNotepad][0].wraps ? "on" : "off") + ". " +
        Format("Wall is the time from CreateProcess to ready; CPU the user and system time of the "
               "program's own Linux process from its start to ready, from /proc/PID/stat, counted "
               "in ticks of %.0f ms.\n\n",
               tickMs) +
        "| Target | Scribane | Against | Theirs | Ratio | Target | Result |\n" +
        "|---|---:|---|---:|---:|---:|---|\n";
    const auto median = [&](double Started::*figure, size_t input, size_t program) {
        return Median(starts[input][program], figure).first;
    };
    struct Figure {
        const char* what;
        double Started::*figure;
        size_t against;
        double target;
    };
    const Figure figures[] = {
        {"start-up to ready, %s (ms)", &Started::ms, kNotepad, kNotepadTarget},
        {"start-up CPU, %s (ms)", &Started::cpuMs, kNotepad, kNotepadTarget},
        {"start-up CPU, %s (ms)", &Started::cpuMs, kFloor, kFloorStartTarget},
        {"private bytes, %s (MB)", &Started::privateMb, kNotepad, kNotepadTarget},
        {"peak working set, %s (MB)", &Started::peakMb, kNotepad, kNotepadTarget}};
    for (const Figure& row : figures)
        for (size_t i = 0; i < inputs.size(); ++i) {
            char title[64];
            std::snprintf(title, sizeof title, row.what, inputs[i].label);
            report += Target(title, median(row.figure, i, kScribane), programs[row.against].name,
                             median(row.figure, i, row.against), row.target);
        }
    for (const int kind : {0, 2}) { // load, then save: against the floor, and per MB
        const std::string what = kind ? "save" : "load";
        for (int i = 0; i < 2; ++i) {
            report +=
                Target(what + " in-process, " + inputs[i + 1].label + " (ms)",
                       documents[i].ms[kind], "floor", documents[i].ms[kind + 1], kFloorTarget);
            report += Target(what + " CPU in-process, " + inputs[i + 1].label + " (ms)",
                             documents[i].cpuMs[kind], "floor", documents[i].cpuMs[kind + 1],
                             kFloorTarget);
        }
        report += Target(what + " per MB, 4 MB (ms)", documents[1].ms[kind] * kMb / inputs[2].bytes,
                         "64 KB", documents[0].ms[kind] * kMb / inputs[1].bytes, kLinearTarget);
    }

    std::string header = "| Program |", rule = "|---|";
    for (const Input& input : inputs) {
        header += std::string(" ") + input.label + " wall | " + input.label + " CPU |";
        rule += "---:|---:|";
    }
    header += "\n" + rule + "\n";
    report += "\nStart-up to ready in ms, wall and CPU time, each with half its interquartile "
              "range:\n\n" +
              header;
    for (size_t program = 0; program < programs.size(); ++program) {
        report += "| " + programs[program].name + " |";
        for (size_t i = 0; i < inputs.size(); ++i)
            report += Cell(Median(starts[i][program])) +
                      Cell(Median(starts[i][program], &Started::cpuMs));
        report += "\n";
    }

    report +=
        "\nScribane's start-up to ready over each other program's, in wall and CPU time:\n\n" +
        header;
    for (size_t program = 1; program < programs.size(); ++program) {
        report += "| " + programs[program].name + " |";
        for (size_t i = 0; i < inputs.size(); ++i)
            for (double Started::*figure : {&Started::ms, &Started::cpuMs})
                report += RatioCell(median(figure, i, kScribane), median(figure, i, program));
        report += "\n";
    }

    report += "\nWhere the CPU time of a start-up goes, medians in ms: up to the first visible "
              "window, from there until the edit control holds the text and the program waits "
              "for input, and from there until nothing is left to paint (the stretches' medians "
              "need not add up to the whole's):\n\n"
              "| Program | Text | to window shown | window shown to text in control | "
              "text in control to ready | start-up to ready |\n|---|---|---:|---:|---:|---:|\n";
    const std::array<double Started::*, 4> stretches = {&Started::shownCpuMs, &Started::textCpuMs,
                                                        &Started::paintCpuMs, &Started::cpuMs};
    const auto msCell = [](double ms) {
        return ms < 0 ? std::string(" n/a |") : Format(" %.0f |", ms);
    };
    for (size_t program = 0; program < programs.size(); ++program)
        for (size_t i = 0; i < inputs.size(); ++i) {
            report += "| " + programs[program].name + " | " + inputs[i].label + " |";
            for (double Started::*figure : stretches)
                report += msCell(median(figure, i, program));
            report += "\n";
        }
    for (size_t i = 0; i < inputs.size(); ++i) {
        report += "| Scribane over " + programs[kFloor].name + " | " + inputs[i].label + " |";
        for (double Started::*figure : stretches) {
            const double ours = median(figure, i, kScribane), theirs = median(figure, i, kFloor);
            report += ours < 0 || theirs < 0 ? " n/a |" : Format(" %+.0f |", ours - theirs);
        }
        report += "\n";
    }

    report += std::string("\nIn-process load and save in ms, medians of wall and CPU time, the CPU "
                          "time being that of the benchmark's main thread ") +
              (OwnLinuxId.empty() ? "by GetProcessTimes, in ticks:\n\n"
                                  : "from /proc/PID/task/PID/schedstat, in ns:\n\n") +
              "| In-process | Scribane wall | floor wall | ratio | Scribane CPU | floor CPU | "
              "ratio |\n|---|---:|---:|---:|---:|---:|---:|\n";
    for (const int kind : {0, 2})
        for (int i = 0; i < 2; ++i) {
            const InProcess& figure = documents[i];
            report += std::string("| ") + (kind ? "save" : "load") + ", " + inputs[i + 1].label +
                      " |" + Format(" %.1f | %.1f |", figure.ms[kind], figure.ms[kind + 1]) +
                      RatioCell(figure.ms[kind], figure.ms[kind + 1]) +
                      Format(" %.1f | %.1f |", figure.cpuMs[kind], figure.cpuMs[kind + 1]) +
                      RatioCell(figure.cpuMs[kind], figure.cpuMs[kind + 1]) + "\n";
        }
    report += Format("\nThe benchmark's CPU time over the in-process runs: %.0f ms by "
                     "GetProcessTimes, %.0f ms by /proc/PID/stat, ",
                     ownCpuUsed[0], ownCpuUsed[1]) +
              (OwnLinuxId.empty() ? std::string("its Linux process not found.\n")
                                  : Format("%.0f ms on its main thread.\n", ownCpuUsed[2]));

    const auto ratio = [&](double Started::*figure, size_t ours, size_t theirs) {
        return median(figure, 2, ours) / median(figure, 2, theirs);
    };
    const std::pair<const char*, double Started::*> times[] = {{"wall", &Started::ms},
                                                               {"CPU", &Started::cpuMs}};
    report += "\n";
    for (const auto& [what, figure] : times)
        report += std::string("4 MB, ") + what + " time: " +
                  Format("Scribane / floor with Verdana 16 %.2fx; floor with Verdana 16 / floor "
                         "with Notepad's font %.2fx; floor with Notepad's font / Notepad %.2fx.\n",
                         ratio(figure, kScribane, kFloor), ratio(figure, kFloor, kFloorNotepadFont),
                         ratio(figure, kFloorNotepadFont, kNotepad));
    std::fputs(report.c_str(), stdout);
    std::ofstream(folder + "\\results.md", std::ios::binary) << report;
    return 0;
}
