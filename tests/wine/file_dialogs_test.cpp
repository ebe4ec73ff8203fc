// What the user answers about files: the save prompt before the text is dropped, the
// questions before a cut file is saved over, and the Open and Save as dialogs.
#include "document/document.h"
#include "platform/app_state.h"
#include "resources/resource_ids.h"
#include "support/harness.h"

namespace {

using namespace std::string_literals;
using Prompts = Suite;
constexpr FileType kLevel = FileType::LevelDescription;

void ExpectWarningBox(const Box& box, const std::string& text, std::vector<int> buttons) {
    EXPECT_EQ(box.caption + "|" + box.text, "Scribane|" + text);
    EXPECT_EQ(box.buttons, buttons);
    EXPECT_EQ(box.defaultButton, buttons.back());
    EXPECT_EQ(box.owner, MainWindow);
    EXPECT_EQ(box.icon, LoadIconA(nullptr, IDI_WARNING));
}

} // namespace

TEST_F(Prompts, TheSavePromptGuardsEveryWayTheTextIsDropped) {
    enum { kNew, kOpen, kRecent, kDrop, kShutdown };
    enum { kCancel, kNo, kYes, kYesButTheSaveFails, kNotModified };
    const std::string draft = Path("draft.txt"), other = Path("other.txt");
    WriteBytes(other, "other");
    Editor editor;
    for (int way : {kNew, kOpen, kRecent, kDrop, kShutdown})
        for (int reply : {kCancel, kNo, kYes, kYesButTheSaveFails, kNotModified}) {
            SCOPED_TRACE("way " + std::to_string(way) + ", reply " + std::to_string(reply));
            WriteBytes(draft, "draft");
            ASSERT_TRUE(LoadDocument(draft, FileType::Text));
            SetValue(kOwnKey, "b", other);
            Put("changed", reply != kNotModified);
            if (reply == kYesButTheSaveFails)
                SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_READONLY);
            const bool goesOn = reply == kNo || reply == kYes || reply == kNotModified;
            if (reply != kNotModified)
                boxes.answers.push_back(Press(reply == kCancel ? IDCANCEL : reply == kNo ? IDNO : IDYES));
            if (way == kOpen && goesOn)
                boxes.answers.push_back(Choose(other, 3));
            HGLOBAL drop = nullptr;
            LRESULT endSession = 0;
            switch (way) {
            case kNew: Command(CMD_NEW); break;
            case kOpen: Command(CMD_OPEN); break;
            case kRecent: Command(CMD_RECENT_1 + 1); break;
            case kDrop: drop = DropFiles({other, draft}); break; // the first file only
            case kShutdown: endSession = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF); break;
            }
            SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
            const auto seen = boxes.Take();
            ASSERT_EQ(seen.size(), (reply != kNotModified) + (reply == kYesButTheSaveFails) + (way == kOpen && goesOn));
            if (reply != kNotModified) {
                EXPECT_EQ(seen[0].caption + "|" + seen[0].text, "Save text|Would you like to save this text?");
                EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO, IDCANCEL}));
                EXPECT_EQ(seen[0].owner, MainWindow);
                EXPECT_EQ(seen[0].icon, LoadIconA(nullptr, IDI_QUESTION));
            }
            EXPECT_TRUE(reply != kYesButTheSaveFails || ReportedError(seen[1]) == 5);
            const std::string text = !goesOn || way == kShutdown ? "changed" : way == kNew ? "" : "other";
            EXPECT_EQ(Text(), text);
            EXPECT_EQ(Modified(), text == "changed" && reply != kYes && reply != kNotModified);
            EXPECT_EQ(ReadBytes(draft), reply == kYes ? "changed" : "draft");
            EXPECT_TRUE(way != kShutdown || endSession == (goesOn ? TRUE : FALSE));
            EXPECT_TRUE(way != kDrop || GlobalSize(drop) == 0); // released, whatever the answer
        }
}

