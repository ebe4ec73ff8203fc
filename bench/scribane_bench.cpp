// Scribane against Wine's Notepad and the floor program: start-up to ready in wall and CPU
// time and memory then, and in-process load and save through the editor's own code against
// the bare file calls. scripts/bench runs it; it reads FOLDER\input, writes FOLDER\results.md:
//   scribane_bench.exe FOLDER RUNS WINE-VERSION SCRIBANE FLOOR TICKS-PER-SECOND
#include <windows.h>
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
constexpr double kFloorTarget = 1.2;      // in-process load and save, against the floor
constexpr double kFloorStartTarget = 1.1; // start-up CPU time, against the floor
constexpr double kLinearTarget = 1.5;     // time per MB of the 4 MB file over the 64 KB one
constexpr double kMb = 1024.0 * 1024.0;
double TicksPerSecond = 100;

double NowMs() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double, std::milli>(now).count();
}

std::string FileBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// Linux counts the CPU time of every thread of a Wine process in /proc, which the prefix's
// Z: drive shows; Wine's GetProcessTimes on another process counts far too little.
std::vector<std::string> ProcessIds() {
    std::vector<std::string> ids;
    WIN32_FIND_DATAA found{};
    const HANDLE search = FindFirstFileA("Z:\\proc\\*", &found);
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
        if (found.cFileName[0] >= '1' && found.cFileName[0] <= '9')
            ids.push_back(found.cFileName);
    FindClose(search);
    return ids;
}

