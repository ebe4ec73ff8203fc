#include "bench/program_runs.h"

#include <windows.h>
#include <psapi.h>
#include <vector>

#include "bench/bench_clock.h"

namespace {

// How long one start may take before the run counts as failed.
constexpr double kReadyTimeoutMs = 120000;

// The pause after ready before the memory figures are read, so the first paint that
// follows the load is in them.
constexpr DWORD kSettleMs = 100;

struct ProgramRun {
    bool ready = false;
    double readyMs = 0;
    double privateBytes = 0;
    double peakWorkingSet = 0;
};

struct EditorSearch {
    DWORD processId;
    HWND editor;
};

BOOL CALLBACK FindEditor(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<EditorSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    if (processId != search->processId || !IsWindowVisible(window))
        return TRUE;
    search->editor = FindWindowExA(window, nullptr, "Edit", nullptr);
    return search->editor ? FALSE : TRUE;
}

// The edit control in a visible top-level window of process `processId`, once there is one.
HWND EditorOfProcess(DWORD processId) {
    EditorSearch search{processId, nullptr};
    EnumWindows(FindEditor, reinterpret_cast<LPARAM>(&search));
    return search.editor;
}

// Whether the editor's text has reached `textLength`. The question waits while the
// program is still busy filling its control, so the answer comes once that is done.
bool HoldsText(HWND editor, size_t textLength) {
    if (textLength == 0)
        return true;
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(editor, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 60000, &length))
        return false;
    return length >= textLength;
}

// The program's edit control once it is ready, or nullptr when it ended or took too long.
HWND WaitUntilReady(const PROCESS_INFORMATION& process, size_t textLength, double start) {
    bool idle = false;
    HWND editor = nullptr;
    while (NowMs() - start < kReadyTimeoutMs) {
        if (!idle)
            idle = WaitForInputIdle(process.hProcess, 0) == 0;
        if (!editor)
            editor = EditorOfProcess(process.dwProcessId);
        if (idle && editor && HoldsText(editor, textLength))
            return editor;
        if (WaitForSingleObject(process.hProcess, 1) == WAIT_OBJECT_0)
            return nullptr;
    }
    return nullptr;
}

// Private bytes as Windows counts them. Wine leaves PrivateUsage at 0 for other
// processes and gives the same figure (the process's anonymous memory) as PagefileUsage.
double PrivateBytes(const PROCESS_MEMORY_COUNTERS_EX& counters) {
    return static_cast<double>(counters.PrivateUsage ? counters.PrivateUsage
                                                     : counters.PagefileUsage);
}

// One start of `program`; `inspect` sees the edit control once the program is ready.
template <typename Inspect>
ProgramRun RunProgram(const std::string& program, const std::string& file, size_t textLength,
                      Inspect inspect) {
    std::string commandLine = program;
    if (!file.empty()) {
        commandLine += ' ';
        commandLine += Quoted(file);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    ProgramRun run;
    const double start = NowMs();
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return run;
    UniqueHandle process(info.hProcess), thread(info.hThread);
    const HWND editor = WaitUntilReady(info, textLength, start);
    run.readyMs = NowMs() - start;
    run.ready = editor != nullptr;
    if (run.ready) {
        Sleep(kSettleMs);
        PROCESS_MEMORY_COUNTERS_EX counters{};
        counters.cb = sizeof counters;
        if (GetProcessMemoryInfo(process.Get(),
                                 reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                 sizeof counters)) {
            run.privateBytes = PrivateBytes(counters);
            run.peakWorkingSet = static_cast<double>(counters.PeakWorkingSetSize);
        }
        inspect(editor, process.Get());
    }
    TerminateProcess(process.Get(), 0);
    WaitForSingleObject(process.Get(), 10000);
    return run;
}

struct ProgramRuns {
    std::vector<double> readyMs, privateBytes, peakWorkingSet;

    void Add(const ProgramRun& run) {
        if (!run.ready)
            return;
        readyMs.push_back(run.readyMs);
        privateBytes.push_back(run.privateBytes);
        peakWorkingSet.push_back(run.peakWorkingSet);
    }
    ProgramFigures Figures() const {
        return {static_cast<int>(readyMs.size()), Median(readyMs), Median(privateBytes),
                Median(peakWorkingSet)};
    }
};

} // namespace

std::string Quoted(const std::string& text) {
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

EditorLook LookOfEditor(const std::string& commandLine) {
    EditorLook look;
    RunProgram(commandLine, "", 0, [&](HWND editor, HANDLE process) {
        look.style = static_cast<DWORD>(GetWindowLongPtrA(editor, GWL_STYLE));
        look.extendedStyle = static_cast<DWORD>(GetWindowLongPtrA(editor, GWL_EXSTYLE));
        RECT rectangle{};
        GetWindowRect(editor, &rectangle);
        look.width = rectangle.right - rectangle.left;
        look.height = rectangle.bottom - rectangle.top;
        // Closed as a user closes it, so it keeps its settings as it does then.
        PostMessageA(GetAncestor(editor, GA_ROOT), WM_CLOSE, 0, 0);
        WaitForSingleObject(process, 10000);
    });
    return look;
}

std::vector<ProgramFigures> MeasurePrograms(const std::vector<std::string>& commandLines,
                                            const std::string& file, size_t textLength, int runs) {
    // In turn, so a busy moment of the machine falls on all of them alike.
    std::vector<ProgramRuns> programRuns(commandLines.size());
    for (int run = 0; run < runs; ++run)
        for (size_t program = 0; program < commandLines.size(); ++program)
            programRuns[program].Add(
                RunProgram(commandLines[program], file, textLength, [](HWND, HANDLE) {}));
    std::vector<ProgramFigures> figures;
    for (const ProgramRuns& each : programRuns)
        figures.push_back(each.Figures());
    return figures;
}
