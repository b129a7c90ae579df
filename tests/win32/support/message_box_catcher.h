// Answers the message boxes a test provokes: a thread-local CBT hook sees
// each dialog of class #32770 that carries a message text (static 0xFFFF),
// records its caption and text, and presses the chosen button.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct CaughtMessageBox {
    std::string caption;
    std::string text;
};

class MessageBoxCatcher {
public:
    explicit MessageBoxCatcher(int button = IDOK);
    ~MessageBoxCatcher();
    MessageBoxCatcher(const MessageBoxCatcher&) = delete;
    MessageBoxCatcher& operator=(const MessageBoxCatcher&) = delete;

    void setButton(int button) { button_ = button; }
    const std::vector<CaughtMessageBox>& caught() const { return caught_; }

private:
    static LRESULT CALLBACK hook(int code, WPARAM wParam, LPARAM lParam);
    HHOOK hook_;
    int button_;
    std::vector<CaughtMessageBox> caught_;
};

// Processes the thread's pending messages (with a short grace for posted ones).
void pumpMessages(DWORD milliseconds = 50);
