// Entry of every Windows test executable.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A test that has not ended by its deadline (QUORVEL_TEST_DEADLINE seconds,
// 60 by default) fails with a message instead of hanging: its windows are
// cancelled so that a wait on a modal loop returns, and if the test still
// does not end the program stops with a failure, which the runner counts.
// One watcher thread polls plain atomics: it relies on no handle the code
// under test could close or reuse.
class Deadline : public testing::EmptyTestEventListener {
public:
    Deadline()
    {
        const char* seconds = std::getenv("QUORVEL_TEST_DEADLINE");
        const int value = seconds ? std::atoi(seconds) : 0;
        milliseconds_ = static_cast<DWORD>(value > 0 ? value : 60) * 1000;
        CloseHandle(CreateThread(nullptr, 0, watch, this, 0, nullptr));
    }

    bool anyExpired() const { return anyExpired_; }

private:
    void OnTestStart(const testing::TestInfo& test) override
    {
        name_ = std::string(test.test_suite_name()) + "." + test.name();
        testThread_ = GetCurrentThreadId();
        expired_ = false;
        started_ = GetTickCount();
        running_ = true;
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        running_ = false;
        if (expired_) {
            std::fprintf(stderr, "%s ended only after its windows were cancelled: counted as failed\n",
                         name_.c_str());
            anyExpired_ = true;
        }
    }

    static BOOL CALLBACK cancelWindow(HWND window, LPARAM)
    {
        char className[64] = "";
        char title[128] = "";
        GetClassNameA(window, className, sizeof className);
        GetWindowTextA(window, title, sizeof title);
        std::fprintf(stderr, "  cancelling %s \"%s\"\n", className, title);
        if (lstrcmpA(className, "#32770") == 0)
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        else
            PostMessageA(window, WM_CLOSE, 0, 0);
        return TRUE;
    }

    static DWORD WINAPI watch(LPVOID self)
    {
        Deadline* deadline = static_cast<Deadline*>(self);
        for (;;) {
            Sleep(100);
            if (!deadline->running_ || GetTickCount() - deadline->started_ < deadline->milliseconds_)
                continue;
            deadline->expired_ = true;
            std::fprintf(stderr, "%s: no end after %lu s; cancelling its windows\n", deadline->name_.c_str(),
                         static_cast<unsigned long>(deadline->milliseconds_ / 1000));
            // Nested modal loops need one cancel each.
            for (int round = 0; round < 20 && deadline->running_; ++round) {
                EnumThreadWindows(deadline->testThread_, cancelWindow, 0);
                Sleep(500);
            }
            if (deadline->running_) {
                std::fprintf(stderr, "%s: still no end; stopping the test program\n", deadline->name_.c_str());
                std::fflush(stderr);
                TerminateProcess(GetCurrentProcess(), 3);
            }
            while (deadline->running_ && deadline->expired_)
                Sleep(100);
        }
    }

    DWORD milliseconds_;
    std::string name_;
    std::atomic<DWORD> testThread_{0};
    std::atomic<DWORD> started_{0};
    std::atomic<bool> running_{false};
    std::atomic<bool> expired_{false};
    bool anyExpired_ = false;
};

}  // namespace

int main(int argc, char** argv)
{
    InitCommonControls();
    testing::InitGoogleTest(&argc, argv);
    Deadline* deadline = new Deadline;
    testing::UnitTest::GetInstance()->listeners().Append(deadline);
    const int result = RUN_ALL_TESTS();
    return deadline->anyExpired() ? 1 : result;
}
