// The real scribane.exe as a user runs it, and its installer, run silently.
#include "support/harness.h"

#include "resources/resource_ids.h"

using namespace std::string_literals;

namespace {

// `program` started with `arguments` in a process of its own, ended if still running.
struct Program {
    Program(const std::string& program, const std::string& arguments) {
        std::string line = "\"" + program + "\" " + arguments;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, 0, 0, nullptr, nullptr,
                       &startup, &info);
    }
    ~Program() {
        TerminateProcess(info.hProcess, 1);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    DWORD Exit(DWORD ms = 15000) const {
        DWORD code = STILL_ACTIVE;
        WaitForSingleObject(info.hProcess, ms);
        GetExitCodeProcess(info.hProcess, &code);
        return code;
    }
    // Its first visible window of class `type` within `ms`.
    HWND Find(const char* type, DWORD ms = 10000) const {
        for (DWORD waited = 0; waited < ms; waited += 20, Sleep(20))
            for (HWND window = FindWindowExA(nullptr, nullptr, type, nullptr); window;
                 window = FindWindowExA(nullptr, window, type, nullptr)) {
                DWORD process = 0;
                GetWindowThreadProcessId(window, &process);
                if (process == info.dwProcessId && IsWindowVisible(window))
                    return window;
            }
        return nullptr;
    }
    // Its next box within `ms`, once `button` has closed it.
    Box Answer(int button, DWORD ms = 10000) const {
        HWND box = Find("#32770", ms);
        const Box seen = box ? Describe(box) : Box{};
        PostMessageA(box, WM_COMMAND, button, 0);
        for (int tries = 0; box && IsWindow(box) && tries < 250; ++tries)
            Sleep(20);
        return seen;
    }
    // The main window, ready once the editor exists and the program waits for input.
    HWND Window() const {
        HWND window = Find("Scribane");
        for (int tries = 0; tries < 500 && !FindWindowExA(window, nullptr, "Edit", nullptr);
             ++tries)
            Sleep(20);
        WaitForInputIdle(info.hProcess, 10000);
        return window;
    }
    PROCESS_INFORMATION info{};
};

using ProgramRun = Suite;

} // namespace

TEST_F(ProgramRun, ClosingAsksToSaveAndEndsWithExitCodeZero) {
    const std::string draft = Path("draft.txt"), exe = ProgramFolder() + "..\\scribane.exe";
    WriteBytes(draft, "draft");
    SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_READONLY);
    std::string run; // each box, and whether the program still runs after it
    const auto answer = [&](const Program& program, HWND window, int button, DWORD wait = 300) {
        const Box box = program.Answer(button);
        run += box.caption + (box.owner == window ? "" : " unowned") +
               (program.Exit(wait) == STILL_ACTIVE ? " runs|" : " ends|");
    };
    Program program(exe, "\"" + draft + "\"");
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(Describe(window).caption, "draft.txt - Scribane");
    SendMessageA(FindWindowExA(window, nullptr, "Edit", nullptr), WM_CHAR, '!', 0);
    PostMessageA(window, WM_CLOSE, 0, 0);
    answer(program, window, IDCANCEL);
    PostMessageA(window, WM_CLOSE, 0, 0);
    answer(program, window, IDYES);
    answer(program, nullptr, IDOK); // the report: a read-only file is not saved
    SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
    PostMessageA(window, WM_CLOSE, 0, 0);
    answer(program, window, IDYES, 15000);
    // Exit asks the same way, and No ends it without saving.
    Program again(exe, "\"" + draft + "\"");
    window = again.Window();
    SendMessageA(FindWindowExA(window, nullptr, "Edit", nullptr), WM_CHAR, '?', 0);
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
    answer(again, window, IDNO, 15000);
    EXPECT_EQ(run, "Save text runs|Save text runs|Error runs|Save text ends|Save text ends|");
    EXPECT_EQ(std::to_string(program.Exit()) + std::to_string(again.Exit()) + ReadBytes(draft),
              "00!draft");
}

TEST_F(ProgramRun, TheInstallerRegistersGreetsOnceAndUninstallsCleanly) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe",
                      target = "C:\\Velkaro Test";
    const char kVerb[] = "SystemFileAssociations\\.inf\\shell\\EditWithScribane",
               kOther[] = "SystemFileAssociations\\.inf\\shell\\Other";
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    const auto values = [&] {
        return Value(kSuiteKey, "Tessarine") + "|" + Value(kOwnKey, "EersteKeer") + "|" +
               Value(kOwnKey, "a") + "|" + Value(kSuiteKey, "Huevellan Prog") + "|" +
               Value(kVerb, "", HKEY_CLASSES_ROOT) + "|" +
               Value((kVerb + "\\command"s).c_str(), "", HKEY_CLASSES_ROOT) + "|" +
               Value(kOther, "", HKEY_CLASSES_ROOT) + "|" + Value(".inf", "", HKEY_CLASSES_ROOT) +
               Value(".txt", "", HKEY_CLASSES_ROOT);
    };
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    // A sibling tool, another program's verb and the system's file types stay untouched.
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe");
    SetValue(kOther, "", "Other verb", HKEY_CLASSES_ROOT);
    const std::string types =
        Value(".inf", "", HKEY_CLASSES_ROOT) + Value(".txt", "", HKEY_CLASSES_ROOT);
    ASSERT_EQ(Program(setup, "/S /D=" + target).Exit(60000), 0u);
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe",
                                                                "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(values(), target + "|1|-|huevellan.exe|Edit with Scribane|\"" + target +
                            "\\scribane.exe\" \"%1\"|Other verb|" + types);
    for (const char* greeting : {"First time", ""}) { // once, and nothing else
        Program program(target + "\\scribane.exe", "");
        EXPECT_EQ(program.Answer(IDCANCEL, *greeting ? 10000 : 1500).caption, greeting);
        PostMessageA(program.Window(), WM_COMMAND, CMD_EXIT, 0);
        EXPECT_EQ(program.Exit(), 0u);
    }
    SetValue(kOwnKey, "a", "C:\\L\\one.inf"); // the user's recent list is the user's
    ASSERT_EQ(Program(target + "\\Uninstall Scribane.exe", "/S _?=" + target).Exit(60000), 0u);
    // At most the uninstaller is left, which ran in place.
    EXPECT_LE(FolderContents(target), std::vector<std::string>{"Uninstall Scribane.exe"});
    EXPECT_EQ(values(), "-|-|C:\\L\\one.inf|huevellan.exe|-|-|Other verb|" + types);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kOther);
}
