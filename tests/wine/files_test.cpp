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

// A file loaded, perhaps typed into, and saved: unedited, it comes back byte for byte; edited, it
// keeps its layout, its line ends and its encoding.
struct Save {
    const char* name;
    std::string bytes;
    FileType type;
    std::string shown; // in the code page
    int position;      // where the typing goes; -1 for the end
    std::wstring typed;
    std::string saved;
};

const FileType kText = FileType::Text;
const FileType kLevel = FileType::LevelDescription;
const std::string kEveryByte = EveryByteFrom1To255();

const Save kSaves[] = {
    {"plain text of every byte value", kEveryByte, kText, kEveryByte, -1, L"", kEveryByte},
    {"level description of every byte value", "\x11\0\0\0"s + kEveryByte + '\0', kLevel, kEveryByte,
     -1, L"", "\x11\0\0\0"s + kEveryByte + '\0'},
    {"mixed line ends", "a\r\nb\nc\r", kText, "a\r\nb\nc\r", -1, L"", "a\r\nb\nc\r"},
    {"UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9",
     kText, "caf\xE9", -1, L"",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9"},
    {"level description holding UTF-8", "\x11\0\0\0caf\xC3\xA9\0"s, kLevel, "caf\xC3\xA9", -1, L"",
     "\x11\0\0\0caf\xC3\xA9\0"s},
    {"level description without its closing NUL", "\x11\0\0\0A"s, kLevel, "A", -1, L"",
     "\x11\0\0\0A\0"s},
    {"level description of the header alone", "\x11\0\0\0"s, kLevel, "", -1, L"", ""},
    {"a line added to an LF file", "a\nb\n", kText, "a\r\nb\r\n", -1, L"c\r", "a\nb\nc\n"},
    {"a line added to an LF level description", "\x11\0\0\0a\nb\0"s, kLevel, "a\r\nb", -1, L"\r",
     "\x11\0\0\0a\nb\n\0"s},
    {"an accented e typed into UTF-8 without a mark", "caf\xC3\xA9", kText, "caf\xE9", -1,
     L"\u00E9", "caf\xC3\xA9\xC3\xA9"},
    {"X typed at the very start of UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "ab",
     kText, "ab", 0, L"X",
     "\xEF\xBB\xBF"
     "Xab"},
};

TEST_F(Files, ASaveKeepsTheFilesLayoutLineEndsAndEncoding) {
    Editor editor;
    for (const Save& row : kSaves) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path(row.name), row.bytes);
        HANDLE reader = CreateFileA(Path(row.name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr); // another program reading it

        const bool loaded = LoadDocument(Path(row.name), row.type);
        CloseHandle(reader);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(Text(), row.shown);
        Type(row.position, row.typed);
        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path(row.name)), row.saved);
        EXPECT_EQ(Take().size(), 0u);
        EXPECT_FALSE(Modified());
        HANDLE unshared = CreateFileA(Path(row.name).c_str(), GENERIC_READ, 0, nullptr,
                                      OPEN_EXISTING, 0, nullptr); // nobody holds it any more
        EXPECT_NE(unshared, INVALID_HANDLE_VALUE);
        CloseHandle(unshared);
    }
}

TEST_F(Files, AUtf8TextIsInTheCodePageOnceSavedAsALevelDescriptionAndNewForgetsTheFormat) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "caf\xC3\xA9\n");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    answers = {Choose(Path("b.inf"), 2), Choose(Path("b.txt"), 3), Choose(Path("new.txt"), 3)};

    Command(CMD_SAVE_AS);
    Command(CMD_SAVE_AS);
    Command(CMD_NEW);
    Type(-1, L"\u00E9\r");
    Command(CMD_SAVE);

    EXPECT_EQ(ReadBytes(Path("b.inf")), "\x11\0\0\0caf\xE9\n\0"s);
    EXPECT_EQ(ReadBytes(Path("b.txt")), "caf\xE9\n");
    EXPECT_EQ(ReadBytes(Path("new.txt")), "\xE9\r\n"); // New forgets the LF line ends too
    EXPECT_EQ(Title(), "new.txt - Scribane");          // the file the next Save writes
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

TEST_F(Files, ASaveAsksNothingOnceTheFileShownInPartIsGoneOrTheTextIsNew) {
    Editor editor;
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
    DeleteFileA(Path("cut.bin").c_str()); // nothing left to lose
    Put("gone", true);
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "gone");
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
    Command(CMD_NEW); // the text is no longer the file's
    Put("new", true);
    DocumentState.CurrentFileName = Path("cut.bin");
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "new");
    EXPECT_EQ(Take().size(), 2u); // the two loads' warnings alone
}
