// Loading: what a file shows and what an unedited save writes back, byte for byte, in each
// layout; every way a load can fail; and the warning and the question for a file the editor
// cannot show whole.
#include "support/harness.h"

namespace {

BOOL WINAPI RefuseText(HWND, LPCWSTR) {
    return FALSE;
}

void* NoMemory(size_t) {
    return nullptr;
}

HANDLE Hold(const std::string& path, DWORD share) {
    return CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
}

std::string EveryByteFrom1To255() {
    std::string bytes;
    for (int value = 1; value <= 255; ++value)
        bytes += char(value);
    return bytes;
}

} // namespace

struct Loading : Suite {
    // Types `text` at `position` in the editor, a character at a time as the keyboard would.
    static void Type(int position, std::wstring_view text) {
        SendMessageW(EditorControl, EM_SETSEL, position, position);
        for (wchar_t character : text)
            SendMessageW(EditorControl, WM_CHAR, character, 0);
    }
};

struct RoundTrip {
    const char* name;
    std::string bytes;
    FileType type;
    std::string shown;
    std::string saved;
};

const RoundTrip kRoundTrips[] = {
    {"plain text of every byte value", EveryByteFrom1To255(), FileType::Text, EveryByteFrom1To255(),
     EveryByteFrom1To255()},
    {"level description of every byte value", "\x11\0\0\0"s + EveryByteFrom1To255() + '\0',
     FileType::LevelDescription, EveryByteFrom1To255(),
     "\x11\0\0\0"s + EveryByteFrom1To255() + '\0'},
    {"credits with a lone CR and a lone LF", "one\rtwo\n", FileType::Credits, "one\rtwo\n",
     "one\rtwo\n"},
    {"level description", "\x11\0\0\0l 1\r\nl 2\0"s, FileType::LevelDescription, "l 1\r\nl 2",
     "\x11\0\0\0l 1\r\nl 2\0"s},
    {"level description without its closing NUL", "\x11\0\0\0A"s, FileType::LevelDescription, "A",
     "\x11\0\0\0A\0"s},
    {"level description of the header alone", "\x11\0\0\0"s, FileType::LevelDescription, "", ""},
    {"empty level description", "", FileType::LevelDescription, "", ""},
    {"CR LF line ends", "one\r\ntwo\r\n", FileType::Text, "one\r\ntwo\r\n", "one\r\ntwo\r\n"},
    {"mixed line ends", "one\r\ntwo\nthree\r", FileType::Text, "one\r\ntwo\nthree\r",
     "one\r\ntwo\nthree\r"},
    {"LF line ends, shown as lines", "one\ntwo\n", FileType::Text, "one\r\ntwo\r\n", "one\ntwo\n"},
    {"level description with LF line ends", "\x11\0\0\0one\ntwo\0"s, FileType::LevelDescription,
     "one\r\ntwo", "\x11\0\0\0one\ntwo\0"s},
    {"UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9",
     FileType::Text, "caf\xE9",
     "\xEF\xBB\xBF"
     "caf\xC3\xA9"},
    {"UTF-8 with the mark alone", "\xEF\xBB\xBF", FileType::Text, "", "\xEF\xBB\xBF"},
    {"UTF-8 without a mark", "caf\xC3\xA9", FileType::AllFiles, "caf\xE9", "caf\xC3\xA9"},
    {"level description holding UTF-8 bytes", "\x11\0\0\0caf\xC3\xA9\0"s,
     FileType::LevelDescription, "caf\xC3\xA9", "\x11\0\0\0caf\xC3\xA9\0"s},
};

TEST_F(Loading, AnUneditedSaveWritesBackWhatWasLoaded) {
    Editor editor;
    for (const RoundTrip& row : kRoundTrips) {
        SCOPED_TRACE(row.name);
        const std::string in = Path(std::string(row.name) + ".in");
        const std::string out = Path(std::string(row.name) + ".out");
        WriteBytes(in, row.bytes);
        HANDLE reader = Hold(in, FILE_SHARE_READ); // another program reading it meanwhile

        ASSERT_TRUE(LoadDocument(in, row.type));
        CloseHandle(reader);
        EXPECT_EQ(Text(), row.shown);
        DocumentState.CurrentFileName = out; // a file not there yet: nothing to ask
        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(out), row.saved);
        EXPECT_EQ(Take().size(), 0u);
        EXPECT_EQ(Status(0), " " + out);
        EXPECT_EQ(Status(1), "\t");
        EXPECT_FALSE(Modified());
        // Opened unshared, as nobody holds them any more.
        EXPECT_TRUE(CloseHandle(Hold(in, 0)));
        EXPECT_TRUE(CloseHandle(Hold(out, 0)));
    }
}

