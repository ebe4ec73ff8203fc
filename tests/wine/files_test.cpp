// Files: what a file shows and what a save writes back, byte for byte, in each layout, line end,
// encoding and system code page; and the warning and the question for a file the editor cannot
// show whole.
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
        return "(no Unix name on this system)";
    const std::wstring wide(path.begin(), path.end());
    std::string name = "Z:" + std::string(unixName(wide.c_str()));
    std::ranges::replace(name, '/', '\\');
    return name;
}

// The system's code page as the editor is told it: Windows' own, or UTF-8 for every program.
UINT systemCodePage = 1252;

UINT WINAPI SystemCodePage() {
    return systemCodePage;
}

} // namespace

using Files = EditorTest;

// A file loaded, perhaps typed into, and saved: unedited, it comes back byte for byte; edited, it
// keeps its layout, its line ends and its encoding.
struct Save {
    const char* name;
    const char* file = "x.txt";
    std::string bytes;
    FileType type = kText;
    UINT codePage = 1252; // the system's
    std::string shown{};  // in the code page
    int position = -1;    // where the typing goes; -1 for the end
    std::wstring typed{};
    std::string saved;
};

const std::string kEveryByte = EveryByteFrom1To255();

const Save kSaves[] = {
    {.name = "plain text of every byte value",
     .bytes = kEveryByte,
     .shown = kEveryByte,
     .saved = kEveryByte},
    {.name = "level description of every byte value",
     .bytes = "\x11\0\0\0"s + kEveryByte + '\0',
     .type = kLevel,
     .shown = kEveryByte,
     .saved = "\x11\0\0\0"s + kEveryByte + '\0'},
    {.name = "mixed line ends",
     .bytes = "a\r\nb\nc\r",
     .shown = "a\r\nb\nc\r",
     .saved = "a\r\nb\nc\r"},
    {.name = "UTF-8 with its mark",
     .bytes = "\xEF\xBB\xBF"
              "caf\xC3\xA9",
     .shown = "caf\xE9",
     .saved = "\xEF\xBB\xBF"
              "caf\xC3\xA9"},
    {.name = "level description holding UTF-8",
     .bytes = "\x11\0\0\0caf\xC3\xA9\0"s,
     .type = kLevel,
     .shown = "caf\xC3\xA9",
     .saved = "\x11\0\0\0caf\xC3\xA9\0"s},
    {.name = "level description without its closing NUL",
     .bytes = "\x11\0\0\0A"s,
     .type = kLevel,
     .shown = "A",
     .saved = "\x11\0\0\0A\0"s},
    {.name = "level description of the header alone",
     .bytes = "\x11\0\0\0"s,
     .type = kLevel,
     .saved = ""},
    {.name = "a line added to an LF file",
     .bytes = "a\nb\n",
     .shown = "a\r\nb\r\n",
     .typed = L"c\r",
     .saved = "a\nb\nc\n"},
    {.name = "a line added to an LF level description",
     .bytes = "\x11\0\0\0a\nb\0"s,
     .type = kLevel,
     .shown = "a\r\nb",
     .typed = L"\r",
     .saved = "\x11\0\0\0a\nb\n\0"s},
    {.name = "an accented e typed into UTF-8 without a mark",
     .bytes = "caf\xC3\xA9",
     .shown = "caf\xE9",
     .typed = L"\u00E9",
     .saved = "caf\xC3\xA9\xC3\xA9"},
    {.name = "X typed at the very start of UTF-8 with its mark",
     .bytes = "\xEF\xBB\xBF"
              "ab",
     .shown = "ab",
     .position = 0,
     .typed = L"X",
     .saved = "\xEF\xBB\xBF"
              "Xab"},
    {.name = "UTF-8 by accident in credits.txt, read in the text filter, stays in the code page",
     .file = "CREDITS.TXT",
     .bytes = "CAF\xC9\xA0!",
     .shown = "CAF\xC9\xA0!",
     .typed = L"\u00E9",
     .saved = "CAF\xC9\xA0!\xE9"},
    {.name = "UTF-8 by accident read with the credits filter stays in the code page",
     .bytes = "CAF\xC9\xA0!",
     .type = FileType::Credits,
     .shown = "CAF\xC9\xA0!",
     .typed = L"\u00E9",
     .saved = "CAF\xC9\xA0!\xE9"},
    {.name = "Windows in UTF-8: plain text of every byte value",
     .bytes = kEveryByte,
     .codePage = CP_UTF8,
     .shown = kEveryByte,
     .saved = kEveryByte},
    {.name = "Windows in UTF-8: level description of every byte value",
     .bytes = "\x11\0\0\0"s + kEveryByte + '\0',
     .type = kLevel,
     .codePage = CP_UTF8,
     .shown = kEveryByte,
     .saved = "\x11\0\0\0"s + kEveryByte + '\0'},
    {.name = "Windows in UTF-8: an accented e typed into a level description",
     .bytes = "\x11\0\0\0a\0"s,
     .type = kLevel,
     .codePage = CP_UTF8,
     .shown = "a",
     .typed = L"\u00E9",
     .saved = "\x11\0\0\0a\xE9\0"s},
    {.name = "Windows in UTF-8: a file of UTF-8 is still UTF-8",
     .bytes = "caf\xC3\xA9",
     .codePage = CP_UTF8,
     .shown = "caf\xE9",
     .typed = L"\u00E9",
     .saved = "caf\xC3\xA9\xC3\xA9"},
};