// The process not among `before` that runs a program of the file name of `program` (its first
// argument, once Wine has set it) in this prefix, or an empty id.
std::string FindProcess(const std::vector<std::string>& before, const std::string& program) {
    const auto name = [](const std::string& path) {
        return path.substr(path.find_last_of("/\\") + 1);
    };
    const char* prefix = std::getenv("WINEPREFIX");
    const std::string ours = std::string("WINEPREFIX=") + (prefix ? prefix : "") + '\0';
    for (const std::string& id : ProcessIds()) {
        if (std::find(before.begin(), before.end(), id) != before.end())
            continue;
        const std::string first = FileBytes("Z:/proc/" + id + "/cmdline").c_str();
        if (lstrcmpiA(name(first).c_str(), name(program).c_str()) == 0 &&
            (!prefix || FileBytes("Z:/proc/" + id + "/environ").find(ours) != std::string::npos))
            return id;
    }
    return {};
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

double CpuBetween(double from, double to) {
    return from < 0 || to < 0 ? -1 : to - from;
}

// One start-up or in-process step, each figure -1 when unknown. A start-up's CPU time is split
// up to its first visible window, from there until the edit control holds the text and the
// program waits for input, and from there until nothing is left to paint.
struct Run {
    double ms = -1, cpuMs = -1, shownCpuMs = -1, textCpuMs = -1, paintCpuMs = -1;
    bool wraps = false; // whether the edit control wraps words
};
using Runs = std::vector<Run>; // one program's runs with one input, failed ones too

// Looks through the visible top-level windows of process `id` for one that holds an edit
// control, and tells whether the process shows any window.
bool FindEditor(DWORD id, HWND& window, HWND& editor) {
    bool shown = false;
    for (HWND top = nullptr; !editor && (top = FindWindowExA(nullptr, top, nullptr, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(top, &owner);
        if (owner != id || !IsWindowVisible(top))
            continue;
        shown = true;
        editor = FindWindowExA(window = top, nullptr, "Edit", nullptr);
    }
    return shown;
}

// Starts `commandLine`, which runs `program`, and measures it until ready: its window shows an
// edit control that holds all `textLength` characters, it waits for input, and nothing is left
// to paint. Each program's control is a Unicode one, asked for its length in Unicode so that
// nothing converts the text to answer.
Run Start(const std::string& program, std::string commandLine, size_t textLength) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Run run;
    const std::vector<std::string> before = ProcessIds();
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    std::string id;
    HWND window = nullptr, editor = nullptr;
    bool idle = false;
    double shownCpu = -1, textCpu = -1;
    DWORD_PTR length = 0;
    while (NowMs() - start < 120000 && WaitForSingleObject(info.hProcess, 1) == WAIT_TIMEOUT) {
        if (id.empty())
            id = FindProcess(before, program);
        idle = idle || WaitForInputIdle(info.hProcess, 0) == 0;
        if (!editor && FindEditor(info.dwProcessId, window, editor) && shownCpu < 0)
            shownCpu = CpuMs(id);
        if (idle && editor && textCpu < 0 &&
            SendMessageTimeoutW(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length) &&
            length >= textLength)
            textCpu = CpuMs(id);
        if (textCpu < 0 || GetUpdateRect(editor, nullptr, FALSE) ||
            GetUpdateRect(window, nullptr, FALSE))
            continue;
        run.ms = NowMs() - start;
        run.cpuMs = CpuMs(id);
        run.shownCpuMs = shownCpu;
        run.textCpuMs = CpuBetween(shownCpu, textCpu);
        run.paintCpuMs = CpuBetween(textCpu, run.cpuMs);
        run.wraps = !(GetWindowLongPtrA(editor, GWL_STYLE) & (ES_AUTOHSCROLL | WS_HSCROLL));
        break;
    }
    TerminateProcess(info.hProcess, 0);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    return run;
}

// The median of the known values (0 or more) and half their interquartile range as a share of
// it; {-1, 0} when none is known.
std::pair<double, double> Median(std::vector<double> values) {
    std::erase_if(values, [](double value) { return value < 0; });
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    if (n == 0)
        return {-1, 0};
    const double median = (values[(n - 1) / 2] + values[n / 2]) / 2;
    const double spread = values[std::min(n - 1, 3 * n / 4)] - values[n / 4];
    return {median, median > 0 ? spread / 2 / median : 0};
}

// The median of a figure of `runs`, or of its ratio to that of the same run of `against`.
std::pair<double, double> Median(const Runs& runs, double Run::*figure, const Runs* against = {}) {
    std::vector<double> values;
    for (size_t run = 0; run < runs.size(); ++run) {
        const double ours = runs[run].*figure, theirs = against ? (*against)[run].*figure : 1;
        values.push_back(ours < 0 || theirs <= 0 ? -1 : ours / theirs);
    }
    return Median(values);
}

struct Program {
    std::string name, path, options;
};
// Always measured, in this order.
enum { kScribane, kNotepad, kFloor };

struct Input {
    const char* label;
    std::string path; // empty for the empty document
    size_t bytes = 0;
};

// What the benchmark is given and what it finds.
struct Bench {
    std::string folder, wineVersion, scribane, floor, ownId; // ownId: its own Linux process
    int runs = 3;
    std::vector<Program> programs;
    std::vector<Input> inputs;
    std::vector<std::vector<Runs>> starts; // by input, then program
    // In-process with the 64 KB and the 4 MB input: LoadDocument, the floor's load,
    // SaveDocument and the floor's save.
    Runs steps[2][4];
    bool sameBytes = true; // whether every saved copy matched its file byte for byte
};

Bench ReadArguments(char** argv) {
    Bench bench;
    bench.folder = argv[1];
    bench.runs = std::max(3, std::atoi(argv[2]));
    bench.wineVersion = argv[3];
    bench.scribane = argv[4];
    bench.floor = argv[5];
    TicksPerSecond = std::max(1, std::atoi(argv[6]));
    if (ProcessIds().empty())
        std::fprintf(stderr, "Z:\\proc cannot be read here: no CPU times\n");
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

// The Notepad of the system folder has this program's bitness, as Scribane and the floor have.
void ListProgramsAndInputs(Bench& bench) {
    const std::string notepad = std::getenv("windir") + std::string("\\system32\\notepad.exe");
    bench.programs = {{"Scribane", bench.scribane, ""},
                      {"Notepad", notepad, ""},
                      {"Floor, Verdana 16", bench.floor, ""}};
    bench.inputs = {{"empty", ""},
                    {"64 KB", bench.folder + "\\input\\text-64k.txt"},
                    {"4 MB", bench.folder + "\\input\\text-4m.txt"}};
    for (Input& input : bench.inputs)
        input.bytes = FileBytes(input.path).size();
}

// Each run starts every program once with each input, the programs in turn and the first of
// them moving on by one each run, so a busy moment of the machine and the cost of ending the
// previous program fall on all of them alike.
void MeasureStarts(Bench& bench) {
    const size_t count = bench.programs.size();
    bench.starts.assign(bench.inputs.size(), std::vector<Runs>(count));
    for (size_t run = 0; run < static_cast<size_t>(bench.runs); ++run)
        for (size_t i = 0; i < bench.inputs.size(); ++i)
            for (size_t turn = 0; turn < count; ++turn) {
                const Program& program = bench.programs[(turn + run) % count];
                std::string line = "\"" + program.path + "\"" + program.options;
                if (!bench.inputs[i].path.empty())
                    line += " \"" + bench.inputs[i].path + "\"";
                bench.starts[i][(turn + run) % count].push_back(
                    Start(program.path, line, bench.inputs[i].bytes));
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

// Loads and saves input `i` (1 or 2) by the editor and by the floor's calls on a window of the
// floor's own, after a run that warms up, and checks that the saved copies are the file byte
// for byte.
void MeasureDocument(Bench& bench, size_t i) {
    const HWND floor = CreateFloor();
    const std::string& path = bench.inputs[i].path;
    const std::string copy = bench.folder + "\\copy.txt", floorCopy = bench.folder + "\\floor.txt";
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
            Run time;
            time.ms = NowMs();
            time.cpuMs = MainThreadCpuMs(bench.ownId);
            steps[step]();
            time.ms = NowMs() - time.ms;
            time.cpuMs = CpuBetween(time.cpuMs, MainThreadCpuMs(bench.ownId));
            if (run >= 0)
                bench.steps[i - 1][step].push_back(time);
        }
    }
    const std::string original = FileBytes(path);
    bench.sameBytes = bench.sameBytes && FileBytes(copy) == original;
    bench.sameBytes = bench.sameBytes && FileBytes(floorCopy) == original;
    DeleteFileA(copy.c_str());
    DeleteFileA(floorCopy.c_str());
    DestroyWindow(GetParent(floor));
}

// Starts the editor in this process and measures its load and save of each file.
bool MeasureLoadAndSave(Bench& bench) {
    ModuleInstance = GetModuleHandleA(nullptr);
    if (!StartEditor("scribane_bench.exe")) {
        std::fprintf(stderr, "the editor did not start in-process\n");
        return false;
    }
    bench.ownId = FindProcess({}, "scribane_bench.exe");
    MeasureDocument(bench, 1);
    MeasureDocument(bench, 2);
    return true;
}

// In how many runs `ours` took less CPU time than the same run of `theirs`.
int Cheaper(const Runs& ours, const Runs& theirs) {
    int cheaper = 0;
    for (size_t run = 0; run < ours.size(); ++run)
        if (ours[run].cpuMs >= 0 && ours[run].cpuMs < theirs[run].cpuMs)
            ++cheaper;
    return cheaper;
}

double MedianOf(const Runs& runs, double Run::*figure) {
    return Median(runs, figure).first;
}

// A median with half its interquartile range, or "n/a" when no run told it.
void WriteCell(FILE* out, std::pair<double, double> median,
               const char* format = " %.0f ±%.0f%% |") {
    if (median.first < 0)
        std::fputs(" n/a |", out);
    else
        std::fprintf(out, format, median.first, median.second * 100);
}

void WriteIntroduction(FILE* out, const Bench& bench) {
    const Runs& notepad = bench.starts[0][kNotepad];
    const bool wraps =
        std::any_of(notepad.begin(), notepad.end(), [](auto& run) { return run.wraps; });
    std::fprintf(
        out,
        "# Scribane against Notepad and the floor\n\n%s; medians of %d runs, the programs "
        "in turn, ± half the interquartile range as a share of the median; every program "
        "%d-bit, as the benchmark is built; load and save in-process in the benchmark. "
        "Wall is the time from CreateProcess to ready; CPU the user and system time of "
        "the program's own Linux process from its start to ready, from /proc/PID/stat, "
        "counted in ticks of %.0f ms. Notepad's default settings: word wrap %s. The "
        "floor is a window with a bare Unicode EDIT control given Verdana 16, then the "
        "file's text as UTF-16 in a moveable LocalAlloc block, handed to the control as its "
        "buffer by EM_SETHANDLE; load and save in-process use a window of the floor's own.\n\n",
        bench.wineVersion.c_str(), bench.runs, static_cast<int>(sizeof(void*) * 8),
        1000.0 / TicksPerSecond, wraps ? "on" : "off");
}

// A row of the targets table: ours against theirs, the ratio and the verdict.
void WriteTarget(FILE* out, const std::string& what, double ours, const std::string& against,
                 double theirs, double target) {
    const double ratio = theirs > 0 ? ours / theirs : 0;
    const bool met = ours > 0 && theirs > 0 && ratio <= target;
    std::fprintf(out, "| %s | %.1f | %s | %.1f | %.2fx | <= %.2fx | %s |\n", what.c_str(), ours,
                 against.c_str(), theirs, ratio, target, met ? "met" : "MISSED");
}

void WriteTargets(FILE* out, const Bench& bench) {
    std::fputs("| Target | Scribane | Against | Theirs | Ratio | Target | Result |\n"
               "|---|---:|---|---:|---:|---:|---|\n",
               out);
    struct Row {
        const char* what;
        double Run::*figure;
        size_t against;
        double target;
    };
    const Row rows[] = {{"start-up to ready", &Run::ms, kNotepad, kNotepadTarget},
                        {"start-up CPU", &Run::cpuMs, kNotepad, kNotepadTarget},
                        {"start-up CPU", &Run::cpuMs, kFloor, kFloorStartTarget}};
    for (const Row& row : rows)
        for (size_t i = 0; i < bench.inputs.size(); ++i)
            WriteTarget(out, std::string(row.what) + ", " + bench.inputs[i].label + " (ms)",
                        MedianOf(bench.starts[i][kScribane], row.figure),
                        bench.programs[row.against].name,
                        MedianOf(bench.starts[i][row.against], row.figure), row.target);
    for (const size_t step : {0, 2}) { // load, then save: against the floor, and per MB
        const std::string what = step == 0 ? "load" : "save";
        for (size_t i = 0; i < 2; ++i) {
            const Runs* steps = bench.steps[i];
            const std::string input = std::string(", ") + bench.inputs[i + 1].label + " (ms)";
            WriteTarget(out, what + " in-process" + input, MedianOf(steps[step], &Run::ms), "floor",
                        MedianOf(steps[step + 1], &Run::ms), kFloorTarget);
            WriteTarget(out, what + " CPU in-process" + input, MedianOf(steps[step], &Run::cpuMs),
                        "floor", MedianOf(steps[step + 1], &Run::cpuMs), kFloorTarget);
        }
        const auto perMb = [&](size_t i) {
            return MedianOf(bench.steps[i][step], &Run::ms) * kMb / bench.inputs[i + 1].bytes;
        };
        WriteTarget(out, what + " per MB, 4 MB (ms)", perMb(1), "64 KB", perMb(0), kLinearTarget);
    }
}

void WriteInProcessNote(FILE* out, const Bench& bench) {
    std::fprintf(out,
                 "\nIn-process CPU time is that of the benchmark's main thread, from "
                 "/proc/PID/task/PID/schedstat in ns. The copies that the editor and the floor "
                 "saved %s their files byte for byte.\n",
                 bench.sameBytes ? "matched" : "DID NOT match");
}

// Each program's start-up with each input: wall and CPU time, where the CPU time went, and the
// ratios of Scribane's to it and of it to the floor's, run by run; then Scribane's excess over
// the floor.
void WriteStartUps(FILE* out, const Bench& bench) {
    std::fputs(
        "\nStart-up to ready in ms: wall and CPU time, and the CPU time up to the first "
        "visible window, from there until the edit control holds the text and the program "
        "waits for input, and from there until nothing is left to paint (the stretches' "
        "medians need not add up to the whole's); then medians of ratios, run by run:\n\n"
        "| Program | Text | wall | CPU | to window shown | window shown to text in control "
        "| text in control to ready | Scribane's wall over it | Scribane's CPU over it | CPU "
        "over the floor's | runs cheaper:dearer than the floor |\n"
        "|---|---|---:|---:|---:|---:|---:|---:|---:|---:|---:|\n",
        out);
    const char* const kRatio = " %.2fx ±%.0f%% |";
    double Run::*const figures[] = {&Run::ms, &Run::cpuMs, &Run::shownCpuMs, &Run::textCpuMs,
                                    &Run::paintCpuMs};
    for (size_t i = 0; i < bench.inputs.size(); ++i) {
        const std::vector<Runs>& starts = bench.starts[i];
        for (size_t program = 0; program < bench.programs.size(); ++program) {
            std::fprintf(out, "| %s | %s |", bench.programs[program].name.c_str(),
                         bench.inputs[i].label);
            for (double Run::*figure : figures)
                WriteCell(out, Median(starts[program], figure));
            WriteCell(out, Median(starts[kScribane], &Run::ms, &starts[program]), kRatio);
            WriteCell(out, Median(starts[kScribane], &Run::cpuMs, &starts[program]), kRatio);
            WriteCell(out, Median(starts[program], &Run::cpuMs, &starts[kFloor]), kRatio);
            std::fprintf(out, " %d:%d |\n", Cheaper(starts[program], starts[kFloor]),
                         Cheaper(starts[kFloor], starts[program]));
        }
        std::fprintf(out, "| Scribane's excess over the floor, Verdana 16 | %s |",
                     bench.inputs[i].label);
        for (double Run::*figure : figures) {
            const double ours = MedianOf(starts[kScribane], figure);
            const double theirs = MedianOf(starts[kFloor], figure);
            if (ours < 0 || theirs < 0)
                std::fputs(" n/a |", out);
            else
                std::fprintf(out, " %+.0f |", ours - theirs);
        }
        std::fputs(" | | | |\n", out);
    }
}

void WriteResults(const Bench& bench) {
    const std::string path = bench.folder + "\\results.md";
    FILE* const out = std::fopen(path.c_str(), "wb");
    WriteIntroduction(out, bench);
    WriteTargets(out, bench);
    WriteInProcessNote(out, bench);
    WriteStartUps(out, bench);
    std::fclose(out);
    std::fputs(FileBytes(path).c_str(), stdout);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 7 || !std::getenv("windir"))
        return 2;
    Bench bench = ReadArguments(argv);
    InstallAsTheSuiteDoes(bench.scribane);
    ListProgramsAndInputs(bench);
    MeasureStarts(bench);
    if (!MeasureLoadAndSave(bench))
        return 1;
    WriteResults(bench);
    return 0;
}