struct LoadFault {
    const char* name;
    std::string bytes;
    FileType type;
    std::function<void(const std::string& file, HANDLE& held)> inject;
    int error;
};

const LoadFault kLoadFaults[] = {
    {"missing file", "x", FileType::Text,
     [](const std::string& file, HANDLE&) { DeleteFileA(file.c_str()); }, 2},
    {"a folder", "y", FileType::Text,
     [](const std::string& file, HANDLE&) {
         DeleteFileA(file.c_str());
         CreateDirectoryA(file.c_str(), nullptr);
     },
     5},
    {"held open without sharing", "z", FileType::Credits,
     [](const std::string& file, HANDLE& held) { held = Hold(file, 0); }, 5},
    {"level description of two bytes", "\x11\x11", FileType::LevelDescription,
     [](const std::string&, HANDLE&) {}, 204},
    {"level description of three bytes", "\x11\x11\x11", FileType::LevelDescription,
     [](const std::string&, HANDLE&) {}, 100},
    {"text the control refuses", "abc", FileType::AllFiles,
     [](const std::string&, HANDLE&) { FileCalls.SetEditorText = RefuseText; }, 8},
    {"no memory for the file", "abc", FileType::Text,
     [](const std::string&, HANDLE&) { FileCalls.Allocate = NoMemory; }, 8},
    {"sparse file of 2.5 GB", "", FileType::Text,
     [](const std::string& file, HANDLE&) {
         HANDLE sparse =
             CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
         SetFilePointerEx(sparse, LARGE_INTEGER{.QuadPart = 2560LL << 20}, nullptr, FILE_BEGIN);
         SetEndOfFile(sparse);
         CloseHandle(sparse);
     },
     8},
};

TEST_F(Loading, AFailedLoadIsReportedAndChangesNothing) {
    WriteBytes(Path("kept.inf"), "\x11\0\0\0kept\0"s);
    SetValue(kOwnKey, "b", "C:\\older.txt");
    Editor editor;
    ASSERT_TRUE(LoadDocument(Path("kept.inf"), FileType::LevelDescription));
    Put("kept, edited", true);
    const DocumentView before = View();
    for (const LoadFault& row : kLoadFaults) {
        SCOPED_TRACE(row.name);
        const std::string file = Path(row.name);
        WriteBytes(file, row.bytes);
        HANDLE held = INVALID_HANDLE_VALUE;
        row.inject(file, held);

        EXPECT_FALSE(LoadDocument(file, row.type));

        CloseHandle(held);
        FileCalls = {};
        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(ReportedError(boxes[0]), row.error);
        EXPECT_EQ(View(), before);
    }
}

TEST_F(Loading, ADroppedFileWhoseNameIsTooLongIsRefusedBeforeTheSavePrompt) {
    Editor editor;
    Put("changed", true);

    DropFiles("C:\\" + std::string(300, 'n') + ".txt" + '\0');

    const std::vector<Box> boxes = Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(ReportedError(boxes[0]), 206);
    EXPECT_EQ(Text(), "changed");
    EXPECT_TRUE(Modified());
}

struct CutFile {
    const char* name;
    std::string bytes;
    FileType type;
    std::string warning;
    std::string question;
    std::string savedOnYes;
};

const CutFile kCutFiles[] = {
    {"plain text with a NUL", "Hello\0world"s, FileType::Text,
     "This file holds a NUL byte at position 5: only the text before it is shown, and saving it "
     "would cut the file there.",
     "Saving will cut this file at position 5 and drop what follows, which is not shown. Save "
     "anyway?",
     "Hello!"},
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

TEST_F(Loading, AFileShownInPartWarnsAndAsksBeforeASaveOverIt) {
    Editor editor;
    for (const CutFile& row : kCutFiles) {
        SCOPED_TRACE(row.name);
        const std::string file = Path(row.name);
        WriteBytes(file, row.bytes);
        ASSERT_TRUE(LoadDocument(file, row.type));
        const int end = GetWindowTextLengthA(EditorControl);
        SendMessageA(EditorControl, EM_SETSEL, end, end);
        SendMessageA(EditorControl, EM_REPLACESEL, TRUE, LPARAM("!"));
        answers = {Press(IDNO), Press(IDYES)};

        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(file), row.bytes);
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(file), row.savedOnYes);
        Command(CMD_SAVE); // once saved, there is nothing left to ask about

        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), 3u);
        const HICON warning = LoadIconA(nullptr, IDI_WARNING);
        EXPECT_EQ(boxes[0], Box("Scribane", row.warning, {-IDOK}, MainWindow, warning));
        EXPECT_EQ(boxes[1], Box("Scribane", row.question, {IDYES, -IDNO}, MainWindow, warning));
        EXPECT_EQ(boxes[2], boxes[1]);
    }
}

