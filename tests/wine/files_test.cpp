// Files: what a file shows and what a save writes back, byte for byte, in each layout, line end
// and encoding; and the warning and the question for a file the editor cannot show whole.
#include "support/harness.h"

namespace {

std::string EveryByteFrom1To255() {
    std::string bytes;
    for (int value = 1; value <= 255; ++value)
        bytes += char(value);
    return bytes;
}

// Another name for `path`: under Wine, the Unix name of the file on drive Z:.
std::string ThroughDriveZ(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = UnixName(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!unixName)
        return "";
    const std::wstring wide(path.begin(), path.end());
    std::string name = "Z:" + std::string(unixName(wide.c_str()));
    std::ranges::replace(name, '/', '\\');
    return name;
}

} // namespace

struct Files : Suite {
    // Types `text` at `position` (-1: the end) in the editor, as the keyboard would.
    static void Type(int position, std::wstring_view text) {
        if (position < 0)
            position = GetWindowTextLengthW(EditorControl);
        SendMessageW(EditorControl, EM_SETSEL, position, position);
        for (wchar_t character : text)
            SendMessageW(EditorControl, WM_CHAR, character, 0);
    }
};

struct SameBytes {
    const char* name;
    std::string bytes;
    FileType type;
    std::string shown; // in the code page
};

const SameBytes kSameBytes[] = {
    {"plain text of every byte value", EveryByteFrom1To255(), FileType::Text,
     EveryByteFrom1To255()},
    {"level description of every byte value", "\x11\0\0\0"s + EveryByteFrom1To255() + '\0',
     FileType::LevelDescription, EveryByteFrom1To255()},
    {"CR LF line ends", "one\r\ntwo\r\n", FileType::Text, "one\r\ntwo\r\n"},
    {"mixed line ends", "a\r\nb\nc\r", FileType::Text, "a\r\nb\nc\r"},
    {"LF line ends, shown as lines", "one\ntwo\n", FileType::Text, "one\r\ntwo\r\n"},
    {"level description with LF line ends", "\x11\0\0\0one\ntwo\0"s, FileType::LevelDescription,
     "one\r\ntwo"},
    {"UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9",
     FileType::Text, "caf\xE9"},
    {"UTF-8 without a mark", "caf\xC3\xA9", FileType::AllFiles, "caf\xE9"},
    {"level description holding UTF-8", "\x11\0\0\0caf\xC3\xA9\0"s, FileType::LevelDescription,
     "caf\xC3\xA9"},
};

TEST_F(Files, AnUneditedSaveWritesBackTheBytesLoaded) {
    Editor editor;
    for (const SameBytes& row : kSameBytes) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path(row.name), row.bytes);
        HANDLE reader = CreateFileA(Path(row.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr); // another program reading it

        ASSERT_TRUE(LoadDocument(Path(row.name), row.type));
        CloseHandle(reader);
        EXPECT_EQ(Text(), row.shown);
        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path(row.name)), row.bytes);
        EXPECT_EQ(Take().size(), 0u);
        EXPECT_FALSE(Modified());
        HANDLE unshared = CreateFileA(Path(row.name).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr); // nobody holds it any more
        EXPECT_NE(unshared, INVALID_HANDLE_VALUE);
        CloseHandle(unshared);
    }
}

struct Edit {
    const char* name;
    std::string bytes;
    FileType type;
    int position; // where the typing goes; -1 for the end
    std::wstring typed;
    std::string saved;
};

