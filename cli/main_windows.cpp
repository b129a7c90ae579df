// Entry point of quorvel-cli.exe, the Windows console program: arguments are
// read as UTF-16 (texts become UTF-8, file names the ANSI code page); text
// goes to a console as UTF-16, to a file or pipe as UTF-8 (or Windows-1252)
// with CR LF line ends.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/text_encoding.h"

namespace {

std::string narrow(const wchar_t* text, UINT codePage)
{
    int size = WideCharToMultiByte(codePage, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(size));
    WideCharToMultiByte(codePage, 0, text, -1, buffer.data(), size, nullptr, nullptr);
    return std::string(buffer.data());
}

std::vector<CliArgument> commandLineArguments()
{
    std::vector<CliArgument> args;
    int count = 0;
    LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!words)
        return args;
    for (int i = 1; i < count; ++i)
        args.push_back({narrow(words[i], CP_UTF8), narrow(words[i], CP_ACP)});
    LocalFree(words);
    return args;
}

bool writeBytes(HANDLE handle, const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        DWORD chunk = static_cast<DWORD>(bytes.size() - done > 65536 ? 65536 : bytes.size() - done);
        if (!WriteFile(handle, bytes.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return true;
}

bool writeStream(DWORD which, const std::string& text, OutputEncoding encoding)
{
    HANDLE handle = GetStdHandle(which);
    if (handle == INVALID_HANDLE_VALUE || handle == nullptr || text.empty())
        return true;
    DWORD mode;
    if (GetConsoleMode(handle, &mode)) {
        // A console shows UTF-16 whatever its code page.
        std::wstring wide;
        for (unsigned char c : text)
            wide += static_cast<wchar_t>(cp1252CodePoint(c));
        size_t done = 0;
        while (done < wide.size()) {
            DWORD written = 0;
            DWORD chunk = static_cast<DWORD>(wide.size() - done > 8192 ? 8192 : wide.size() - done);
            if (!WriteConsoleW(handle, wide.data() + done, chunk, &written, nullptr) || written == 0)
                return false;
            done += written;
        }
        return true;
    }
    std::string bytes = encoding == OutputEncoding::Utf8 ? cp1252ToUtf8(text) : text;
    std::string lines;
    lines.reserve(bytes.size() + bytes.size() / 32);
    for (char c : bytes) {
        if (c == '\n')
            lines += '\r';
        lines += c;
    }
    return writeBytes(handle, lines);
}

}  // namespace

int main()
{
    CliStreams io;
    int status = runCli(commandLineArguments(), io);
    bool written = writeStream(STD_OUTPUT_HANDLE, io.out, io.encoding);
    writeStream(STD_ERROR_HANDLE, io.err, io.encoding);
    if (!written && status == ExitOk)
        return ExitFailed;
    return status;
}
