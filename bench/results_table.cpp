#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "bench/bench_clock.h"
#include "bench/bench_results.h"
#include "bench/start_up_steps.h"

namespace {

// The targets the editor is held to.
constexpr double kNotepadTarget = 1.0; // start-up and load, against Notepad
constexpr double kFloorTarget = 1.2;   // load and save, against the floor
constexpr double kFlatTarget = 1.5;    // time per MB, largest over smallest from 512 KB up
constexpr size_t kFlatFrom = 512 * 1024;

std::string Format(const char* format, ...) {
    char buffer[1024];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(buffer, sizeof buffer, format, arguments);
    va_end(arguments);
    return buffer;
}

double Ratio(double ours, double theirs) {
    return theirs > 0 ? ours / theirs : 0;
}

std::string Ms(double ms) {
    return Format("%.1f", ms);
}

std::string Times(double ratio) {
    return Format("%.2fx", ratio);
}

std::string Mb(double bytes) {
    return Format("%.1f", bytes / kBytesPerMb);
}

// A program's figure, or a dash where the program was not run.
std::string Figure(const ProgramFigures& program, const std::string& figure) {
    return program.runs > 0 ? figure : "-";
}

std::string Verdict(bool met) {
    return met ? "met" : "MISSED";
}

double PerMb(double ms, size_t bytes) {
    return bytes ? ms * kBytesPerMb / static_cast<double>(bytes) : 0;
}

// The largest over the smallest of `values`.
double Spread(const std::vector<double>& values) {
    if (values.empty())
        return 0;
    const auto [smallest, largest] = std::minmax_element(values.begin(), values.end());
    return *smallest > 0 ? *largest / *smallest : 0;
}

std::string StartLabel(const InputFigures& figures) {
    return "with the " + figures.input.label + " file";
}

// A Markdown table row of `cells`.
std::string Row(const std::vector<std::string>& cells) {
    std::string row = "|";
    for (const std::string& cell : cells)
        row += " " + cell + " |";
    return row;
}

struct Report {
    std::string text;
    std::vector<std::string> targets;

