// What a file shows and a save writes back, byte for byte; files the editor cannot show whole.
#include "support/harness.h"

namespace {

std::string EveryByteFrom1To255() {
    std::string bytes;
    for (int value = 1; value <= 255; ++value)
        bytes += char(value);
    return bytes;
}

// The system's code page as the editor is told it: Windows' own, or UTF-8 for every program.
UINT systemCodePage = 1252;

UINT WINAPI SystemCodePage() {
    return systemCodePage;
}

} // namespace

using Files = EditorTest;

// A file loaded, typed into at its end (or at `at`), and saved: unedited, it comes back byte for
// byte; edited, it keeps its layout, its line ends and its encoding.
struct Save {
    const char* name;
    const char* file = "x.txt";
    std::string bytes;
    FileType type = kText;
    UINT codePage = 1252; // the system's
    std::string shown{};  // in the code page
    int at = -1;
    std::wstring typed{};
    std::string saved;
};

// A level description's bytes: the header, `text` and the closing NUL.
std::string Level(const std::string& text) {
    return "\x11\0\0\0"s + text + '\0';
}

const std::string kAll = EveryByteFrom1To255();
const std::string kUtf8 = "caf\xC3\xA9";
const std::string kAccident = "CAF\xC9\xA0!"; // UTF-8 by accident: "CAF", E acute, no-break space
const std::string kMixed = "a\r\nb\nc\r";
const std::string kMarked = "\xEF\xBB\xBF";
const std::wstring kE = L"\u00E9";

const Save kSaves[] = {
    {.name = "all, level",
     .bytes = Level(kAll),
     .type = kLevel,
     .shown = kAll,
     .saved = Level(kAll)},
    {.name = "mixed line ends", .bytes = kMixed, .shown = kMixed, .saved = kMixed},
    {.name = "level of UTF-8",
     .bytes = Level(kUtf8),
     .type = kLevel,
     .shown = kUtf8,
     .saved = Level(kUtf8)},
    {.name = "LF", .bytes = "a\nb\n", .shown = "a\r\nb\r\n", .typed = L"c\r", .saved = "a\nb\nc\n"},
    {.name = "UTF-8", .bytes = kUtf8, .shown = "caf\xE9", .typed = kE, .saved = kUtf8 + "\xC3\xA9"},
    {.name = "UTF-8, marked",
     .bytes = kMarked + "ab",
     .shown = "ab",
     .at = 0,
     .typed = L"X",
     .saved = kMarked + "Xab"},
    {.name = "credits.txt",
     .file = "CREDITS.TXT",
     .bytes = kAccident,
     .shown = kAccident,
     .typed = kE,
     .saved = kAccident + "\xE9"},
    {.name = "credits filter",
     .bytes = kAccident,
     .type = FileType::Credits,
     .shown = kAccident,
     .typed = kE,
     .saved = kAccident + "\xE9"},
    {.name = "UTF-8 Windows, typed",
     .bytes = Level("a"),
     .type = kLevel,
     .codePage = CP_UTF8,
     .shown = "a",
     .typed = kE,
     .saved = Level("a\xE9")},
    {.name = "UTF-8 Windows, UTF-8",
     .bytes = kUtf8,
     .codePage = CP_UTF8,
     .shown = "caf\xE9",
     .typed = kE,
     .saved = kUtf8 + "\xC3\xA9"},
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
        ASSERT_TRUE(LoadDocument(file, row.type));
        CloseHandle(reader);
        EXPECT_EQ(Text(), row.shown);
        Type(row.at, row.typed);
        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(file), row.saved);
        EXPECT_EQ(Take(), std::vector<std::string>{});
        EXPECT_FALSE(Modified());
        EXPECT_TRUE(DeleteFileA(file.c_str())); // nobody holds it any more
    }
}

// A character the encoding cannot hold, typed after the first: Yes saves "?" in its place, and
// the window then shows what the file holds, the caret where it was.
struct LossySave {
    std::string bytes;
    std::wstring typed;
    int answer;
    std::string saved;
    std::wstring shown;
};

