#include "bench/document_runs.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "platform/app_state.h"
#include "bench/bench_clock.h"
#include "document/document.h"
#include "document/document_file.h"
#include "document/document_layout.h"
#include "support/editor_session.h"
#include "support/test_files.h"

namespace {

constexpr char kFloorClassName[] = "ScribaneBenchFloor";
constexpr char kLevelDescriptionHeader[] = {0x11, 0x00, 0x00, 0x00};

// The floor's top-level window and its EDIT control, twins of the editor's.
HWND FloorWindow = nullptr;
HWND FloorEditor = nullptr;

// What the text messages of the editor and the floor's control took since TimeSplit
// began: the time inside them, and when the first of them began.
struct EditTiming {
    double insideMs = 0;
    double firstStart = 0; // 0 until the first text message
};
EditTiming EditTimes;

// The two controls' own window procedures, which the timing one calls. Timing inside the
// control's procedure separates its own cost from the caller's in the very same call.
WNDPROC EditorProc = nullptr;
WNDPROC FloorProc = nullptr;

LRESULT CALLBACK TimedEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const WNDPROC own = window == FloorEditor ? FloorProc : EditorProc;
    if (message != WM_SETTEXT && message != WM_GETTEXT && message != WM_GETTEXTLENGTH)
        return CallWindowProcA(own, window, message, wParam, lParam);
    const double start = NowMs();
    const LRESULT result = CallWindowProcA(own, window, message, wParam, lParam);
    EditTimes.insideMs += NowMs() - start;
    if (EditTimes.firstStart == 0)
        EditTimes.firstStart = start;
    return result;
}

WNDPROC TimeTextMessages(HWND editor) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TimedEditProc)));
}

struct FileBytes {
    std::unique_ptr<char[]> data; // the bytes and a NUL after them
    DWORD size = 0;
};

// The floor of reading: the whole file in one call, into a buffer of its size.
bool FloorRead(const std::string& path, FileBytes& bytes) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size))
        return false;
    bytes.data.reset(new char[static_cast<size_t>(size.QuadPart) + 1]);
    if (!ReadFile(file.Get(), bytes.data.get(), static_cast<DWORD>(size.QuadPart), &bytes.size,
                  nullptr))
        return false;
    bytes.data[bytes.size] = '\0';
    return true;
}

// The text part of file bytes in the layout of `type`: past the header of a level
// description (whose NUL ends the text), all of a plain file.
const char* FloorText(const FileBytes& bytes, FileType type) {
    const bool header =
        HasLevelDescriptionLayout(type) && bytes.size >= sizeof kLevelDescriptionHeader;
    return bytes.data.get() + (header ? sizeof kLevelDescriptionHeader : 0);
}

bool FloorLoad(const std::string& path, FileType type) {
    FileBytes bytes;
    if (!FloorRead(path, bytes))
        return false;
    return SetWindowTextA(FloorEditor, FloorText(bytes, type)) != FALSE;
}

// The floor of writing: `size` bytes in one call to a file created anew, and with
// `flushMs` given, the time FlushFileBuffers takes before the file is closed.
bool BareWrite(const std::string& path, const char* data, DWORD size, double* flushMs = nullptr) {
    UniqueFile file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), data, size, &written, nullptr) || written != size)
        return false;
    if (flushMs) {
        const double start = NowMs();
        FlushFileBuffers(file.Get());
        *flushMs = NowMs() - start;
    }
    return true;
}

// The control's whole text in the layout of `type`, fetched in one call into a buffer
// that has room for the header and the terminator.
FileBytes FloorFileBytes(HWND editor, FileType type) {
    const int length = GetWindowTextLengthA(editor);
    const bool level = HasLevelDescriptionLayout(type) && length > 0;
    const size_t header = level ? sizeof kLevelDescriptionHeader : 0;
    FileBytes bytes;
    bytes.data.reset(new char[header + static_cast<size_t>(length) + 1]);
    std::memcpy(bytes.data.get(), kLevelDescriptionHeader, header);
    const int got = GetWindowTextA(editor, bytes.data.get() + header, length + 1);
    bytes.size = static_cast<DWORD>(header + static_cast<size_t>(got) + (level ? 1 : 0));
    return bytes;
}

bool FloorSave(const std::string& path, FileType type) {
    const FileBytes bytes = FloorFileBytes(FloorEditor, type);
    return BareWrite(path, bytes.data.get(), bytes.size);
}

void ClearEditors() {
    SetWindowTextA(EditorControl, "");
    SendMessageA(EditorControl, EM_SETMODIFY, FALSE, 0);
    SetWindowTextA(FloorEditor, "");
    PumpMessages(10);
}

