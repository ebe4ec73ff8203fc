// Files, paths, command lines and registry values that are not what the editor
// expects: each is either handled or reported, and nothing the user had is lost.
#include <gtest/gtest.h>
#include <windows.h>
#include "document/search.h"
#include "suite/suite_table.h"

#include <optional>

#include "platform/app_state.h"
#include "document/document.h"
#include "resources/resource_ids.h"
#include "support/box_watcher.h"
#include "support/editor_session.h"
#include "support/suite_fixture.h"
#include "support/test_files.h"

namespace {

using namespace std::string_literals;

using BadInput = InstalledSuiteTest;

// Loads `bytes` from a file as `type` and saves the text back to a second file as the
// same type; returns the bytes saved.
std::string LoadAndSaveAgain(const std::string& folder, const std::string& bytes, FileType type) {
    const std::string in = folder + "\\in.bin", out = folder + "\\out.bin";
    WriteFileBytes(in, bytes);
    EXPECT_TRUE(LoadDocument(in, type));
    DocumentState.CurrentFileName = out;
    SendCommand(CMD_SAVE);
    return ReadFileBytes(out);
}

// A path of exactly `length` characters to a file in a nest of folders under `folder`.
std::string PathOfLength(const std::string& folder, size_t length) {
    std::string path = folder;
    while (path.size() + 1 + 100 < length) {
        path += "\\" + std::string(100 - 1, 'f');
        CreateDirectoryA(path.c_str(), nullptr);
    }
    const size_t nameLength = length - path.size() - 1;
    return path + "\\" + std::string(nameLength - 4, 'n') + ".txt";
}

} // namespace

TEST_F(BadInput, LevelDescriptionsOfFourAndFiveBytes) {
    EditorSession session;
    WriteFileBytes(Path("4.inf"), "\x11\0\0\0"s);
    ASSERT_TRUE(LoadDocument(Path("4.inf"), FileType::LevelDescription));
    EXPECT_EQ(EditorText(), "");
    WriteFileBytes(Path("5.inf"), "\x11\0\0\0A"s);
    ASSERT_TRUE(LoadDocument(Path("5.inf"), FileType::LevelDescription));
    EXPECT_EQ(EditorText(), "A"); // no closing NUL: the text runs to the end of the file
    WriteFileBytes(Path("5z.inf"), "\x11\0\0\0\0"s);
    ASSERT_TRUE(LoadDocument(Path("5z.inf"), FileType::LevelDescription));
    EXPECT_EQ(EditorText(), "");
}

TEST_F(BadInput, LineEndsAndBinaryBytesSurviveALoadAndASave) {
    EditorSession session;
    for (const std::string& bytes : {"one\ntwo\nthree\n"s, "one\rtwo\rthree"s, "mixed\r\nend\n\r"s})
        EXPECT_EQ(LoadAndSaveAgain(folder_, bytes, FileType::Text), bytes);

    std::string garbage;
    for (int i = 0; i < 4; ++i)
        for (int c = 1; c < 256; ++c)
            garbage += static_cast<char>((c * 37 + i) % 255 + 1);
    EXPECT_EQ(LoadAndSaveAgain(folder_, garbage, FileType::Text), garbage);
    // Everything after the first NUL of a plain file is not text.
    EXPECT_EQ(LoadAndSaveAgain(folder_, "before\0after"s, FileType::AllFiles), "before");
    // A level description's first four bytes are its header, whatever they hold.
    EXPECT_EQ(LoadAndSaveAgain(folder_, "level\r\ntext"s, FileType::LevelDescription),
              "\x11\0\0\0l\r\ntext\0"s);
}

TEST_F(BadInput, AnEightMegabyteSingleLineLoadsAndSavesWhole) {
    EditorSession session;
    std::string line(8 * 1024 * 1024, 'w');
    for (size_t i = 0; i < line.size(); i += 7)
        line[i] = static_cast<char>('a' + i % 26);
    EXPECT_EQ(LoadAndSaveAgain(folder_, line, FileType::Text), line);
    EXPECT_EQ(GetWindowTextLengthA(EditorControl), static_cast<int>(line.size()));
}

TEST_F(BadInput, CommandLinePathsAreCutTo255Characters) {
    const std::string path255 = PathOfLength(folder_, 255);
    ASSERT_EQ(path255.size(), 255u);
    WriteFileBytes(path255, "long path");
    {
        EditorSession session("scribane.exe \"" + path255 + "\"");
        EXPECT_EQ(EditorText(), "long path");
        EXPECT_EQ(StatusText(0), " "s + path255);
    }
    {
        // Cut to 255 characters, a longer argument names the file of its first 255.
        EditorSession session("scribane.exe \"" + path255 + "x\"");
        EXPECT_EQ(EditorText(), "long path");
    }
    // A 300-character path whose first 255 characters name no folder is reported.
    const std::string missing = folder_ + "\\missing\\" + std::string(300, 'm');
    BoxWatcher watcher;
    watcher.ExpectButton(IDOK);
    EditorSession session("scribane.exe \"" + missing + "\"");
    ASSERT_TRUE(session.Started());
    ASSERT_EQ(watcher.Seen().size(), 1u);
    EXPECT_EQ(watcher.Seen()[0].caption, "Error");
    EXPECT_EQ(watcher.Seen()[0].text.rfind("Runtime error 3 at 0x", 0), 0u)
        << watcher.Seen()[0].text;
    EXPECT_EQ(EditorText(), "");
    EXPECT_EQ(StatusText(0), "(Unsaved)");
    EXPECT_EQ(MainWindowTitle(), "Scribane");
    EXPECT_EQ(DocumentState.CurrentFileName, "(Unsaved)");
}

TEST_F(BadInput, UnbalancedAndEmptyQuotesOnTheCommandLine) {
    const std::string path = Path("quoted name.txt");
    WriteFileBytes(path, "quoted");
    {
        // An open quote runs to the end of the line.
        EditorSession session("scribane.exe \"" + path);
        EXPECT_EQ(EditorText(), "quoted");
        EXPECT_EQ(MainWindowTitle(), "quoted name.txt - Scribane");
    }
    BoxWatcher watcher;
    for (const char* line : {"scribane.exe \"\"", "scribane.exe '' other.txt", "scribane.exe   "}) {
        EditorSession session(line);
        EXPECT_EQ(StatusText(0), "(Unsaved)") << line;
    }
    EXPECT_TRUE(watcher.Seen().empty());
}

TEST_F(BadInput, RecentValuesTooLongForTheirBufferReadAsEmpty) {
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "a", std::string(300, 'a'));
    SetRegistryText(HKEY_LOCAL_MACHINE, kTestProgramKey, "b", "C:\\short.txt");
    EditorSession session;
    // The newest entry cannot be read, so the list counts as empty.
    ASSERT_EQ(GetMenuItemCount(FileMenu), 8);
    char caption[64] = "";
    GetMenuStringA(FileMenu, 5, caption, sizeof caption, MF_BYPOSITION);
    EXPECT_STREQ(caption, "(Recent files)");
}
