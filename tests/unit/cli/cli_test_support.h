// Runs the command line in-process for the tests.
#pragma once

#include <string>
#include <vector>

#include "cli/cli.h"

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

inline CliRun runQuorvel(const std::vector<std::string>& args)
{
    CliStreams io;
    int status = runCli(utf8Arguments(args), io);
    return {status, io.out, io.err};
}

inline std::vector<std::string> cliLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos)
            end = text.size();
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 1;
    }
    return lines;
}

inline std::string cliFixture(const char* name)
{
    return std::string(QUORVEL_SOURCE_DIR) + "/tests/unit/cli/fixtures/" + name;
}
