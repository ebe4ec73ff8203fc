// Scribane's start-up against Wine's Notepad and the floor program, and its load and save
// against the floor's, in wall and CPU time. scripts/bench runs it; it writes FOLDER\results.md:
//   scribane_bench.exe FOLDER RUNS WINE-VERSION SCRIBANE FLOOR TICKS-PER-SECOND
#include <windows.h>
#include <shlwapi.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "floor.h"
#include "app/startup.h"
#include "document/document.h"
#include "platform/app_state.h"
#include "suite/suite_table.h"

namespace {

constexpr double kNotepadTarget = 1.0;    // start-up, against Notepad
constexpr double kFloorStartTarget = 1.1; // start-up CPU time, against the floor
constexpr double kFloorTarget = 1.2;      // in-process load and save, against the floor
constexpr double kLinearTarget = 1.5;     // time per MB of the 4 MB file over the 64 KB one
double TicksPerSecond = 100;

double NowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// The Linux process in this prefix of `program`'s file name, or an empty id: /proc (the Z: drive)
// counts the CPU time of all its threads, where Wine's GetProcessTimes counts far too little.
std::string FindProcess(const std::string& program) {
    const std::string ours = std::string("WINEPREFIX=") + std::getenv("WINEPREFIX") + '\0';
    std::string id;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more && id.empty();
         more = FindNextFileA(search, &found)) {
        const std::string proc = std::string("Z:/proc/") + found.cFileName;
        const std::string first = FileBytes(proc + "/cmdline").c_str();
        if (lstrcmpiA(PathFindFileNameA(first.c_str()), PathFindFileNameA(program.c_str())) == 0 &&
            FileBytes(proc + "/environ").find(ours) != std::string::npos)
            id = found.cFileName;
    }
    FindClose(search);
    return id;
}