// Another name for `path`: under Wine, the Unix name of the file on drive Z:.
std::string ThroughDriveZ(const std::string& path) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = UnixName(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32"), "wine_get_unix_file_name")));
    if (!unixName)
        return "";
    std::wstring wide(path.begin(), path.end());
    std::string name = "Z:" + std::string(unixName(wide.c_str()));
    std::ranges::replace(name, '/', '\\');
    return name;
}

std::string ShortName(const std::string& path) {
    char name[MAX_PATH] = "";
    GetShortPathNameA(path.c_str(), name, sizeof name);
    return name;
}

struct OtherName {
    const char* name;
    std::function<std::string(const std::string&)> rename;
};

const OtherName kOtherNames[] = {
    {"the same name", [](const std::string& path) { return path; }},
    {"the Unix name on drive Z:", ThroughDriveZ},
    {"a \\\\?\\ name", [](const std::string& path) { return "\\\\?\\" + path; }},
    {"the short name", ShortName},
};

TEST_F(Loading, ASaveAsOverTheSameFileUnderAnotherNameAsksToo) {
    Editor editor;
    for (const OtherName& row : kOtherNames) {
        SCOPED_TRACE(row.name);
        const std::string file = Path("a long file name.bin");
        WriteBytes(file, "Hello\0world"s);
        const std::string other = row.rename(file);
        if (other.empty())
            GTEST_SKIP() << "no other name for the file on this system";
        ASSERT_TRUE(LoadDocument(other, FileType::Text));
        answers = {Choose(file, 0), Press(IDYES), Press(IDNO)}; // the dialog asks to replace

        Command(CMD_SAVE_AS);

        EXPECT_EQ(ReadBytes(file), "Hello\0world"s);
        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), 4u); // the load's warning, the dialog, its question and ours
        EXPECT_EQ(boxes[3].text, "Saving will cut this file at position 5 and drop what follows, "
                                 "which is not shown. Save anyway?");
    }
}

TEST_F(Loading, ASaveAsToAnotherFileAsksNothing) {
    Editor editor;
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    WriteBytes(Path("other.bin"), "other");
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
    answers = {Choose(Path("other.bin"), 0), Press(IDYES)}; // the dialog asks to replace

    Command(CMD_SAVE_AS);

    EXPECT_EQ(ReadBytes(Path("other.bin")), "Hello");
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "Hello\0world"s);
    EXPECT_EQ(Take().size(), 3u); // the load warning, the dialog and its question
}

TEST_F(Loading, NoToTheQuestionFromTheSavePromptCancelsWhatAsked) {
    Editor editor;
    WriteBytes(Path("cut.bin"), "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
    Put("changed", true);
    answers = {Press(IDYES), Press(IDNO)}; // the prompt, then the question

    Command(CMD_NEW);

    EXPECT_EQ(Text(), "changed");
    EXPECT_TRUE(Modified());
    EXPECT_EQ(ReadBytes(Path("cut.bin")), "Hello\0world"s);
}

struct Forgetting {
    const char* name;
    std::function<void(Loading& test)> forget;
};

const Forgetting kForgettings[] = {
    {"New", [](Loading&) { Loading::Command(CMD_NEW); }},
    {"loading another file",
     [](Loading& test) {
         Loading::WriteBytes(test.Path("other.txt"), "other");
         LoadDocument(test.Path("other.txt"), FileType::Text);
     }},
};

TEST_F(Loading, NewOrAnotherLoadForgetsWhatTheLastLoadLeftUnshown) {
    Editor editor;
    for (const Forgetting& row : kForgettings) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("cut.bin"), "Hello\0world"s);
        ASSERT_TRUE(LoadDocument(Path("cut.bin"), FileType::Text));
        row.forget(*this);
        Put("new", true);
        DocumentState.CurrentFileName = Path("cut.bin");

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("cut.bin")), "new");
        EXPECT_EQ(Take().size(), 1u); // the load's warning alone
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
    {"a line added to an LF file", "one\ntwo\n", FileType::Text, -1, L"three\r",
     "one\ntwo\nthree\n"},
    {"a line added to a CR LF file", "one\r\n", FileType::Text, -1, L"two\r", "one\r\ntwo\r\n"},
    {"a line added to an LF level description", "\x11\0\0\0one\ntwo\0"s, FileType::LevelDescription,
     -1, L"\r", "\x11\0\0\0one\ntwo\n\0"s},
    {"\u00E9 typed into UTF-8", "caf\xC3\xA9", FileType::Text, -1, L"\u00E9",
     "caf\xC3\xA9\xC3\xA9"},
    {"a character beyond the code page typed into UTF-8", "caf\xC3\xA9", FileType::Text, 0,
     L"\u0101",
     "\xC4\x81"
     "caf\xC3\xA9"},
    {"a character typed before the text of UTF-8 with its mark",
     "\xEF\xBB\xBF"
     "ab",
     FileType::Text, 0, L"X",
     "\xEF\xBB\xBF"
     "Xab"},
    {"\u00E9 typed into a code-page file", "caf\xE9", FileType::Text, -1, L"\u00E9", "caf\xE9\xE9"},
    {"\u00E9 typed into an empty new file", "", FileType::None, -1, L"\u00E9", "\xE9"},
};