TEST_F(Prompts, ACutFileWarnsAndAsksBeforeASaveShortensIt) {
    struct Row { std::string bytes; FileType type; LoadLoss loss; size_t nul, shorter; std::string saved; };
    const Row rows[] = {
        {"Hello\0world"s, FileType::Text, LoadLoss::CutAtNul, 5, 5, "Hello"},
        {"\x11\0\0\0ab\0cd\0"s, kLevel, LoadLoss::CutAtNul, 6, 7, "\x11\0\0\0ab\0"s},
        {"\x11\0\0\0abc\0"s, FileType::Text, LoadLoss::CutAtNul, 1, 1, "\x11"},
        {"Hello world", kLevel, LoadLoss::MissingHeader, 0, 12, "\x11\0\0\0o world\0"s},
        {"Hello\0world"s, kLevel, LoadLoss::CutAtNul, 5, 6, "\x11\0\0\0o\0"s}, // the NUL's texts win
    };
    const std::string file = Path("cut.bin");
    Editor editor;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.bytes));
        const std::string question = SaveLossQuestion(row.loss, row.bytes.size(), row.shorter);
        WriteBytes(file, row.bytes);
        ASSERT_TRUE(LoadDocument(file, row.type));
        // Save asks, and No keeps the file; Save as naming the same file asks too.
        boxes.answers = {Press(IDNO), Choose(file, 0), Press(IDYES), Press(IDYES)};
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(file), row.bytes);
        Command(CMD_SAVE_AS);
        EXPECT_EQ(ReadBytes(file), row.saved);
        Command(CMD_SAVE); // once saved, nothing more to ask
        const auto seen = boxes.Take();
        ASSERT_EQ(seen.size(), 5u);
        ExpectWarningBox(seen[0], LoadLossWarning(row.loss, row.nul), {IDOK});
        ExpectWarningBox(seen[1], question, {IDYES, IDNO});
        ExpectWarningBox(seen[4], question, {IDYES, IDNO});
    }
    // Through the save prompt No abandons the command that asked; Save as to another name
    // asks nothing; a load or New forgets the cut.
    WriteBytes(file, "Hello\0world"s);
    ASSERT_TRUE(LoadDocument(file, FileType::Text));
    Put("Hello", true);
    boxes.answers = {Press(IDYES), Press(IDNO), Choose(Path("copy.txt"), 3)};
    Command(CMD_NEW);
    EXPECT_EQ(Text() + (Modified() ? " modified" : ""), "Hello modified");
    Command(CMD_SAVE_AS);
    EXPECT_EQ(ReadBytes(Path("copy.txt")), "Hello");
    for (unsigned forget : {unsigned(CMD_NEW), 0u}) {
        WriteBytes(file, "Hello\0world"s);
        ASSERT_TRUE(LoadDocument(file, FileType::Text));
        forget ? Command(forget) : void(LoadDocument(Path("copy.txt"), FileType::Text));
        DocumentState.CurrentFileName = file;
        Command(CMD_SAVE);
        EXPECT_EQ(ReadBytes(file), forget ? "" : "Hello");
    }
    EXPECT_EQ(boxes.Take().size(), 6u); // three warnings, the prompt, its question, the dialog
}

TEST_F(Prompts, FileDialogsStartOnTheirFilterAndChangeOnlyWhatWasChosen) {
    const std::string level = Path("level.inf"), elsewhere = Path("elsewhere");
    WriteBytes(level, "\x11\0\0\0abc\0"s);
    WriteBytes(Path("locked.txt"), "locked");
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    SetCurrentDirectoryA(elsewhere.c_str()); // where the dialogs must leave it
    Editor editor;
    // Open starts on Text with an empty name, whatever the document's type.
    DocumentState.CurrentFileType = kLevel;
    boxes.answers = {Choose(level, 2)};
    Command(CMD_OPEN);
    EXPECT_EQ(Look(), "abc|saved|" + level + "|2|level.inf - Scribane| " + level + "|\t|" + level + "|||");
    // Save as starts on the current file's filter, on Text without one.
    for (int type : {0, 1, 2, 3, 4}) {
        DocumentState.CurrentFileType = FileType(type);
        boxes.answers.push_back(Choose("", 0, IDCANCEL));
        Command(CMD_SAVE_AS);
    }
    auto seen = boxes.Take();
    ASSERT_EQ(seen.size(), 6u);
    std::string filters;
    for (const Box& box : seen)
        filters += box.text + (box.owner == MainWindow ? " " : " not owned ");
    EXPECT_EQ(filters, "3| 3| 1| 2| 3| 4| ");

    // Cancelled after choosing a filter and a name, a dialog changes nothing; a file
    // that is missing or read-only is refused with a box, and the document stays.
    DocumentState.CurrentFileType = kLevel;
    Put("edited", true);
    const std::string before = Look();
    boxes.answers = {Choose(Path("other.txt"), 4, IDCANCEL), Press(IDNO), Choose(Path("missing.txt"), 3),
                     [](HWND box) { Press(IDOK)(box), PostMessageA(GetWindow(box, GW_OWNER), WM_COMMAND, IDCANCEL, 0); },
                     Choose(Path("locked.txt"), 3), Press(IDYES)};
    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);
    Command(CMD_SAVE_AS);
    EXPECT_EQ(Look(), before);
    seen = boxes.Take();
    ASSERT_EQ(seen.size(), 7u);
    EXPECT_EQ(seen[5].buttons, (std::vector<int>{IDYES, IDNO})); // replace the existing file?
    EXPECT_EQ(ReportedError(seen[6]), 5);
    EXPECT_EQ(FolderContents(folder), (std::vector<std::string>{"elsewhere", "level.inf", "locked.txt"}));

    // A name without extension gets ".txt"; the title names the file saved, the recent
    // list keeps the loads.
    boxes.answers = {Choose(Path("notes"), 3)};
    Command(CMD_SAVE_AS);
    EXPECT_EQ(Look(), "edited|saved|" + Path("notes.txt") + "|3|notes.txt - Scribane| " + Path("notes.txt") + "|\t|" +
                          level + "|||");
    EXPECT_EQ(ReadBytes(Path("notes.txt")), "edited");
    // The first Save of a new text asks for a file; the next goes there without asking.
    Command(CMD_NEW);
    EXPECT_EQ(Look(), "|saved|(Unsaved)|3|Scribane| (Unsaved)|\t|" + level + "|||");
    Put("typed", true);
    boxes.answers = {Choose(Path("typed.txt"), 3)};
    Command(CMD_SAVE);
    Put("again", true);
    Command(CMD_SAVE);
    EXPECT_EQ(ReadBytes(Path("typed.txt")) + "|" + Title(), "again|typed.txt - Scribane");
    EXPECT_EQ(boxes.Take().size(), 2u);
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(current, elsewhere);
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}