TEST_F(Files, ASaveKeepsTheFilesLayoutLineEndsAndEncoding) {
    Editor editor;
    FileCalls.SystemCodePage = SystemCodePage;
    for (const Save& row : kSaves) {
        SCOPED_TRACE(row.name);
        systemCodePage = row.codePage;
        CreateDirectoryA(Path(row.name).c_str(), nullptr);
        const std::string file = Path(row.name) + "\\" + row.file;
        WriteBytes(file, row.bytes);
        HANDLE reader = CreateFileA(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr); // another program reading it

        const bool loaded = LoadDocument(file, row.type);
        CloseHandle(reader);
        ASSERT_TRUE(loaded);
        EXPECT_EQ(Text(), row.shown);
        Type(row.position, row.typed);
        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(file), row.saved);
        EXPECT_EQ(Seen(), std::vector<std::string>{});
        EXPECT_FALSE(Modified());
        HANDLE unshared = CreateFileA(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                      nullptr); // nobody holds it any more
        EXPECT_NE(unshared, INVALID_HANDLE_VALUE);
        CloseHandle(unshared);
    }
}

TEST_F(Files, AUtf8TextIsInTheCodePageOnceSavedAsALevelDescriptionAndNewForgetsTheFormat) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "caf\xC3\xA9\n");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), kText));
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

// A character the file's encoding cannot hold: one the code page lacks, or half of a surrogate
// pair in UTF-8, typed after the first character. Yes saves "?" in its place, and the window then
// shows what the file holds, the caret where it was.
struct LossySave {
    const char* name;
    std::string bytes;
    std::wstring typed;
    int answer;
    std::string saved;
    std::wstring shown;
    bool modified;
};

const LossySave kLossySaves[] = {
    {"code page, Yes", "ab", L"\u4E00", IDYES, "a?b", L"a?b", false},
    {"code page, No", "ab", L"\u4E00", IDNO, "ab", L"a\u4E00b", true},
    {"UTF-8, Yes", "\xC3\xA9", L"\xD800", IDYES, "\xC3\xA9?", L"\u00E9?", false},
    {"UTF-8, No", "\xC3\xA9", L"\xD800", IDNO, "\xC3\xA9", L"\u00E9\xD800", true},
};

