// The editor in its suite: the settings and first-run flag the installer leaves, the
// greeting and About, the Programmes menu, and the programs the editor starts.
#include <algorithm>

#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "suite/suite_links.h"
#include "suite/suite_settings.h"
#include "suite/suite_table.h"
#include "support/harness.h"

namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

const char* const kStandIns[] = {"Hh.exe", "Explorer.exe", "terracant.exe", "huevellan.exe", "brasquel.exe",
                                 "lexorith.exe"};
const char kQuickStart[] = "Hh.exe C:\\Velkaro\\Vellumdoc.chm::/INF/QuickStart.htm";

// Recording stand-ins for the help viewer, the shell and the sibling tools, beside the
// test program, where WinExec looks first.
class SuiteLinks : public Suite {
  protected:
    void SetUp() override {
        Suite::SetUp();
        for (const char* name : kStandIns)
            CopyFileA((ProgramFolder() + "launch_recorder.exe").c_str(), (ProgramFolder() + name).c_str(), FALSE);
    }
    void TearDown() override {
        for (const char* name : kStandIns) // one may still be ending
            for (int tries = 0; tries < 50 && FileExists(name) && !DeleteFileA((ProgramFolder() + name).c_str()); ++tries)
                Sleep(100);
        Suite::TearDown();
    }
    static bool FileExists(const char* name) { return GetFileAttributesA((ProgramFolder() + name).c_str()) != INVALID_FILE_ATTRIBUTES; }

    // The command lines the stand-ins were started with, sorted, once `count` have come
    // and a moment more for any that should not have.
    static Lines Launches(size_t count) {
        const std::string log = ProgramFolder() + "launches.txt";
        for (int tries = 0; tries < 100 && std::ranges::count(ReadBytes(log), '\n') < int(count); ++tries)
            Sleep(100);
        Sleep(300);
        Lines lines;
        const std::string text = ReadBytes(log);
        for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(text.substr(at, end - at));
        DeleteFileA(log.c_str());
        std::sort(lines.begin(), lines.end());
        return lines;
    }
};

} // namespace

TEST_F(SuiteLinks, SettingsFirstRunAndInstallationWarning) {
    using Text = std::optional<std::string>;
    struct Row { Text folder, flag; std::string boxes; Text flagAfter; };
    const std::string p255(255, 'p'), p256(256, 'p');
    const Row rows[] = {
        {"C:\\Velkaro", {}, "", {}},
        {"C:\\Velkaro", "1", "First time|", ""},
        {"C:\\Velkaro", "123", "First time|", ""},
        {"C:\\Velkaro", "", "", ""},
        {"C:\\Velkaro", "12345", "", "12345"}, // too long for its 4-byte read
        {p255, {}, "", {}},
        {p256, {}, "Error|", {}},              // too long for its 256-byte read
        {{}, {}, "Error|", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.folder.value_or("-").substr(0, 12) + " " + row.flag.value_or("-"));
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        if (row.folder)
            SetValue(kSuiteKey, "Tessarine", *row.folder);
        if (row.flag)
            SetValue(kOwnKey, "EersteKeer", *row.flag);
        Text flagWhileShown;
        boxes.answers = {[&](HWND box) { flagWhileShown = Value(kOwnKey, "EersteKeer"), Press(IDCANCEL)(box); }};
        Editor editor;
        boxes.answers.clear();
        const auto seen = boxes.Take();
        std::string captions;
        for (const Box& box : seen)
            captions += box.caption + "|";
        EXPECT_EQ(captions, row.boxes);
        EXPECT_EQ(Value(kOwnKey, "EersteKeer"), row.flagAfter);
        EXPECT_EQ(SuiteSettings.ProgramDirectory, row.boxes == "Error|" ? "" : row.folder.value_or(""));
        EXPECT_EQ(flagWhileShown, row.boxes.empty() ? Text() : row.flagAfter); // cleared before the greeting
        if (row.boxes == "Error|") {
            EXPECT_EQ(seen[0].text, InstallationWarningText());
            EXPECT_EQ(seen[0].buttons, std::vector<int>{IDOK});
            EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_WARNING));
            EXPECT_EQ(seen[0].owner, nullptr);
            EXPECT_FALSE(seen[0].mainWindowEnabled);
            EXPECT_EQ(Status(0), "(Unsaved)"); // the editor starts once the warning closes
        }
    }
}

