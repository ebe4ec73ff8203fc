#include "bench/start_up_steps.h"

#include <windows.h>
#include <cstdio>
#include <sstream>

#include "platform/app_state.h"
#include "app/menu_bar.h"
#include "app/startup.h"
#include "bench/bench_clock.h"
#include "bench/program_runs.h"
#include "resources/resource_ids.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"
#include "support/test_files.h"

namespace {

// The steps in the order StartEditor takes them (a first-run greeting, an installation
// warning and a file on the command line left out), each named for the table.
const char* const kStepNames[] = {
    "suite settings and the two fonts",
    "window class",
    "main window",
    "menu bar",
    "showing and painting the main window",
    "status bar",
    "editor control",
    "shortcuts and focus",
    "the first messages",
};
constexpr size_t kStepCount = std::size(kStepNames);

} // namespace

int RunStartUpSteps(const char* resultFile) {
    std::vector<double> ends{NowMs()};
    auto step = [&](auto action) {
        action();
        ends.push_back(NowMs());
    };
    ModuleInstance = GetModuleHandleA(nullptr);
    step([] { LoadSuiteSettings(kOwnSuiteName); });
    step([] { RegisterMainClass(); });
    step([] { CreateMainWindow(); });
    step([] { SetMenu(MainWindow, BuildMenuBar()); });
    step([] {
        ShowWindow(MainWindow, SW_SHOW);
        UpdateWindow(MainWindow);
    });
    step([] { CreateStatusBar(); });
    step([] { CreateEditorControl(); });
    step([] {
        LoadAcceleratorsA(ModuleInstance, MAKEINTRESOURCEA(IDR_SHORTCUTS));
        SetFocus(EditorControl);
    });
    step([] {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    });
    std::ostringstream times;
    times.precision(17);
    for (double end : ends)
        times << end << '\n';
    WriteFileBytes(resultFile, times.str());
    return 0;
}

std::vector<NamedMs> MeasureStartUpSteps(const std::string& benchProgram, int runs) {
    const std::string resultFile = FreshFolder("bench-steps") + "\\steps.txt";
    std::vector<std::vector<double>> stepMs(kStepCount);
    // How the program got to main is not the editor's: the benchmark program is a console
    // program with more code. Its steps begin at main.
    for (int run = 0; run < runs; ++run) {
        DeleteFileA(resultFile.c_str());
        std::string commandLine =
            Quoted(benchProgram) + " " + kStartUpStepsOption + " " + Quoted(resultFile);
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            nullptr, &startup, &info))
            continue;
        UniqueHandle process(info.hProcess), thread(info.hThread);
        if (WaitForSingleObject(process.Get(), 30000) != WAIT_OBJECT_0)
            TerminateProcess(process.Get(), 1);
        std::istringstream times(ReadFileBytes(resultFile));
        std::vector<double> ends;
        for (double end; times >> end;)
            ends.push_back(end);
        if (ends.size() != kStepCount + 1)
            continue;
        for (size_t step = 0; step < kStepCount; ++step)
            stepMs[step].push_back(ends[step + 1] - ends[step]);
    }
    std::vector<NamedMs> figures;
    for (size_t step = 0; step < kStepCount; ++step)
        figures.push_back({kStepNames[step], Median(stepMs[step])});
    return figures;
}
