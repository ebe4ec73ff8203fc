// The editor in its suite: the settings and first-run flag the installer leaves, the
// greeting and About, the Programmes menu, and the programs the editor starts.
#include "support/harness.h"

#include <algorithm>

#include "resources/resource_ids.h"
#include "suite/suite_links.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"

namespace {

const char* const kStandIns[] = {"Hh.exe",        "Explorer.exe", "terracant.exe",
                                 "huevellan.exe", "brasquel.exe", "lexorith.exe"};
const char kQuickStart[] = "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm";

// Recording stand-ins for the help viewer, the shell and the sibling tools, beside the
// test program, where WinExec looks first.
struct SuiteLinks : Suite {
    void SetUp() override {
        Suite::SetUp();
        for (const char* name : kStandIns)
            CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(),
                      (ProgramFolder() + name).c_str(), 0);
    }
    void TearDown() override {
        for (const char* name : kStandIns) // one may still be ending
            for (int tries = 0; tries < 50 && !DeleteFileA((ProgramFolder() + name).c_str()) &&
                                GetLastError() != ERROR_FILE_NOT_FOUND;
                 ++tries)
                Sleep(100);
        Suite::TearDown();
    }
    // The command lines the stand-ins were started with, sorted, once `count` have come
    // and a moment more for any that should not.
    static std::string Launches(int count) {
        const std::string log = ProgramFolder() + "launches.txt";
        for (int tries = 0; tries < 100 && std::ranges::count(ReadBytes(log), '\n') < count;
             ++tries)
            Sleep(100);
        Sleep(300);
        std::vector<std::string> lines;
        const std::string text = ReadBytes(log);
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at) + "|");
        DeleteFileA(log.c_str());
        std::sort(lines.begin(), lines.end());
        std::string sorted;
        for (const std::string& line : lines)
            sorted += line;
        return sorted;
    }
};

} // namespace

TEST_F(SuiteLinks, SettingsFirstRunAndInstallationWarning) {
    const auto starts = [&](const char* folder, const char* flag, std::string boxes,
                            const char* after) {
        SCOPED_TRACE(std::string(folder).substr(0, 12) + " " + flag);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        if (*folder != '-')
            SetValue(kSuiteKey, "Tessarine", folder);
        if (*flag != '-')
            SetValue(kOwnKey, "EersteKeer", flag);
        std::string whileShown = "none";
        answers = {
            [&](HWND box) { whileShown = Value(kOwnKey, "EersteKeer"), Press(IDCANCEL)(box); }};
        Editor editor;
        std::string captions;
        for (const Box& box : seen)
            captions += box.caption + "|";
        EXPECT_EQ(captions, boxes);
        EXPECT_EQ(Value(kOwnKey, "EersteKeer") + " " + whileShown,
                  std::string(after) + " " +
                      (seen.empty() ? "none" : after)); // cleared before the greeting shows
        EXPECT_EQ(SuiteSettings.ProgramDirectory,
                  seen.size() && seen[0].caption == "Error" ? "" : folder);
        if (!seen.empty() && seen[0].caption == "Error") {
            EXPECT_EQ(seen[0].text, InstallationWarningText());
            EXPECT_EQ(seen[0].buttons, std::vector{-IDOK});
            EXPECT_TRUE(seen[0].icon == LoadIconA(nullptr, IDI_WARNING) && !seen[0].owner &&
                        !seen[0].mainWindowEnabled);
            EXPECT_EQ(Status(0), "(Unsaved)"); // the editor starts once the warning closes
        }
        Take();
    };
    starts("C:\\Velkaro", "-", "", "-");
    starts("C:\\Velkaro", "1", "First time|", "");
    starts("C:\\Velkaro", "123", "First time|", "");
    starts("C:\\Velkaro", "", "", "");
    starts("C:\\Velkaro", "12345", "", "12345"); // too long for its 4-byte read
    starts(std::string(255, 'p').c_str(), "-", "", "-");
    starts(std::string(256, 'p').c_str(), "-", "Error|", "-"); // too long for 256 bytes
    starts("-", "-", "Error|", "-");
}

