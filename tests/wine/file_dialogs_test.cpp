// What the user answers about files: the save prompt before the text is dropped, the questions
// before a cut file is saved over, and the Open and Save as dialogs.
#include "support/harness.h"

#include "document/document.h"
#include "resources/resource_ids.h"

using namespace std::string_literals;
using Prompts = Suite;

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
            SetFileAttributesA(draft.c_str(),
                               reply == kYesButTheSaveFails ? FILE_ATTRIBUTE_READONLY : 0);
            const bool goesOn = reply == kNo || reply == kYes || reply == kNotModified;
            answers = {Press(reply == kCancel ? IDCANCEL
                             : reply == kNo   ? IDNO
                                              : IDYES),
                       Choose(other, 3)};
            if (reply == kNotModified)
                answers.pop_front();
            HGLOBAL drop = nullptr;
            LRESULT endSession = 0;
            switch (way) {
            case kNew: Command(CMD_NEW); break;
            case kOpen: Command(CMD_OPEN); break;
            case kRecent: Command(CMD_RECENT_1 + 1); break;
            case kDrop: drop = DropFiles({other, draft}); break; // the first file only
            case kShutdown: endSession = SendMessageA(MainWindow, WM_QUERYENDSESSION, 0, 0); break;
            }
            SetFileAttributesA(draft.c_str(), FILE_ATTRIBUTE_NORMAL);
            const std::string text = !goesOn || way == kShutdown ? "changed"
                                     : way == kNew               ? ""
                                                                 : "other";
            EXPECT_EQ(Text() + (Modified() ? "+" : "") + ReadBytes(draft),
                      text +
                          (text == "changed" && reply != kYes && reply != kNotModified ? "+" : "") +
                          (reply == kYes ? "changed" : "draft"));
            EXPECT_TRUE((way != kShutdown || endSession == goesOn) &&
                        (way != kDrop || !GlobalSize(drop)));
            std::string boxes; // the prompt, the report of a failed save, the Open dialog
            for (const Box& box : Take())
                boxes +=
                    box.caption + (box.caption != "Save text" ||
                                           (box.text == "Would you like to save this text?" &&
                                            box.buttons == std::vector{-IDYES, IDNO, IDCANCEL} &&
                                            box.owner == MainWindow &&
                                            box.icon == LoadIconA(nullptr, IDI_QUESTION))
                                       ? "|"
                                       : "?|");
            EXPECT_EQ(boxes, std::string(reply == kNotModified ? "" : "Save text|") +
                                 (reply == kYesButTheSaveFails ? "Error|" : "") +
                                 (way == kOpen && goesOn ? "Open|" : ""));
        }
}

TEST_F(Prompts, ACutFileWarnsAndAsksBeforeASaveShortensIt) {
    const std::string file = Path("cut.bin");
    Editor editor;
    const auto asks = [&](std::string bytes, FileType type, LoadLoss loss, size_t nul, size_t left,
                          std::string saved) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        WriteBytes(file, bytes);
        ASSERT_TRUE(LoadDocument(file, type));
        answers = {Press(IDNO), Choose(file, 0), Press(IDYES), Press(IDYES)}; // Save as asks too
        Command(CMD_SAVE);
        const std::string kept = ReadBytes(file);
        Command(CMD_SAVE_AS);
        Command(CMD_SAVE); // once saved, nothing more to ask
        EXPECT_EQ(kept + "|" + ReadBytes(file), bytes + "|" + saved);
        std::string boxes; // the warning, and the question before each save over the file
        for (const Box& box : Take())
            if (box.caption == "Scribane")
                boxes += box.text + "|" + std::to_string(box.buttons.back()) +
                         (box.owner == MainWindow && box.icon == LoadIconA(nullptr, IDI_WARNING)
                              ? "\n"
                              : "?\n");
        const std::string question = SaveLossQuestion(loss, bytes.size(), left) + "|-7\n";
        EXPECT_EQ(boxes, LoadLossWarning(loss, nul) + "|-1\n" + question + question);
    };
    asks("Hello\0world"s, FileType::Text, LoadLoss::CutAtNul, 5, 5, "Hello");
    asks("\x11\0\0\0ab\0cd\0"s, FileType::LevelDescription, LoadLoss::CutAtNul, 6, 7,
         "\x11\0\0\0ab\0"s);
    asks("Hello world", FileType::LevelDescription, LoadLoss::MissingHeader, 0, 12,
         "\x11\0\0\0o world\0"s);
    asks("Hello\0world"s, FileType::LevelDescription, LoadLoss::CutAtNul, 5, 6, "\x11\0\0\0o\0"s);
    // Through the save prompt, No abandons what asked; Save as to another name asks nothing; a load
    // or New forgets the cut.
    ASSERT_TRUE(LoadDocument(file, FileType::Text));
    Put("o", true);
    answers = {Press(IDYES), Press(IDNO), Choose(Path("copy.txt"), 3)};
    Command(CMD_NEW);
    EXPECT_EQ(Text() + (Modified() ? "+" : ""), "o+");
    Command(CMD_SAVE_AS);
    for (unsigned forget : {unsigned(CMD_NEW), 0u}) {
        WriteBytes(file, "Hello\0world"s);
        ASSERT_TRUE(LoadDocument(file, FileType::Text));
        forget ? Command(forget) : void(LoadDocument(Path("copy.txt"), FileType::Text));
        DocumentState.CurrentFileName = file;
        Command(CMD_SAVE);
    }
    EXPECT_EQ(ReadBytes(file) + ReadBytes(Path("copy.txt")) + std::to_string(Take().size()),
              "oo6"); // 3 warnings
}