template <typename Action> double TimeMs(Action action) {
    const double start = NowMs();
    action();
    return NowMs() - start;
}

// Runs `action` and returns how long it took, split at the EDIT controls' text messages.
template <typename Action> SplitFigures TimeSplit(Action action) {
    EditTimes = {};
    const double start = NowMs();
    action();
    SplitFigures split;
    split.ms = NowMs() - start;
    split.editMs = EditTimes.insideMs;
    split.beforeEditMs = EditTimes.firstStart ? EditTimes.firstStart - start : split.ms;
    split.afterEditMs = split.ms - split.beforeEditMs - split.editMs;
    return split;
}

struct SplitRuns {
    std::vector<double> ms, beforeEditMs, editMs, afterEditMs;

    void Add(const SplitFigures& split) {
        ms.push_back(split.ms);
        beforeEditMs.push_back(split.beforeEditMs);
        editMs.push_back(split.editMs);
        afterEditMs.push_back(split.afterEditMs);
    }
    SplitFigures Figures() const {
        return {Median(ms), Median(beforeEditMs), Median(editMs), Median(afterEditMs)};
    }
};

std::string Beside(const std::string& folder, const std::string& name) {
    return folder + "\\" + name;
}

HWND CreateEditControl(DWORD style, DWORD extendedStyle, int width, int height, HFONT font) {
    const HWND editor =
        CreateWindowExA(extendedStyle, "EDIT", "", style | WS_CHILD, 0, 0, width, height,
                        FloorWindow, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (editor && font)
        SendMessageA(editor, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
    return editor;
}

// A name for `font`: its face and height, or the system font.
std::string FontName(HFONT font) {
    LOGFONTA description{};
    if (!font || !GetObjectA(font, sizeof description, &description))
        return "the system font";
    char name[LF_FACESIZE + 16];
    std::snprintf(name, sizeof name, "%s, height %ld", description.lfFaceName,
                  description.lfHeight);
    return name;
}

} // namespace

bool CreateFloorEditor() {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kFloorClassName;
    RegisterClassA(&windowClass);
    RECT mainWindow{}, editor{};
    GetWindowRect(MainWindow, &mainWindow);
    GetWindowRect(EditorControl, &editor);
    FloorWindow = CreateWindowExA(
        0, kFloorClassName, "Floor", WS_OVERLAPPEDWINDOW | WS_VISIBLE, mainWindow.left,
        mainWindow.top, mainWindow.right - mainWindow.left, mainWindow.bottom - mainWindow.top,
        nullptr, nullptr, windowClass.hInstance, nullptr);
    FloorEditor =
        CreateEditControl(static_cast<DWORD>(GetWindowLongPtrA(EditorControl, GWL_STYLE)),
                          static_cast<DWORD>(GetWindowLongPtrA(EditorControl, GWL_EXSTYLE)),
                          editor.right - editor.left, editor.bottom - editor.top,
                          reinterpret_cast<HFONT>(SendMessageA(EditorControl, WM_GETFONT, 0, 0)));
    if (!FloorEditor)
        return false;
    EditorProc = TimeTextMessages(EditorControl);
    FloorProc = TimeTextMessages(FloorEditor);
    PumpMessages(50);
    return true;
}

void DestroyFloorEditor() {
    if (EditorProc)
        SetWindowLongPtrA(EditorControl, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditorProc));
    if (FloorWindow)
        DestroyWindow(FloorWindow);
    FloorWindow = FloorEditor = nullptr;
    EditorProc = FloorProc = nullptr;
    UnregisterClassA(kFloorClassName, GetModuleHandleA(nullptr));
}