TEST_F(SuiteLinks, GreetingAndAbout) {
    HFONT welcome = nullptr, name = nullptr;
    BITMAP picture{};
    SetValue(kOwnKey, "EersteKeer", "1");
    boxes.answers = {[&](HWND d) {
        welcome = HFONT(SendDlgItemMessageA(d, IDC_WELCOME, WM_GETFONT, 0, 0));
        Press(IDC_SECOND_BUTTON)(d);
    }};
    {
        Editor editor;
        ASSERT_EQ(boxes.seen.size(), 1u);
        const Box& greeting = boxes.seen[0];
        EXPECT_EQ(greeting.caption + "|" + greeting.text, "First time|Welcome!|This is the first time you started "
                  "Scribane. Would you like a quick introduction to the programme?|Yes|No");
        EXPECT_EQ(greeting.owner, MainWindow);
        EXPECT_EQ(welcome, SuiteSettings.BoldFont);

        boxes.answers = {[&](HWND d) {
                             name = HFONT(SendDlgItemMessageA(d, IDC_ABOUT_NAME, WM_GETFONT, 0, 0));
                             GetObjectA(HBITMAP(SendDlgItemMessageA(d, IDC_ABOUT_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                                        sizeof picture, &picture);
                             PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0);
                         },
                         [](HWND d) { PostMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0); }};
        Command(CMD_ABOUT);
        Command(CMD_ABOUT);
        ASSERT_EQ(boxes.seen.size(), 3u);
        EXPECT_EQ(boxes.seen[1].caption + "|" + boxes.seen[1].text, "About|Scribane v2.0.11|Create your own INF-files "
                  "or just edit plain text|Made by Ostrik|From Velkaro|velkaro.example|Over");
        EXPECT_EQ(boxes.seen[1].owner, MainWindow);
        EXPECT_EQ(name, SuiteSettings.BoldFont);
        EXPECT_EQ(picture.bmWidth * 1000 + picture.bmHeight, 65065);
    }
    // Yes and Enter open the quick introduction; No opened nothing.
    for (const Answer& answer : {Press(IDC_FIRST_BUTTON), Answer([](HWND d) { PostMessageA(d, WM_KEYDOWN, VK_RETURN, 0); })}) {
        SetValue(kOwnKey, "EersteKeer", "1");
        boxes.answers = {answer};
        Editor editor;
    }
    EXPECT_EQ(Launches(2), Lines(2, kQuickStart));
}

TEST_F(SuiteLinks, ProgrammesMenuRows) {
    struct Row { std::vector<std::pair<const char*, std::string>> values; const char* menu; };
    const Row rows[] = {
        {{}, nullptr},
        {{{"Lexorith", "C:\\L"}, {"Huevellan", "C:\\H"}}, "592 Huevellan|594 Lexorith|"},
        {{{"Huevellan Prog", "huevellan.exe"}}, nullptr}, // only the suite name marks a tool installed
        {{{"Huevellan", "C:\\" + std::string(297, 'h')}, {"Lexorith", "C:\\" + std::string(252, 'l')}},
         "594 Lexorith|"},                                 // a value too long to read leaves its tool out
        {{{"Lexorith", "C:\\" + std::string(297, 'l')}}, nullptr},
        {{{"Terracant", ""}, {"Huevellan", ""}, {"Brasquel", ""}, {"Lexorith", ""}},
         "591 Terracant|592 Huevellan|593 Brasquel|594 Lexorith|"}, // never the editor itself
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.menu ? row.menu : "none");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
        SetValue(kSuiteKey, "Tessarine", "C:\\Velkaro");
        for (const auto& [name, value] : row.values)
            SetValue(kSuiteKey, name, value);
        Editor editor;
        HMENU bar = GetMenu(MainWindow);
        char caption[64] = "";
        GetMenuStringA(bar, 2, caption, sizeof caption, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemCount(bar), row.menu ? 4 : 3); // between Edit and Help
        EXPECT_EQ(caption == "&Programmes"s ? MenuText(GetSubMenu(bar, 2)) : "none", row.menu ? row.menu : "none");
    }
    // The row left out is the one named like the suite name the editor runs under.
    SuiteSettings.SuiteName = "Huevellan";
    HMENU menu = CreatePopupMenu();
    BuildProgrammesMenu(menu);
    EXPECT_EQ(MenuText(menu), "591 Terracant|593 Brasquel|594 Lexorith|595 Scribane|");
    DestroyMenu(menu);
}

TEST_F(SuiteLinks, EachLinkStartsItsOwnCommandLine) {
    const std::pair<const char*, const char*> tools[] = {{"Terracant", "terracant.exe -t"},
        {"Huevellan", "huevellan.exe"}, {"Brasquel", "brasquel.exe \"C:\\B 3\""}, {"Lexorith", "lexorith.exe /four"}};
    for (const auto& [name, line] : tools) {
        SetValue(kSuiteKey, name, "C:\\Velkaro");
        SetValue(kSuiteKey, (name + " Prog"s).c_str(), line);
    }
    Editor editor;
    for (unsigned command : {591, 592, 593, 594, CMD_HELP, CMD_QUICK_INTRO, CMD_WEB_SITE})
        Command(command);
    EXPECT_EQ(Launches(7), (Lines{"Explorer.exe http://velkaro.example/", "Hh.exe C:\\Velkaro\\Vellumdoc.chm", kQuickStart,
                                  "brasquel.exe \"C:\\B 3\"", "huevellan.exe", "lexorith.exe /four", "terracant.exe -t"}));
    // Without a command line, or with one too long for 1000 bytes, nothing starts; 999 do.
    const std::string longest = "huevellan.exe " + std::string(985, 'x');
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSuiteKey, "Brasquel Prog");
    SetValue(kSuiteKey, "Lexorith Prog", "lexorith.exe " + std::string(990, 'x'));
    SetValue(kSuiteKey, "Huevellan Prog", longest);
    for (unsigned command : {593, 594, 592})
        Command(command);
    EXPECT_EQ(Launches(1), Lines{longest});
    EXPECT_TRUE(boxes.seen.empty());
}