const Edit kEdits[] = {
    {"a level description without its closing NUL", "\x11\0\0\0A"s, FileType::LevelDescription, -1,
     L"", "\x11\0\0\0A\0"s},
    {"a level description of the header alone", "\x11\0\0\0"s, FileType::LevelDescription, -1, L"",
     ""},
    {"a line added to an LF file", "a\nb\n", FileType::Text, -1, L"c\r", "a\nb\nc\n"},
    {"a line added to an LF level description", "\x11\0\0\0a\nb\0"s, FileType::LevelDescription, -1,
     L"\r", "\x11\0\0\0a\nb\n\0"s},
    {"\u00E9 typed into UTF-8", "caf\xC3\xA9", FileType::Text, -1, L"\u00E9",
     "caf\xC3\xA9\xC3\xA9"},
    {"\u0101, beyond the code page, typed into UTF-8", "\xC3\xA9", FileType::Text, 0, L"\u0101",
     "\xC4\x81\xC3\xA9"},
    {"X typed at the very start of UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "ab",
     FileType::Text, 0, L"X",
     "\xEF\xBB\xBF"
     "Xab"},
    {"\u00E9 typed into a code-page file", "caf\xE9", FileType::Text, -1, L"\u00E9", "caf\xE9\xE9"},
};

TEST_F(Files, ASavedFileKeepsItsLayoutItsLineEndsAndItsEncoding) {
    Editor editor;
    for (const Edit& row : kEdits) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path(row.name), row.bytes);
        ASSERT_TRUE(LoadDocument(Path(row.name), row.type));
        Type(row.position, row.typed);

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path(row.name)), row.saved);
        EXPECT_EQ(Take().size(), 0u);
    }
}

TEST_F(Files, AUtf8TextIsInTheCodePageOnceSavedAsALevelDescriptionAndAfterNew) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "caf\xC3\xA9");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    answers = {Choose(Path("b.inf"), 2), Choose(Path("b.txt"), 3), Choose(Path("new.txt"), 3)};

    Command(CMD_SAVE_AS);
    Command(CMD_SAVE_AS);
    Command(CMD_NEW);
    Type(-1, L"\u00E9");
    Command(CMD_SAVE);

    EXPECT_EQ(ReadBytes(Path("b.inf")), "\x11\0\0\0caf\xE9\0"s);
    EXPECT_EQ(ReadBytes(Path("b.txt")), "caf\xE9");
    EXPECT_EQ(ReadBytes(Path("new.txt")), "\xE9");
}

struct LossySave {
    const char* name;
    int answer;
    std::string saved;
};

const LossySave kLossySaves[] = {
    {"Yes writes a question mark", IDYES, "a?b"},
    {"No leaves the file as it was", IDNO, "ab"},
};

TEST_F(Files, ACharacterTheCodePageCannotHoldIsSavedOnlyAfterAsking) {
    Editor editor;
    for (const LossySave& row : kLossySaves) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("ab.txt"), "ab");
        ASSERT_TRUE(LoadDocument(Path("ab.txt"), FileType::Text));
        Type(1, L"\u0101");
        answers = {Press(row.answer)};

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("ab.txt")), row.saved);
        EXPECT_EQ(Take(),
                  std::vector{Box("Scribane",
                                  "Saving will replace the characters this file's encoding "
                                  "cannot hold with \"?\". Save anyway?",
                                  {IDYES, -IDNO}, MainWindow, LoadIconA(nullptr, IDI_WARNING))});
    }
}

TEST_F(Files, ACharacterTypedReachesTheEditorWholeThroughTheMessageLoop) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "\xC3\xA9");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    SendMessageW(EditorControl, EM_SETSEL, 0, 0);
    PostMessageW(EditorControl, WM_CHAR, 0x0101, 0);
    PostQuitMessage(0);

    RunMessageLoop();

    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("utf8.txt")), "\xC4\x81\xC3\xA9");
}

TEST_F(Files, FindSearchesTheTextAsShown) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "\xE4\xB8\x80?"); // a character the code page lacks, then "?"
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    SearchState = {"?", 1};

    RunSearch();

    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 2u);
}

TEST_F(Files, FindWithoutMemoryForACopyOfTheTextSaysSo) {
    Editor editor;
    Put("text", false);
    SearchState = {"t", 1};
    FileCalls.Allocate = [](size_t) -> void* { return nullptr; };

    RunSearch();

    EXPECT_EQ(Take(), std::vector{Box("Find", "There is not enough memory to search this text.",
                                      {-IDOK}, MainWindow, LoadIconA(nullptr, IDI_INFORMATION))});
}