    void Line(const std::string& line = "") { text += line + "\n"; }
    void Target(bool met, const std::string& what, const std::string& why = "") {
        std::string line = "- " + Verdict(met) + ": " + what;
        if (!met && !why.empty())
            line += " -- " + why;
        targets.push_back(line);
    }
};

const NamedMs* FindLook(const BenchResults& results, size_t index) {
    return index < results.editLooks.size() ? &results.editLooks[index] : nullptr;
}

void StartUpTable(const BenchResults& results, Report& report) {
    report.Line("## Start-up to ready");
    report.Line();
    report.Line(
        "Process start until the main window shows with its edit control and the process "
        "waits for input; with a file on the command line, until the edit control holds "
        "the whole text (the load as the user sees it). The floor is a program that only "
        "makes a window with an EDIT control like the editor's (its styles and Verdana "
        "16), reads the file in one call and gives it to the control (started with files up "
        "to 4 MB). The programs run in turn.");
    report.Line();
    report.Line("| Start | Scribane ms | Notepad ms | Floor ms | Scribane / Notepad | "
                "Scribane / floor | <= 1.0x Notepad |");
    report.Line("|---|---:|---:|---:|---:|---:|---|");
    auto row = [&](const std::string& label, const StartFigures& start) {
        const double ratio = Ratio(start.scribane.readyMs, start.notepad.readyMs);
        const bool met =
            start.scribane.runs > 0 && start.notepad.runs > 0 && ratio <= kNotepadTarget;
        const ProgramFigures& floor = start.floor;
        report.Line(Row({label, Ms(start.scribane.readyMs), Ms(start.notepad.readyMs),
                         Figure(floor, Ms(floor.readyMs)), Times(ratio),
                         Figure(floor, Times(Ratio(start.scribane.readyMs, floor.readyMs))),
                         Verdict(met)}));
        return met;
    };
    const StartFigures& empty = results.empty;
    report.Target(row("empty document", empty),
                  "start-up, empty document: " +
                      Times(Ratio(empty.scribane.readyMs, empty.notepad.readyMs)) + " Notepad",
                  Format("Scribane %.0f ms, Notepad %.0f ms, the floor program %.0f ms",
                         empty.scribane.readyMs, empty.notepad.readyMs, empty.floor.readyMs));
    for (const InputFigures& figures : results.inputs) {
        if (!figures.input.plainText)
            continue;
        const StartFigures& start = figures.start;
        std::string why = Format("Scribane %.0f ms, Notepad %.0f ms", start.scribane.readyMs,
                                 start.notepad.readyMs);
        if (start.floor.runs > 0)
            why += Format(", the floor program %.0f ms", start.floor.readyMs);
        why += Format("; in-process the EDIT control's SetWindowTextA takes %.0f ms of "
                      "LoadDocument's %.0f",
                      figures.document.load.editMs, figures.document.load.ms);
        const NamedMs* ours = FindLook(results, 0);
        const NamedMs* notepadFont = FindLook(results, 1);
        const NamedMs* notepads = FindLook(results, 3);
        if (figures.input.label == results.editLooksInput && ours && notepadFont && notepads)
            why += Format("; the same text fills an EDIT control of the editor's look in %.0f "
                          "ms, with Notepad's font instead of Verdana in %.0f ms, and one of "
                          "Notepad's look in %.0f ms",
                          ours->ms, notepadFont->ms, notepads->ms);
        report.Target(row(StartLabel(figures), start),
                      "start-up " + StartLabel(figures) + ": " +
                          Times(Ratio(start.scribane.readyMs, start.notepad.readyMs)) + " Notepad",
                      why);
    }
    report.Line();
}

void LoadTable(const BenchResults& results, Report& report) {
    report.Line("## Load in-process, against the floor");
    report.Line();
    report.Line("LoadDocument of the editor running in the benchmark's process, timed with "
                "QueryPerformanceCounter, against the floor: CreateFile, ReadFile and "
                "CloseHandle of the same bytes and SetWindowTextA into an EDIT control of the "
                "editor's styles, size and font. Each is split, in the same runs, into the "
                "time before the EDIT control's first text message (reading the file), inside "
                "the text messages (the EDIT control's own cost) and after them.");
    report.Line();
    report.Line("| File | Load ms | Reading | EDIT | After | Floor ms | Reading | EDIT | "
                "Load / floor | <= 1.2x floor |");
    report.Line("|---|---:|---:|---:|---:|---:|---:|---:|---:|---|");
    for (const InputFigures& figures : results.inputs) {
        const SplitFigures& ours = figures.document.load;
        const SplitFigures& floor = figures.document.floorLoad;
        const double ratio = Ratio(ours.ms, floor.ms);
        const bool met = ours.ms > 0 && ratio <= kFloorTarget;
        report.Line(Row({figures.input.label, Ms(ours.ms), Ms(ours.beforeEditMs), Ms(ours.editMs),
                         Ms(ours.afterEditMs), Ms(floor.ms), Ms(floor.beforeEditMs),
                         Ms(floor.editMs), Times(ratio), Verdict(met)}));
        report.Target(
            met, "load of the " + figures.input.label + " file: " + Times(ratio) + " the floor",
            Format("reading %.1f ms against %.1f, the EDIT control %.1f ms against "
                   "%.1f, then %.1f ms of status bar, recent list and title",
                   ours.beforeEditMs, floor.beforeEditMs, ours.editMs, floor.editMs,
                   ours.afterEditMs));
    }
    report.Line();
}

void SaveTable(const BenchResults& results, Report& report) {
    report.Line("## Save in-process, against the floor");
    report.Line();
    report.Line("SaveDocument against the floor: GetWindowTextA, CreateFile, WriteFile and "
                "CloseHandle. EDIT is the time inside the control's text messages; the steps "
                "after it were timed one by one: WriteDocumentFile without its EDIT time, a "
                "bare write of the same bytes, FlushFileBuffers and ReplaceFileA (which the "
                "floor does not do), what is left of WriteDocumentFile (its copies of the text, "
                "the target checks, the temporary file) and of SaveDocument (status bar).");
    report.Line();
    report.Line(
        "| File | Save ms | EDIT | Floor ms | EDIT | Save / floor | <= 1.2x floor | "
        "WriteDocumentFile | Bare write | Flush | Replace | Rest of write | Rest of save |");
    report.Line("|---|---:|---:|---:|---:|---:|---|---:|---:|---:|---:|---:|---:|");
    for (const InputFigures& figures : results.inputs) {
        const DocumentFigures& d = figures.document;
        const double ratio = Ratio(d.save.ms, d.floorSave.ms);
        const bool met = d.save.ms > 0 && ratio <= kFloorTarget;
        const double restOfWrite = d.writeMs - d.bareWriteMs - d.flushMs - d.replaceMs;
        const double restOfSave = d.save.ms - d.save.editMs - d.writeMs;
        report.Line(Row({figures.input.label, Ms(d.save.ms), Ms(d.save.editMs), Ms(d.floorSave.ms),
                         Ms(d.floorSave.editMs), Times(ratio), Verdict(met), Ms(d.writeMs),
                         Ms(d.bareWriteMs), Ms(d.flushMs), Ms(d.replaceMs), Ms(restOfWrite),
                         Ms(restOfSave)}));
        report.Target(
            met, "save of the " + figures.input.label + " file: " + Times(ratio) + " the floor",
            Format("outside the EDIT control %.1f ms against the floor's %.1f: "
                   "FlushFileBuffers %.1f ms and ReplaceFileA %.1f ms, which the floor "
                   "does not do, and %.1f ms of copies, checks and the temporary file",
                   d.save.ms - d.save.editMs, d.floorSave.ms - d.floorSave.editMs, d.flushMs,
                   d.replaceMs, restOfWrite));
    }
    report.Line();
}

void PerMbTable(const BenchResults& results, Report& report) {
    report.Line("## Time per MB");
    report.Line();
    report.Line("In-process load and save, and the programs' start with the file less their "
                "start with an empty document (ms per MB).");
    report.Line();
    report.Line("| Size | Load | Save | Floor load | Floor save | Scribane start | Notepad start | "
                "Floor start |");
    report.Line("|---|---:|---:|---:|---:|---:|---:|---:|");
    std::vector<double> load, save;
    for (const InputFigures& figures : results.inputs) {
        if (!figures.input.plainText)
            continue;
        const size_t bytes = figures.input.fileBytes;
        const DocumentFigures& d = figures.document;
        const StartFigures &start = figures.start, &empty = results.empty;
        report.Line(Row(
            {figures.input.label, Ms(PerMb(d.load.ms, bytes)), Ms(PerMb(d.save.ms, bytes)),
             Ms(PerMb(d.floorLoad.ms, bytes)), Ms(PerMb(d.floorSave.ms, bytes)),
             Ms(PerMb(start.scribane.readyMs - empty.scribane.readyMs, bytes)),
             Ms(PerMb(start.notepad.readyMs - empty.notepad.readyMs, bytes)),
             Figure(start.floor, Ms(PerMb(start.floor.readyMs - empty.floor.readyMs, bytes)))}));
        if (bytes >= kFlatFrom) {
            load.push_back(PerMb(d.load.ms, bytes));
            save.push_back(PerMb(d.save.ms, bytes));
        }
    }
    report.Line();
    report.Line("Largest over smallest time per MB from 512 KB to 8 MB: load " +
                Times(Spread(load)) + ", save " + Times(Spread(save)) + ".");
    report.Line();
    report.Target(Spread(load) <= kFlatTarget,
                  "load time per MB flat from 512 KB to 8 MB: spread " + Times(Spread(load)));
    report.Target(Spread(save) <= kFlatTarget,
                  "save time per MB flat from 512 KB to 8 MB: spread " + Times(Spread(save)));
}

void MemoryTable(const BenchResults& results, Report& report) {
    report.Line("## Memory after loading");
    report.Line();
    report.Line("GetProcessMemoryInfo of each program 100 ms after it holds the whole text, in "
                "MB: private bytes (PrivateUsage; under Wine, PagefileUsage, the process's "
                "anonymous memory) and the peak working set.");
    report.Line();
    report.Line("| Start | Private: Scribane | Notepad | Floor | Scribane / Notepad | "
                "Peak WS: Scribane | Notepad | Floor | Scribane / Notepad | <= Notepad |");
    report.Line("|---|---:|---:|---:|---:|---:|---:|---:|---:|---|");
    auto row = [&](const std::string& label, const StartFigures& start) {
        const ProgramFigures &ours = start.scribane, &notepad = start.notepad, &floor = start.floor;
        const bool met = ours.runs > 0 && notepad.runs > 0 &&
                         ours.privateBytes <= notepad.privateBytes &&
                         ours.peakWorkingSet <= notepad.peakWorkingSet;
        report.Line(
            Row({label, Mb(ours.privateBytes), Mb(notepad.privateBytes),
                 Figure(floor, Mb(floor.privateBytes)),
                 Times(Ratio(ours.privateBytes, notepad.privateBytes)), Mb(ours.peakWorkingSet),
                 Mb(notepad.peakWorkingSet), Figure(floor, Mb(floor.peakWorkingSet)),
                 Times(Ratio(ours.peakWorkingSet, notepad.peakWorkingSet)), Verdict(met)}));
        report.Target(
            met,
            "memory " + label + ": private " +
                Times(Ratio(ours.privateBytes, notepad.privateBytes)) + ", peak working set " +
                Times(Ratio(ours.peakWorkingSet, notepad.peakWorkingSet)) + " Notepad's",
            Format("%+.1f MB private and %+.1f MB peak working set against Notepad",
                   (ours.privateBytes - notepad.privateBytes) / kBytesPerMb,
                   (ours.peakWorkingSet - notepad.peakWorkingSet) / kBytesPerMb) +
                (floor.runs > 0 ? Format(", %+.1f MB and %+.1f MB against the floor program",
                                         (ours.privateBytes - floor.privateBytes) / kBytesPerMb,
                                         (ours.peakWorkingSet - floor.peakWorkingSet) / kBytesPerMb)
                                : ""));
    };
    row("empty document", results.empty);
    for (const InputFigures& figures : results.inputs)
        if (figures.input.plainText)
            row(StartLabel(figures), figures.start);
    report.Line();
}

void StartUpStepsTable(const BenchResults& results, Report& report) {
    if (results.startUpSteps.empty())
        return;
    report.Line("## The editor's start-up step by step");
    report.Line();
    report.Line("The steps StartEditor takes with an empty document, from main on, each timed in "
                "a fresh process (the benchmark program run with " +
                std::string(kStartUpStepsOption) + "), in ms.");
    report.Line();
    report.Line("| Step | ms |");
    report.Line("|---|---:|");
    double total = 0;
    for (const NamedMs& step : results.startUpSteps) {
        report.Line(Row({step.name, Ms(step.ms)}));
        total += step.ms;
    }
    report.Line(Row({"all of them", Ms(total)}));
    report.Line();
    report.Line(Format("Of Scribane's %.1f ms start-up to ready, these steps take %.1f ms; the "
                       "rest, about %.1f ms, is creating the process, loading the program and its "
                       "DLLs and starting the runtime before main.",
                       results.empty.scribane.readyMs, total,
                       results.empty.scribane.readyMs - total));
    report.Line();
}

std::string LookText(const EditorLook& look) {
    return Format("styles 0x%08lX, extended styles 0x%08lX, %d x %d pixels, font %s",
                  static_cast<unsigned long>(look.style),
                  static_cast<unsigned long>(look.extendedStyle), look.width, look.height,
                  look.font.lfFaceName[0] ? look.font.lfFaceName : "unknown");
}

void EditLooksTable(const BenchResults& results, Report& report) {
    if (results.editLooks.empty())
        return;
    report.Line("## The EDIT control's own cost");
    report.Line();
    report.Line("SetWindowTextA of the " + results.editLooksInput +
                " text into EDIT controls made in the benchmark's process, from empty. "
                "Scribane's control: " +
                LookText(results.scribaneLook) + ". Notepad's: " + LookText(results.notepadLook) +
                " (the font from the settings Notepad keeps).");
    report.Line();
    report.Line("| EDIT control | SetWindowTextA ms |");
    report.Line("|---|---:|");
    for (const NamedMs& look : results.editLooks)
        report.Line(Row({look.name, Ms(look.ms)}));
    report.Line();
}

} // namespace

std::string ResultsMarkdown(const BenchResults& results) {
    Report report;
    report.Line("# Scribane against Notepad");
    report.Line();
    report.Line(Format("%s; both programs 64-bit; medians of %d runs.", results.wineVersion.c_str(),
                       results.runs));
    report.Line();
    StartUpTable(results, report);
    LoadTable(results, report);
    SaveTable(results, report);
    PerMbTable(results, report);
    MemoryTable(results, report);
    StartUpStepsTable(results, report);
    EditLooksTable(results, report);
    report.Line("## Targets");
    report.Line();
    for (const std::string& line : report.targets)
        report.Line(line);
    return report.text;
}
