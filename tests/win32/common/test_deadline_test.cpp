// The test programs' own deadline: a test stuck in a modal loop fails within
// its deadline instead of hanging the run.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// Run only as the child below: a message box nobody answers.
TEST(TestDeadline, DISABLED_UnansweredMessageBox)
{
    MessageBoxA(nullptr, "Nessuno risponde", "Attesa", MB_OK);
}

TEST(TestDeadline, AHangingTestFailsWithinItsDeadline)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, sizeof program);
    std::string command = std::string("\"") + program +
                          "\" --gtest_also_run_disabled_tests --gtest_filter=TestDeadline.DISABLED_*";
    // The child writes no report file and gets a short deadline.
    SetEnvironmentVariableA("GTEST_OUTPUT", nullptr);
    SetEnvironmentVariableA("QUORVEL_TEST_DEADLINE", "2");
    // Its report stays out of this program's output.
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = nul;
    PROCESS_INFORMATION child = {};
    const BOOL started =
        CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &child);
    CloseHandle(nul);
    ASSERT_TRUE(started);
    SetEnvironmentVariableA("QUORVEL_TEST_DEADLINE", nullptr);
    const DWORD waited = WaitForSingleObject(child.hProcess, 30000);
    if (waited == WAIT_TIMEOUT)
        TerminateProcess(child.hProcess, 99);
    DWORD code = 0;
    GetExitCodeProcess(child.hProcess, &code);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);
    EXPECT_EQ(waited, WAIT_OBJECT_0) << "the hanging test was not ended";
    EXPECT_EQ(code, 1u) << "the hanging test must count as failed";
}