const LossySave kLossySaves[] = {
    {.bytes = "ab", .typed = L"\u4E00", .answer = IDYES, .saved = "a?b", .shown = L"a?b"},
    {.bytes = "ab", .typed = L"\u4E00", .answer = IDNO, .saved = "ab", .shown = L"a\u4E00b"},
    {.bytes = kUtf8,
     .typed = L"\xD800",
     .answer = IDYES,
     .saved = "c?af\xC3\xA9",
     .shown = L"c?af\u00E9"},
};

TEST_F(Files, ACharacterTheEncodingCannotHoldIsSavedOnlyAfterAskingAndThenShowsAsSaved) {
    Editor editor;
    for (const LossySave& row : kLossySaves) {
        SCOPED_TRACE(row.bytes + (row.answer == IDYES ? ", Yes" : ", No"));
        WriteBytes(Path("x.txt"), row.bytes);
        ASSERT_TRUE(LoadDocument(Path("x.txt"), kText));
        Type(1, row.typed);
        answers = {Press(row.answer)};

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("x.txt")), row.saved);
        EXPECT_EQ(WideText(), row.shown);
        EXPECT_EQ(Selection(), "2-2");
        EXPECT_EQ(Modified(), row.answer == IDNO);
        EXPECT_EQ(Take(), std::vector<std::string>{"Scribane: Saving will replace the characters "
                                                   "this file's encoding cannot hold with \"?\". "
                                                   "Save anyway?"});
    }
}

// A level description without its header, loaded and "!" typed: saved three times, answering No,
// then Yes, then with nothing left to ask.
TEST_F(Files, AFileShownInPartWarnsAndAsksBeforeEachSaveOverItUntilSaved) {
    Editor editor;
    WriteBytes(Path("x.inf"), "Hello world");
    ASSERT_TRUE(LoadDocument(Path("x.inf"), kLevel));
    Type(-1, L"!");
    answers = {Press(IDNO), Press(IDYES)};

    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("x.inf")), "Hello world");
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("x.inf")), "\x11\0\0\0o world!\0"s);
    Command(CMD_SAVE);

    const std::string question =
        "Scribane: Saving will replace the first four bytes of this file. Save anyway?";
    EXPECT_EQ(Take(), (std::vector<std::string>{
                          "Scribane: This file does not start with a level description header: "
                          "its first four bytes are not shown, and saving it would replace them.",
                          question, question}));
}

const std::string kCutWarning = "Scribane: This file holds a NUL byte at position 5: only the text "
                                "before it is shown, and saving it would cut the file there.";
const std::string kReplace = "Error: File already exists.\nDo you want to replace it?"; // Wine's

// The question before a save over a file shown in part comes for that file under any name, here
// its Unix name on Wine's drive Z:, and only while its part is unshown: not once it is gone, nor
// for another file, nor after New.
TEST_F(Files, TheCutQuestionComesForTheSameFileUnderAnotherNameAndOnlyForIt) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = UnixName(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    ASSERT_TRUE(unixName) << "the other name is Wine's";
    const std::wstring wide(folder.begin(), folder.end());
    std::string throughDriveZ = "Z:" + std::string(unixName((wide + L"\\cut.bin").c_str()));
    std::ranges::replace(throughDriveZ, '/', '\\');
    Editor editor;
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    WriteBytes(Path("other.bin"), "other");
    ASSERT_TRUE(LoadDocument(throughDriveZ, kText));
    answers = {Choose(Path("cut.bin"), 0), Press(IDYES), Press(IDNO)};
    Command(CMD_SAVE_AS);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "Hello\0world"s);
    DeleteFileA(Path("cut.bin").c_str());
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "Hello");
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), kText));
    answers = {Choose(Path("other.bin"), 0), Press(IDYES)};
    Command(CMD_SAVE_AS);
    EXPECT_EQ(ReadBytes(Path("other.bin")), "Hello");
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), kText));
    Command(CMD_NEW);
    answers = {Choose(Path("cut.bin"), 0), Press(IDYES)};
    Command(CMD_SAVE_AS);
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "");
    const std::string question = "Scribane: Saving will cut this file at position 5 and drop what "
                                 "follows, which is not shown. Save anyway?";
    EXPECT_EQ(Take(), (std::vector<std::string>{kCutWarning, "Save As: 3|", kReplace, question,
                                                kCutWarning, "Save As: 3|", kReplace, kCutWarning,
                                                "Save As: 3|", kReplace}));
}