DocumentFigures MeasureDocument(const BenchInput& input, const std::string& workFolder, int runs,
                                bool warmUp) {
    const std::string path = Beside(workFolder, input.fileName);
    const std::string floorPath = Beside(workFolder, "floor-" + input.fileName);
    const std::string scratchPath = Beside(workFolder, "scratch-" + input.fileName);
    CopyFileA(input.path.c_str(), path.c_str(), FALSE);
    DocumentFigures figures;

    // A load or save that failed would stop at its error box: check both without one.
    DecodedDocument text;
    if (ReadDocumentFile(path, input.type, text) || text.Text.size() != input.textLength) {
        std::fprintf(stderr, "cannot load %s\n", path.c_str());
        return figures;
    }
    SetWindowTextA(EditorControl, text.Text.c_str());
    if (WriteDocumentFile(path, input.type, EditorControl)) {
        std::fprintf(stderr, "cannot save %s\n", path.c_str());
        return figures;
    }
    text = {};

    SplitRuns load, floorLoad, save, floorSave;
    for (int run = warmUp ? -1 : 0; run < runs; ++run) {
        ClearEditors();
        const SplitFigures loaded = TimeSplit([&] { LoadDocument(path, input.type); });
        PumpMessages(10);
        const SplitFigures floorLoaded = TimeSplit([&] { FloorLoad(path, input.type); });
        PumpMessages(10);
        const SplitFigures saved = TimeSplit([&] { SaveDocument(); });
        PumpMessages(10);
        const SplitFigures floorSaved = TimeSplit([&] { FloorSave(floorPath, input.type); });
        if (static_cast<size_t>(GetWindowTextLengthA(EditorControl)) != input.textLength ||
            static_cast<size_t>(GetWindowTextLengthA(FloorEditor)) != input.textLength)
            std::fprintf(stderr, "%s: the editor does not hold the whole text\n", path.c_str());
        if (run < 0)
            continue; // the warm-up
        load.Add(loaded);
        floorLoad.Add(floorLoaded);
        save.Add(saved);
        floorSave.Add(floorSaved);
    }
    figures.load = load.Figures();
    figures.floorLoad = floorLoad.Figures();
    figures.save = save.Figures();
    figures.floorSave = floorSave.Figures();

    // The steps of a save; the editor still holds the whole text.
    std::vector<double> write, bareWrite, flush, replace;
    for (int run = 0; run < runs; ++run) {
        const SplitFigures written =
            TimeSplit([&] { WriteDocumentFile(path, input.type, EditorControl); });
        write.push_back(written.ms - written.editMs);
        const FileBytes bytes = FloorFileBytes(EditorControl, input.type);
        bareWrite.push_back(TimeMs([&] { BareWrite(scratchPath, bytes.data.get(), bytes.size); }));
        double flushMs = 0;
        BareWrite(scratchPath, bytes.data.get(), bytes.size, &flushMs);
        flush.push_back(flushMs);
        replace.push_back(TimeMs([&] {
            ReplaceFileA(floorPath.c_str(), scratchPath.c_str(), nullptr,
                         REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr);
        }));
    }
    figures.writeMs = Median(write);
    figures.bareWriteMs = Median(bareWrite);
    figures.flushMs = Median(flush);
    figures.replaceMs = Median(replace);
    if (ReadFileBytes(path) != ReadFileBytes(input.path))
        std::fprintf(stderr, "%s: the saved file is not the file loaded\n", path.c_str());
    ClearEditors();
    return figures;
}

LOGFONTA EditorFontDescription() {
    LOGFONTA description{};
    const auto font = reinterpret_cast<HFONT>(SendMessageA(EditorControl, WM_GETFONT, 0, 0));
    if (font)
        GetObjectA(font, sizeof description, &description);
    return description;
}

std::vector<NamedMs> MeasureEditLooks(const BenchInput& input, const EditorLook& scribane,
                                      const EditorLook& notepad, int runs) {
    DecodedDocument decoded;
    if (ReadDocumentFile(input.path, input.type, decoded))
        return {};
    struct Look {
        std::string name;
        HFONT font;
        HWND control;
        std::vector<double> setTextMs;
    };
    auto look = [&](const char* whose, const EditorLook& styles, const LOGFONTA& font) {
        const HFONT made = font.lfFaceName[0] ? CreateFontIndirectA(&font) : nullptr;
        char name[160];
        std::snprintf(name, sizeof name, "%s styles (0x%08lX), %s", whose,
                      static_cast<unsigned long>(styles.style), FontName(made).c_str());
        return Look{name,
                    made,
                    CreateEditControl(styles.style, styles.extendedStyle, styles.width,
                                      styles.height, made),
                    {}};
    };
    Look looks[] = {
        look("Scribane's", scribane, scribane.font),
        look("Scribane's", scribane, notepad.font),
        look("Notepad's", notepad, scribane.font),
        look("Notepad's", notepad, notepad.font),
    };
    for (int run = 0; run < runs; ++run) {
        for (Look& each : looks) {
            each.setTextMs.push_back(TimeMs([&] { SetWindowTextA(each.control, decoded.Text.c_str()); }));
            SetWindowTextA(each.control, "");
            PumpMessages(10);
        }
    }
    std::vector<NamedMs> figures;
    for (Look& each : looks) {
        figures.push_back({each.name, Median(each.setTextMs)});
        DestroyWindow(each.control);
        if (each.font)
            DeleteObject(each.font);
    }
    return figures;
}
