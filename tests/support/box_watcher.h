#pragma once
// Answers the modal message boxes and dialogs the editor shows, from a thread of its
// own, and records what each looked like.
#include <windows.h>

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct SeenBox {
    std::string caption;
    std::string text;         // a message box's text (empty for other dialogs)
    std::vector<int> buttons; // identifiers of its buttons, in window order
    HWND owner = nullptr;
    HICON icon = nullptr;  // a message box's icon
    LONG textStyle = 0;    // window style of a message box's text
    bool answered = false; // false: nothing was queued for it and it was dismissed
};

class BoxWatcher {
  public:
    using Answer = std::function<void(HWND)>;

    // Watches the dialogs of thread `threadId`, or of every thread of `processId`.
    explicit BoxWatcher(DWORD threadId = GetCurrentThreadId(), DWORD processId = 0);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Queues the answer to the next dialog that appears.
    void Expect(Answer answer);
    void ExpectButton(int id);

    std::vector<SeenBox> Seen() const;
    size_t Unanswered() const; // queued answers no dialog has used yet

    // Waits until `count` dialogs have been seen or `timeoutMs` has passed.
    bool WaitForSeen(size_t count, DWORD timeoutMs = 10000) const;

  private:
    void Run();
    bool Belongs(HWND window) const;

    DWORD threadId_, processId_;
    mutable std::mutex mutex_;
    std::deque<Answer> answers_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// Presses button `id` of a dialog.
BoxWatcher::Answer PressButton(int id);

// Reads the text of control `id` of `dialog`.
std::string DialogItemText(HWND dialog, int id);

// Waits until a control `id` exists in `dialog` (or in a child dialog of it) and
// returns it.
HWND WaitForDialogItem(HWND dialog, int id, DWORD timeoutMs = 5000);
