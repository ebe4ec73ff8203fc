#include "support/box_watcher.h"

namespace {

const DWORD kPollMs = 20;
const DWORD kGraceMs = 3000; // how long a dialog waits for its answer to be queued

std::string WindowText(HWND window) {
    char text[4096] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

struct FindContext {
    const std::vector<HWND>* handled;
    std::function<bool(HWND)> belongs;
    HWND found = nullptr;
};

BOOL CALLBACK FindNewDialog(HWND window, LPARAM lParam) {
    auto* context = reinterpret_cast<FindContext*>(lParam);
    char className[64] = "";
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(window) || !context->belongs(window))
        return TRUE;
    for (HWND seen : *context->handled)
        if (seen == window)
            return TRUE;
    context->found = window;
    return FALSE;
}

SeenBox Describe(HWND dialog) {
    SeenBox box;
    box.caption = WindowText(dialog);
    box.owner = GetWindow(dialog, GW_OWNER);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[64] = "";
        GetClassNameA(child, className, sizeof className);
        const LONG style = GetWindowLongA(child, GWL_STYLE);
        const int id = GetDlgCtrlID(child);
        if (lstrcmpiA(className, "Button") == 0)
            box.buttons.push_back(id);
        else if (lstrcmpiA(className, "Static") == 0 && (style & SS_TYPEMASK) == SS_ICON)
            box.icon = reinterpret_cast<HICON>(SendMessageA(child, STM_GETICON, 0, 0));
        else if (lstrcmpiA(className, "Static") == 0 && id == 0xFFFF) {
            box.text = WindowText(child);
            box.textStyle = style;
        }
    }
    return box;
}

} // namespace

BoxWatcher::BoxWatcher(DWORD threadId, DWORD processId)
    : threadId_(processId ? 0 : threadId), processId_(processId), thread_([this] { Run(); }) {}

BoxWatcher::~BoxWatcher() {
    stop_ = true;
    thread_.join();
}

void BoxWatcher::Expect(Answer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(std::move(answer));
}

void BoxWatcher::ExpectButton(int id) {
    Expect(PressButton(id));
}

std::vector<SeenBox> BoxWatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

size_t BoxWatcher::Unanswered() const {
    std::lock_guard lock(mutex_);
    return answers_.size();
}

bool BoxWatcher::WaitForSeen(size_t count, DWORD timeoutMs) const {
    for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
        if (Seen().size() >= count)
            return true;
        Sleep(kPollMs);
    }
    return Seen().size() >= count;
}

bool BoxWatcher::Belongs(HWND window) const {
    DWORD processId = 0;
    const DWORD threadId = GetWindowThreadProcessId(window, &processId);
    return processId_ ? processId == processId_ : threadId == threadId_;
}

void BoxWatcher::Run() {
    HWND waiting = nullptr;
    DWORD waitedMs = 0;
    while (!stop_) {
        Sleep(kPollMs);
        // Forget dialogs that have closed, so a new one with a reused handle counts.
        std::erase_if(handled_, [](HWND window) { return !IsWindow(window); });

        FindContext context{&handled_, [this](HWND w) { return Belongs(w); }};
        EnumWindows(FindNewDialog, reinterpret_cast<LPARAM>(&context));
        if (!context.found)
            continue;
        HWND dialog = context.found;
        if (dialog != waiting)
            waiting = dialog, waitedMs = 0;

        Answer answer;
        {
            std::lock_guard lock(mutex_);
            if (!answers_.empty()) {
                answer = std::move(answers_.front());
                answers_.pop_front();
            }
        }
        if (!answer && (waitedMs += kPollMs) < kGraceMs)
            continue;

        SeenBox box = Describe(dialog);
        box.answered = static_cast<bool>(answer);
        {
            std::lock_guard lock(mutex_);
            seen_.push_back(box);
        }
        handled_.push_back(dialog);
        waiting = nullptr;
        if (answer)
            answer(dialog);
        else
            PostMessageA(dialog, WM_COMMAND, box.buttons.empty() ? IDCANCEL : box.buttons.back(),
                         0);
    }
}

BoxWatcher::Answer PressButton(int id) {
    return [id](HWND dialog) {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    };
}

std::string DialogItemText(HWND dialog, int id) {
    char text[4096] = "";
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

HWND WaitForDialogItem(HWND dialog, int id, DWORD timeoutMs) {
    for (DWORD waited = 0; waited < timeoutMs; waited += kPollMs) {
        if (HWND item = GetDlgItem(dialog, id))
            return item;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (HWND item = GetDlgItem(child, id))
                return item;
        Sleep(kPollMs);
    }
    return nullptr;
}