TEST_F(SuiteLinks, GreetingAndAbout) {
    std::string fonts;
    const auto fontOf = [&](int id) {
        return [&fonts, id](HWND d) {
            fonts += SendDlgItemMessageA(d, id, WM_GETFONT, 0, 0) == LRESULT(SuiteSettings.BoldFont)
                         ? "bold|"
                         : "normal|";
        };
    };
    SetValue(kOwnKey, "EersteKeer", "1");
    answers = {[&](HWND d) { fontOf(IDC_WELCOME)(d), Press(IDC_SECOND_BUTTON)(d); }};
    {
        Editor editor;
        answers = {
            [&](HWND d) { fontOf(IDC_ABOUT_NAME)(d), PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0); },
            [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }};
        Command(CMD_ABOUT);
        Command(CMD_ABOUT);
        ASSERT_EQ(seen.size(), 3u);
        for (const Box& box : seen)
            EXPECT_EQ(box.owner, MainWindow);
    }
    EXPECT_EQ(seen[0].caption + "|" + seen[0].text,
              "First time|Welcome!|This is the first time you started Scribane. Would you like a "
              "quick introduction to the programme?|Yes|No");
    EXPECT_EQ(seen[1].caption + "|" + seen[1].text,
              "About|Scribane v2.0.11|Create your own INF-files or just edit plain text|Made by "
              "Ostrik|From Velkaro|velkaro.example|Over");
    EXPECT_EQ(fonts, "bold|bold|");
    // Yes and Enter open the quick introduction; No opened nothing.
    for (const Answer& answer : {Press(IDC_FIRST_BUTTON), Answer([](HWND d) {
                                     PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0);
                                 })}) {
        SetValue(kOwnKey, "EersteKeer", "1");
        answers = {answer};
        Editor editor;
    }
    EXPECT_EQ(Launches(2), std::string(kQuickStart) + "|" + kQuickStart + "|");
}

TEST_F(SuiteLinks, ProgrammesMenuRows) {
    const auto lists = [&](std::vector<std::pair<const char*, std::string>> values,
                           const char* menu) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
        for (const auto& [name, value] : values)
            SetValue(kSuiteKey, name, value);
        Editor editor;
        const std::string bar = MenuText(GetMenu(MainWindow)), start = "}&Programmes{";
        const size_t at = bar.find(start) + start.size(); // between Edit and Help
        EXPECT_EQ(at < start.size() ? "none" : bar.substr(at, bar.find("}&Help{") - at), menu);
    };
    lists({}, "none");
    lists({{"Lexorith", "C:\\L"}, {"Huevellan", "C:\\H"}}, "592 Huevellan|594 Lexorith|");
    lists({{"Huevellan Prog", "huevellan.exe"}}, "none"); // only the suite name marks a tool
    lists({{"Huevellan", "C:\\" + std::string(297, 'h')},
           {"Lexorith", "C:\\" + std::string(252, 'l')}},
          "594 Lexorith|"); // a value too long to read leaves its tool out
    lists({{"Terracant", ""}, {"Huevellan", ""}, {"Brasquel", ""}, {"Lexorith", ""}},
          "591 Terracant|592 Huevellan|593 Brasquel|594 Lexorith|"); // never the editor itself
    SuiteSettings.SuiteName = "Huevellan"; // the row left out is the suite name it runs under
    HMENU menu = CreatePopupMenu();
    BuildProgrammesMenu(menu);
    EXPECT_EQ(MenuText(menu), "591 Terracant|593 Brasquel|594 Lexorith|595 Scribane|");
    DestroyMenu(menu);
}

TEST_F(SuiteLinks, EachLinkStartsItsOwnCommandLine) {
    for (const char* name : {"Terracant", "Huevellan", "Brasquel", "Lexorith"}) {
        SetValue(kSuiteKey, name, "C:\\Velkaro");
        SetValue(kSuiteKey, (name + std::string(" Prog")).c_str(),
                 CharLowerA(std::string(name).data()) + std::string(".exe -") + name[0]);
    }
    Editor editor;
    for (unsigned command : {591, 592, 593, 594, CMD_HELP, CMD_QUICK_INTRO, CMD_WEB_SITE})
        Command(command);
    EXPECT_EQ(Launches(7),
              "Explorer.exe http://velkaro.example/|" + std::string(kQuickStart) +
                  "|Hh.exe C:\\Velkaro\\Vellumdoc.chm|brasquel.exe -B|huevellan.exe -H|"
                  "lexorith.exe -L|terracant.exe -T|");
    // Without a command line, or with one too long for 1000 bytes, nothing starts; 999 do.
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSuiteKey, "Brasquel Prog");
    SetValue(kSuiteKey, "Lexorith Prog", "lexorith.exe " + std::string(990, 'x'));
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe " + std::string(985, 'x'));
    for (unsigned command : {593, 594, 592})
        Command(command);
    EXPECT_EQ(Launches(1), "huevellan.exe " + std::string(985, 'x') + "|");
    EXPECT_TRUE(seen.empty());
}