TEST_F(Files, ACharacterTheEncodingCannotHoldIsSavedOnlyAfterAskingAndThenShowsAsSaved) {
    Editor editor;
    const Box question("Scribane",
                       "Saving will replace the characters this file's encoding cannot hold with "
                       "\"?\". Save anyway?",
                       {IDYES, -IDNO}, MainWindow, LoadIconA(nullptr, IDI_WARNING));
    for (const LossySave& row : kLossySaves) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("x.txt"), row.bytes);
        ASSERT_TRUE(LoadDocument(Path("x.txt"), kText));
        Type(1, row.typed);
        answers = {Press(row.answer)};

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("x.txt")), row.saved);
        EXPECT_EQ(WideText(), row.shown);
        EXPECT_EQ(Selection(), "2-2");
        EXPECT_EQ(Modified(), row.modified);
        EXPECT_EQ(Take(), std::vector{question});
    }
}

TEST_F(Files, ACharacterTypedReachesTheEditorWholeThroughTheMessageLoop) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "\xC3\xA9");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), kText));
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
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), kText));
    SearchState = {"?", 1};

    RunSearch();

    EXPECT_EQ(Selection(), "1-2");
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
    {"level description with a NUL inside", "\x11\0\0\0ab\0cd\0"s, kLevel,
     "This file holds a NUL byte at position 6: only the text before it is shown, and saving it "
     "would cut the file there.",
     "Saving will cut this file at position 6 and drop what follows, which is not shown. Save "
     "anyway?",
     "\x11\0\0\0ab!\0"s},
    {"level description without its header", "Hello world", kLevel,
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

// cut.bin shows in part; Save as goes to `saveAs`, where Wine's dialog asks to replace it.
struct OtherName {
    const char* name;
    std::function<std::string(const std::string&)> loadAs;
    const char* saveAs;
    std::vector<std::string> boxes;
    std::string savedAs; // what `saveAs` holds afterwards
};

const std::string kLoadWarning =
    "Scribane: This file holds a NUL byte at position 5: only the text "
    "before it is shown, and saving it would cut the file there.";

const OtherName kOtherNames[] = {
    {"the Unix name on drive Z: is the same file, and asks",
     ThroughDriveZ,
     "cut.bin",
     {kLoadWarning, "Save As: 3|", "Error: File already exists.\nDo you want to replace it?",
      "Scribane: Saving will cut this file at position 5 and drop what follows, which is not "
      "shown. Save anyway?"},
     "Hello\0world"s},
    {"another file asks nothing",
     [](const std::string& path) { return path; },
     "other.bin",
     {kLoadWarning, "Save As: 3|", "Error: File already exists.\nDo you want to replace it?"},
     "Hello"},
};

TEST_F(Files, ASaveAsOverTheSameFileUnderAnotherNameAsksToo) {
    Editor editor;
    for (const OtherName& row : kOtherNames) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("cut.bin"), "Hello\0world"s);
        WriteBytes(Path("other.bin"), "other");
        ASSERT_TRUE(LoadDocument(row.loadAs(Path("cut.bin")), kText));
        answers = {Choose(Path(row.saveAs), 0), Press(IDYES), Press(IDNO)};

        Command(CMD_SAVE_AS);

        EXPECT_EQ(ReadBytes(Path(row.saveAs)), row.savedAs);
        EXPECT_EQ(Seen(), row.boxes);
    }
}

TEST_F(Files, ASaveAsksNothingOnceTheFileShownInPartIsGoneOrTheTextIsNew) {
    Editor editor;
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), kText));
    DeleteFileA(Path("cut.bin").c_str()); // nothing left to lose
    Put("gone", true);
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "gone");
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), kText));
    Command(CMD_NEW); // the text is no longer the file's
    Put("new", true);
    DocumentState.CurrentFileName = Path("cut.bin");
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "new");
    EXPECT_EQ(Seen(), std::vector(2, kLoadWarning)); // the two loads' warnings alone
}