TEST_F(Prompts, FileDialogsStartOnTheirFilterAndChangeOnlyWhatWasChosen) {
    const std::string level = Path("level.inf"), elsewhere = Path("elsewhere");
    WriteBytes(level, "\x11\0\0\0abc\0"s);
    WriteBytes(Path("locked.txt"), "locked");
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    CreateDirectoryA(elsewhere.c_str(), nullptr);
    SetCurrentDirectoryA(elsewhere.c_str()); // where the dialogs must leave it
    Editor editor;
    DocumentState.CurrentFileType = FileType::LevelDescription;
    answers = {Choose(level, 2)}; // Open starts on Text whatever the document's type
    Command(CMD_OPEN);
    EXPECT_EQ(Look(),
              "abc|saved|" + level + "|2|level.inf - Scribane| " + level + "|\t|" + level + "|||");
    for (int type : {0, 1, 2, 3, 4}) { // Save as starts on the document's type, or on Text
        DocumentState.CurrentFileType = FileType(type);
        answers.push_back(Choose("", 0, IDCANCEL));
        Command(CMD_SAVE_AS);
    }
    // Cancelled after choosing a filter and a name, a dialog changes nothing; a missing or a
    // read-only file is refused with a box, and the document stays.
    DocumentState.CurrentFileType = FileType::LevelDescription;
    Put("edited", true);
    const std::string before = Look();
    answers = {Choose(Path("other.txt"), 4, IDCANCEL),
               Press(IDNO),
               Choose(Path("missing.txt"), 3),
               [](HWND box) { Press(IDOK)(box), Press(IDCANCEL)(GetWindow(box, GW_OWNER)); },
               Choose(Path("locked.txt"), 3),
               Press(IDYES)};
    Command(CMD_SAVE_AS);
    Command(CMD_OPEN);
    Command(CMD_SAVE_AS);
    EXPECT_EQ(Look(), before);
    std::string
        boxes; // the dialogs' starting filters, the prompt, the refusals' owners, the report
    for (const Box& box : seen)
        boxes += box.text.substr(0, 2) + (box.owner == MainWindow ? " " : "? ");
    EXPECT_EQ(boxes + std::to_string(ReportedError(Take().back())),
              "3| 3| 1| 2| 3| 4| 2| Wo 3| Fi? 2| Fi? Ru? 5");
    EXPECT_EQ(FolderContents(folder),
              (std::vector<std::string>{"elsewhere", "level.inf", "locked.txt"}));
    // A name without extension gets ".txt"; the title names the file saved, the recent list keeps
    // the loads; the first Save of a new text asks for a file, the next does not.
    answers = {Choose(Path("notes"), 3), Choose(Path("typed.txt"), 3)};
    Command(CMD_SAVE_AS);
    const std::string saved = Look() + "|" + ReadBytes(Path("notes.txt"));
    Command(CMD_NEW);
    const std::string fresh = Look();
    Put("typed", true);
    Command(CMD_SAVE);
    Put("again", true);
    Command(CMD_SAVE);
    EXPECT_EQ(saved, "edited|saved|" + Path("notes.txt") + "|3|notes.txt - Scribane| " +
                         Path("notes.txt") + "|\t|" + level + "||||edited");
    EXPECT_EQ(fresh + "|" + ReadBytes(Path("typed.txt")) + "|" + Title(),
              "|saved|(Unsaved)|3|Scribane| (Unsaved)|\t|" + level +
                  "||||again|typed.txt - Scribane");
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, current);
    EXPECT_EQ(current + std::to_string(Take().size()), elsewhere + "2");
    SetFileAttributesA(Path("locked.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}