// User plus system time (fields 14 and 15 of /proc/ID/stat) in ms, or -1 when unknown.
double CpuMs(const std::string& id) {
    const std::string stat = id.empty() ? "" : FileBytes("Z:/proc/" + id + "/stat");
    const size_t nameEnd = stat.rfind(')'); // the name in parentheses may hold spaces
    unsigned long user = 0, system = 0;
    if (nameEnd == std::string::npos ||
        std::sscanf(stat.c_str() + nameEnd + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %lu %lu", &user, &system) != 2)
        return -1;
    return static_cast<double>(user + system) * 1000.0 / TicksPerSecond;
}

// The CPU time of the main thread of process `id` in ms, counted in ns, or -1 when unknown.
double MainThreadCpuMs(const std::string& id) {
    const std::string schedstat = FileBytes("Z:/proc/" + id + "/task/" + id + "/schedstat");
    return id.empty() || schedstat.empty() ? -1 : std::stod(schedstat) / 1e6;
}

// One start-up or in-process step: its wall and CPU time, each -1 when unknown.
struct Run {
    double ms = -1, cpuMs = -1;
};
using Runs = std::vector<Run>; // one program's runs with one input, failed ones too

// Starts `program` with the file `input`, if any, and measures it until ready: its edit control
// holds the whole text (asked in Unicode, as each control is a Unicode one, so nothing converts
// the text to answer), it waits for input, and nothing is left to paint.
Run Start(const std::string& program, const std::string& input) {
    std::string commandLine = "\"" + program + "\"";
    if (!input.empty())
        commandLine += " \"" + input + "\"";
    const size_t textLength = FileBytes(input).size();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Run run;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    HWND window = nullptr, editor = nullptr;
    bool holdsText = false;
    DWORD_PTR length = 0;
    while (NowMs() - start < 120000 && WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT) {
        // The edit control of a visible top-level window of the process, and that window.
        for (HWND top = nullptr;
             !editor && (top = FindWindowExA(nullptr, top, nullptr, nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(top, &owner);
            if (owner == info.dwProcessId && IsWindowVisible(top))
                editor = FindWindowExA(window = top, nullptr, "Edit", nullptr);
        }
        if (editor && !holdsText && WaitForInputIdle(info.hProcess, 0) == 0 &&
            SendMessageTimeoutW(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length))
            holdsText = length >= textLength;
        if (!holdsText || GetUpdateRect(editor, nullptr, FALSE) ||
            GetUpdateRect(window, nullptr, FALSE))
            continue;
        run.ms = NowMs() - start;
        run.cpuMs = CpuMs(FindProcess(program));
        break;
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return run;
}

// The median of a figure over the runs that tell it, or of its ratio to that of the same run of
// `against`, and half the interquartile range as a share of it; {-1, 0} when no run tells it.
std::pair<double, double> Median(const Runs& runs, double Run::*figure, const Runs* against = {}) {
    std::vector<double> values;
    for (size_t run = 0; run < runs.size(); ++run) {
        const double ours = runs[run].*figure;
        const double theirs = against ? (*against)[run].*figure : 1;
        if (ours >= 0 && theirs > 0)
            values.push_back(ours / theirs);
    }
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return {-1, 0};
    const double median = (values[(n - 1) / 2] + values[n / 2]) / 2;
    const double spread = values[std::min(n - 1, 3 * n / 4)] - values[n / 4];
    return {median, median > 0 ? spread / 2 / median : 0};
}

enum { kScribane, kNotepad, kFloor }; // the programs, in this order

struct Input {
    const char* label;
    std::string path; // empty for the empty document
};

struct Bench {
    std::string folder, wineVersion, ownId; // ownId: the benchmark's own Linux process
    int runs = 3;
    std::vector<std::string> programs;
    std::vector<Input> inputs;
    Runs starts[3][3];     // by input, then program
    Runs steps[2][4];      // 64 KB, 4 MB: LoadDocument, the floor's load, SaveDocument, its save
    bool sameBytes = true; // whether every saved copy matched its file byte for byte
};

// The arguments, and the programs and inputs to measure. The Notepad of the system folder has
// the benchmark's bitness, as Scribane and the floor have.
Bench ReadArguments(char** argv) {
    Bench bench;
    bench.folder = argv[1];
    bench.runs = std::max(3, std::atoi(argv[2]));
    bench.wineVersion = argv[3];
    TicksPerSecond = std::max(1, std::atoi(argv[6]));
    bench.programs = {argv[4], std::getenv("windir") + std::string("\\system32\\notepad.exe"),
                      argv[5]};
    bench.inputs = {{"empty", ""},
                    {"64 KB", bench.folder + "\\input\\text-64k.txt"},
                    {"4 MB", bench.folder + "\\input\\text-4m.txt"}};
    bench.ownId = FindProcess("scribane_bench.exe");
    return bench;
}

// The editor's keys as the suite's installer leaves them: no warning, and a recent list.
void InstallAsTheSuiteDoes(const std::string& scribane) {
    const std::string folder = scribane.substr(0, scribane.rfind('\\'));
    HKEY own = nullptr;
    RegCreateKeyA(HKEY_LOCAL_MACHINE, ProgramKeyPathFor(kOwnSuiteName).c_str(), &own);
    RegCloseKey(own);
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, kSuiteKeyPath, kOwnSuiteName, REG_SZ, folder.c_str(),
                    static_cast<DWORD>(folder.size() + 1));
}

// Each run starts every program with each input, in turn, the first moving on by one each run,
// so a busy moment of the machine and ending the previous program fall on all alike.
void MeasureStarts(Bench& bench) {
    const size_t count = bench.programs.size();
    for (size_t run = 0; run < static_cast<size_t>(bench.runs); ++run)
        for (size_t i = 0; i < bench.inputs.size(); ++i)
            for (size_t turn = 0; turn < count; ++turn) {
                const size_t program = (turn + run) % count;
                bench.starts[i][program].push_back(
                    Start(bench.programs[program], bench.inputs[i].path));
            }
}

// The floor of a save: the control's text in one call, written in one call.
void FloorSave(HWND editor, const std::string& path) {
    std::string text(static_cast<size_t>(GetWindowTextLengthA(editor)) + 1, '\0');
    const int got = GetWindowTextA(editor, text.data(), static_cast<int>(text.size()));
    const HANDLE file =
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(got), &written, nullptr);
    CloseHandle(file);
}

// Starts the editor in this process beside the floor's window, then loads and saves each file
// by the editor and by the floor's calls, after a run that warms up, and checks the copies they
// save, left in the folder, against the file byte for byte.
bool MeasureLoadAndSave(Bench& bench) {
    ModuleInstance = GetModuleHandleA(nullptr);
    if (!StartEditor("scribane_bench.exe"))
        return false;
    const HWND floor = CreateFloor();
    const std::string copy = bench.folder + "\\copy.txt", floorCopy = bench.folder + "\\floor.txt";
    for (size_t i = 1; i <= 2; ++i) {
        const std::string& path = bench.inputs[i].path;
        CopyFileA(path.c_str(), copy.c_str(), FALSE);
        const std::function<void()> steps[] = {
            [&] { LoadDocument(copy, FileType::Text); }, [&] { FloorLoad(floor, path.c_str()); },
            [] { SaveDocument(); }, [&] { FloorSave(floor, floorCopy); }};
        for (int run = -1; run < bench.runs; ++run) {
            SetWindowTextA(EditorControl, "");
            SetWindowTextA(floor, "");
            for (MSG message; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);)
                DispatchMessageA(&message);
            for (size_t step = 0; step < 4; ++step) {
                const double start = NowMs();
                const double startCpu = MainThreadCpuMs(bench.ownId);
                steps[step]();
                const double ms = NowMs() - start;
                const double cpuMs = startCpu < 0 ? -1 : MainThreadCpuMs(bench.ownId) - startCpu;
                if (run >= 0)
                    bench.steps[i - 1][step].push_back({ms, cpuMs});
            }
        }
        const std::string original = FileBytes(path);
        bench.sameBytes = bench.sameBytes && FileBytes(copy) == original;
        bench.sameBytes = bench.sameBytes && FileBytes(floorCopy) == original;
    }
    return true;
}

// A median with half its interquartile range as a share of it, or "n/a" when no run told it; a
// ratio with a target also says whether its median meets it.
void WriteCell(FILE* out, std::pair<double, double> median, const char* format, double target = 0) {
    if (median.first < 0)
        std::fputs(" n/a", out);
    else
        std::fprintf(out, format, median.first, median.second * 100);
    if (target > 0)
        std::fprintf(out, ", <= %.2fx %s", target,
                     median.first >= 0 && median.first <= target ? "met" : "MISSED");
    std::fputs(" |", out);
}

// Scribane's wall and CPU time against theirs: the medians of each, and of Scribane's over
// theirs run by run, with its targets.
void WriteRow(FILE* out, const std::string& what, const Runs& ours, const Runs& theirs,
              double wallTarget, double cpuTarget) {
    std::fprintf(out, "| %s |", what.c_str());
    for (double Run::*figure : {&Run::ms, &Run::cpuMs}) {
        WriteCell(out, Median(ours, figure), " %.1f ±%.0f%%");
        WriteCell(out, Median(theirs, figure), " %.1f ±%.0f%%");
        WriteCell(out, Median(ours, figure, &theirs), " %.2fx ±%.0f%%",
                  figure == &Run::ms ? wallTarget : cpuTarget);
    }
    std::fputs("\n", out);
}

void WriteResults(const Bench& bench) {
    FILE* const out = std::fopen((bench.folder + "\\results.md").c_str(), "wb");
    std::fprintf(
        out,
        "# Scribane against Notepad and the floor\n\n%s, every program %d-bit; medians of %d "
        "runs ± half the interquartile range as a share of the median. A ratio is Scribane's "
        "over theirs run by run, and decides the target. Start-up lasts until the edit control "
        "holds the whole text, the program waits for input and nothing is left to paint; its "
        "CPU time is the Linux process's, in %.0f ms ticks. The floor is a bare Unicode EDIT "
        "control, Verdana 16, handed the text by EM_SETHANDLE. Load and save run in-process, "
        "their CPU time the main thread's. The saved copies %s their files byte for byte.\n\n"
        "| Scribane against | Scribane's wall (ms) | theirs | ratio | Scribane's CPU (ms) | "
        "theirs | ratio |\n|---|---:|---:|---:|---:|---:|---:|\n",
        bench.wineVersion.c_str(), static_cast<int>(sizeof(void*) * 8), bench.runs,
        1000.0 / TicksPerSecond, bench.sameBytes ? "matched" : "DID NOT match");
    for (size_t i = 0; i < bench.inputs.size(); ++i) {
        const Runs* starts = bench.starts[i];
        const std::string text = std::string(", start-up, ") + bench.inputs[i].label;
        WriteRow(out, "Notepad" + text, starts[kScribane], starts[kNotepad], kNotepadTarget,
                 kNotepadTarget);
        WriteRow(out, "floor" + text, starts[kScribane], starts[kFloor], 0, kFloorStartTarget);
    }
    const auto perMb = [&](size_t i, size_t step) { // in-process step with input i + 1
        const double scale =
            (1 << 20) / static_cast<double>(FileBytes(bench.inputs[i + 1].path).size());
        Runs runs = bench.steps[i][step];
        for (Run& run : runs)
            run = {run.ms * scale, run.cpuMs * scale};
        return runs;
    };
    for (const size_t step : {0, 2}) {
        const std::string what = step == 0 ? "load in-process" : "save in-process";
        for (size_t i = 0; i < 2; ++i)
            WriteRow(out, "floor, " + what + ", " + bench.inputs[i + 1].label, bench.steps[i][step],
                     bench.steps[i][step + 1], kFloorTarget, kFloorTarget);
        WriteRow(out, "itself, " + what + " per MB, 4 MB against 64 KB", perMb(1, step),
                 perMb(0, step), kLinearTarget, 0);
    }
    std::fclose(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7 || !std::getenv("windir") || !std::getenv("WINEPREFIX"))
        return 2;
    Bench bench = ReadArguments(argv);
    InstallAsTheSuiteDoes(bench.programs[kScribane]);
    MeasureStarts(bench);
    if (!MeasureLoadAndSave(bench))
        return 1;
    WriteResults(bench);
    return 0;
}