struct CutFile {
    const char* name;
    std::string bytes;
    FileType type;
    std::string warning, question, savedOnYes;
};

const CutFile kCutFiles[] = {
    {"level description with a NUL inside", "\x11\0\0\0ab\0cd\0"s, FileType::LevelDescription,
     "This file holds a NUL byte at position 6: only the text before it is shown, and saving it "
     "would cut the file there.",
     "Saving will cut this file at position 6 and drop what follows, which is not shown. Save "
     "anyway?",
     "\x11\0\0\0ab!\0"s},
    {"level description without its header", "Hello world", FileType::LevelDescription,
     "This file does not start with a level description header: its first four bytes are not "
     "shown, and saving it would replace them.",
     "Saving will replace the first four bytes of this file. Save anyway?",
     "\x11\0\0\0o world!\0"s},
};

TEST_F(Files, AFileShownInPartWarnsAndAsksBeforeEachSaveOverItUntilSaved) {
    Editor editor;
    const HICON warning = LoadIconA(nullptr, IDI_WARNING);
    for (const CutFile& row : kCutFiles) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path(row.name), row.bytes);
        ASSERT_TRUE(LoadDocument(Path(row.name), row.type));
        Type(-1, L"!");
        answers = {Press(IDNO), Press(IDYES)};

        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path(row.name)), row.bytes);
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(Path(row.name)), row.savedOnYes);
        Command(CMD_SAVE); // once saved, there is nothing left to ask about

        const Box question("Scribane", row.question, {IDYES, -IDNO}, MainWindow, warning);
        EXPECT_EQ(Take(), (std::vector{Box("Scribane", row.warning, {-IDOK}, MainWindow, warning),
                                       question, question}));
    }
}

struct OtherName {
    const char* name;
    std::function<std::string(const std::string&)> loadAs;
    const char* saveAs;
    size_t boxes; // the load's warning, the dialog, its question to replace, and ours
};

const OtherName kOtherNames[] = {
    {"the Unix name on drive Z:", ThroughDriveZ, "cut.bin", 4},
    {"a \\\\?\\ name", [](const std::string& path) { return "\\\\?\\" + path; }, "cut.bin", 4},
    {"another file asks nothing", [](const std::string& path) { return path; }, "other.bin", 3},
};

TEST_F(Files, ASaveAsOverTheSameFileUnderAnotherNameAsksToo) {
    Editor editor;
    for (const OtherName& row : kOtherNames) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("cut.bin"), "Hello\0world"s);
        WriteBytes(Path("other.bin"), "other");
        const std::string name = row.loadAs(Path("cut.bin"));
        if (name.empty())
            continue; // no such name for the file on this system
        ASSERT_TRUE(LoadDocument(name, FileType::Text));
        answers = {Choose(Path(row.saveAs), 0), Press(IDYES), Press(IDNO)};

        Command(CMD_SAVE_AS);

        EXPECT_EQ(ReadBytes(Path("cut.bin")), "Hello\0world"s);
        EXPECT_EQ(Take().size(), row.boxes);
    }
}

struct NothingToLose {
    const char* name;
    enum { New, DeleteTheFile } step;
};

const NothingToLose kNothingToLose[] = {
    {"after New", NothingToLose::New},
    {"once the file is deleted", NothingToLose::DeleteTheFile},
};

TEST_F(Files, ASaveAsksNothingOnceNothingOfTheFileShownInPartIsLeftToLose) {
    Editor editor;
    for (const NothingToLose& row : kNothingToLose) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("cut.bin"), "Hello\0world"s);
        ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
        if (row.step == NothingToLose::New)
            Command(CMD_NEW);
        if (row.step == NothingToLose::DeleteTheFile)
            DeleteFileA(Path("cut.bin").c_str());
        Put("new", true);
        DocumentState.CurrentFileName = Path("cut.bin");

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("cut.bin")), "new");
        EXPECT_EQ(Take().size(), 1u); // the load's warning alone
    }
}
