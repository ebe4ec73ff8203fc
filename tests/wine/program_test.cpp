// The real scribane.exe as a user runs it, and its installer run silently.
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using ProgramRun = Suite;

std::string TextOf(const std::optional<std::string>& value) {
    return value.value_or("<missing>");
}

void Type(HWND window, const char* text) {
    for (HWND editor = FindWindowExA(window, nullptr, "Edit", nullptr); *text; ++text)
        SendMessageA(editor, WM_CHAR, static_cast<unsigned char>(*text), 0);
}

} // namespace

TEST_F(ProgramRun, ClosingAsksToSaveAndEndsWithExitCodeZero) {
    const std::string draft = Path("draft.txt");
    WriteBytes(draft, "draft");
    SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_READONLY);
    {
        Program program("\"" + draft + "\"");
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        char title[256] = "";
        GetWindowTextA(window, title, sizeof title);
        EXPECT_STREQ(title, "draft.txt - Scribane");
        Type(window, "!");
        PostMessageA(window, WM_CLOSE, 0, 0);
        const Box prompt = program.AnswerBox(IDCANCEL);
        EXPECT_EQ(prompt.caption + "|" + prompt.text, "Save text|Would you like to save this text?");
        EXPECT_EQ(prompt.owner, window);
        EXPECT_EQ(program.Exit(500), DWORD(STILL_ACTIVE));
        // Yes, and the save fails: the report, and the program goes on.
        PostMessageA(window, WM_CLOSE, 0, 0);
        program.AnswerBox(IDYES);
        EXPECT_EQ(ReportedError(program.AnswerBox(IDOK)), 5);
        EXPECT_EQ(program.Exit(500), DWORD(STILL_ACTIVE));
        SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
        PostMessageA(window, WM_CLOSE, 0, 0);
        program.AnswerBox(IDYES);
        EXPECT_EQ(program.Exit(), 0u);
        EXPECT_EQ(ReadBytes(draft), "!draft");
    }
    Program program("\"" + draft + "\"");
    HWND window = program.Window();
    ASSERT_NE(window, nullptr);
    Type(window, "?");
    PostMessageA(window, WM_COMMAND, CMD_EXIT, 0); // Exit asks the same way; No ends it unsaved
    EXPECT_EQ(program.AnswerBox(IDNO).caption, "Save text");
    EXPECT_EQ(program.Exit(), 0u);
    EXPECT_EQ(ReadBytes(draft), "!draft");
}

TEST_F(ProgramRun, TheInstallerRegistersGreetsOnceAndUninstallsCleanly) {
    const std::string setup = ProgramFolder() + "..\\dist\\scribane-2.0.11-setup.exe", target = "C:\\Velkaro Test";
    const char kVerb[] = "SystemFileAssociations\\.inf\\shell\\EditWithScribane", kOther[] = "SystemFileAssociations\\.inf\\shell\\Other";
    if (GetFileAttributesA(setup.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "no installer was built (makensis or chmcmd missing)";
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSuiteKey);
    // A sibling tool, a verb of another program and the shell's own file types stay.
    SetValue(kSuiteKey, "Huevellan", "C:\\Velkaro");
    SetValue(kSuiteKey, "Huevellan Prog", "huevellan.exe");
    SetValue(kOther, "", "Other verb", HKEY_CLASSES_ROOT);
    const std::string types = TextOf(Value(".inf", "", HKEY_CLASSES_ROOT)) + TextOf(Value(".txt", "", HKEY_CLASSES_ROOT));

    ASSERT_EQ(Program("/S /D=" + target, setup).Exit(60000), 0u);
    EXPECT_EQ(FolderContents(target), (std::vector<std::string>{"Uninstall Scribane.exe", "Vellumdoc.chm", "scribane.exe"}));
    EXPECT_EQ(TextOf(Value(kSuiteKey, "Tessarine")), target);
    EXPECT_EQ(TextOf(Value(kOwnKey, "EersteKeer")), "1");
    EXPECT_EQ(TextOf(Value(kVerb, "", HKEY_CLASSES_ROOT)), "Edit with Scribane");
    EXPECT_EQ(TextOf(Value((kVerb + std::string("\\command")).c_str(), "", HKEY_CLASSES_ROOT)),
              "\"" + target + "\\scribane.exe\" \"%1\"");
    EXPECT_EQ(TextOf(Value(".inf", "", HKEY_CLASSES_ROOT)) + TextOf(Value(".txt", "", HKEY_CLASSES_ROOT)), types);
    // The first start greets once and warns of nothing; the second is quiet.
    for (const char* greeting : {"First time", ""}) {
        Program program("", target + "\\scribane.exe");
        EXPECT_EQ(program.AnswerBox(IDCANCEL, *greeting ? 10000 : 1500).caption, greeting);
        HWND window = program.Window();
        ASSERT_NE(window, nullptr);
        PostMessageA(window, WM_COMMAND, CMD_EXIT, 0);
        EXPECT_EQ(program.Exit(), 0u);
    }

    SetValue(kOwnKey, "a", "C:\\Levels\\one.inf"); // the user's recent list is the user's
    ASSERT_EQ(Program("/S _?=" + target, target + "\\Uninstall Scribane.exe").Exit(60000), 0u);
    const auto left = FolderContents(target);
    EXPECT_TRUE(left.empty() || left == std::vector<std::string>{"Uninstall Scribane.exe"});
    EXPECT_EQ(TextOf(Value(kSuiteKey, "Tessarine")) + TextOf(Value(kOwnKey, "EersteKeer")), "<missing><missing>");
    EXPECT_EQ(TextOf(Value(kOwnKey, "a")) + TextOf(Value(kSuiteKey, "Huevellan Prog")), "C:\\Levels\\one.infhuevellan.exe");
    EXPECT_EQ(TextOf(Value(kVerb, "", HKEY_CLASSES_ROOT)) + TextOf(Value(kOther, "", HKEY_CLASSES_ROOT)), "<missing>Other verb");
    HKEY verb = nullptr;
    EXPECT_NE(RegOpenKeyExA(HKEY_CLASSES_ROOT, kVerb, 0, KEY_READ, &verb), ERROR_SUCCESS);
    RegDeleteTreeA(HKEY_CLASSES_ROOT, kOther);
}