TEST_F(Loading, AnEditedFileKeepsItsLineEndsAndItsEncoding) {
    Editor editor;
    for (const Edit& row : kEdits) {
        SCOPED_TRACE(row.name);
        const std::string file = Path(row.name);
        WriteBytes(file, row.bytes);
        ASSERT_TRUE(LoadDocument(file, row.type));
        Type(row.position < 0 ? GetWindowTextLengthW(EditorControl) : row.position, row.typed);

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(file), row.saved);
        EXPECT_EQ(Take().size(), 0u);
    }
}

struct LossySave {
    const char* name;
    int answer;
    std::string saved;
    bool modified;
};

const LossySave kLossySaves[] = {
    {"Yes writes a question mark", IDYES, "a?b", false},
    {"No leaves the file as it was", IDNO, "ab", true},
};

TEST_F(Loading, ACharacterTheCodePageCannotHoldIsSavedOnlyAfterAsking) {
    Editor editor;
    for (const LossySave& row : kLossySaves) {
        SCOPED_TRACE(row.name);
        WriteBytes(Path("ab.txt"), "ab");
        ASSERT_TRUE(LoadDocument(Path("ab.txt"), FileType::Text));
        Type(1, L"\u0101");
        answers = {Press(row.answer)};

        Command(CMD_SAVE);

        EXPECT_EQ(ReadBytes(Path("ab.txt")), row.saved);
        EXPECT_EQ(Modified(), row.modified);
        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0], Box("Scribane",
                                "Saving will replace the characters this file's encoding cannot "
                                "hold with \"?\". Save anyway?",
                                {IDYES, -IDNO}, MainWindow, LoadIconA(nullptr, IDI_WARNING)));
    }
}

TEST_F(Loading, ACharacterTypedReachesTheEditorWholeThroughTheMessageLoop) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "caf\xC3\xA9");
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    SendMessageW(EditorControl, EM_SETSEL, 0, 0);
    PostMessageW(EditorControl, WM_CHAR, 0x0101, 0);
    PostQuitMessage(0);

    RunMessageLoop();

    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("utf8.txt")), "\xC4\x81"
                                           "caf\xC3\xA9");
}

struct FailureInWords {
    const char* name;
    const char* file;
    std::function<void(const std::string& file)> fail;
    std::string words; // what follows the file's full name and a colon
};

const FailureInWords kFailuresInWords[] = {
    {"loading a missing file", "missing.txt",
     [](const std::string& file) { LoadDocument(file, FileType::Text); }, "File not found."},
    {"saving over a read-only file", "read-only.txt",
     [](const std::string& file) {
         Loading::WriteBytes(file, "old");
         SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
         DocumentState.CurrentFileName = file;
         Loading::Command(CMD_SAVE);
         SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);
     },
     "Access denied."},
    {"loading a level description of three bytes", "short.inf",
     [](const std::string& file) {
         Loading::WriteBytes(file, "\x11\x11\x11");
         LoadDocument(file, FileType::LevelDescription);
     },
     "The file is shorter than its size."},
    {"loading a level description of two bytes", "shorter.inf",
     [](const std::string& file) {
         Loading::WriteBytes(file, "\x11\x11");
         LoadDocument(file, FileType::LevelDescription);
     },
     "The file is too short for a level description."},
};

TEST_F(Loading, AnErrorReportNamesTheFileAndSaysWhatFailed) {
    Editor editor;
    for (const FailureInWords& row : kFailuresInWords) {
        SCOPED_TRACE(row.name);
        row.fail(Path(row.file));

        const std::vector<Box> boxes = Take();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(ReportLines(boxes[0].text).back(), Path(row.file) + ": " + row.words);
    }
}

TEST_F(Loading, FindSearchesTheTextAsShown) {
    Editor editor;
    WriteBytes(Path("utf8.txt"), "\xC4\x81?caf\xC3\xA9"); // a character the code page lacks
    ASSERT_TRUE(LoadDocument(Path("utf8.txt"), FileType::Text));
    SearchState = {"?", 1};

    RunSearch();

    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 2u);
    SearchState = {"caf\xE9", 1};
    RunSearch();
    SendMessageW(EditorControl, EM_GETSEL, WPARAM(&start), LPARAM(&end));
    EXPECT_EQ(start, 2u);
    EXPECT_EQ(end, 6u);
}
