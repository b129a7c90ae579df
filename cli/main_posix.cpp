// Entry point of the native `quorvel`: arguments arrive as UTF-8 and are
// also the file names; the Windows-1252 texts leave as UTF-8.
#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli.h"
#include "cli/text_encoding.h"

namespace {

void writeAll(std::FILE* stream, const std::string& text, OutputEncoding encoding)
{
    std::string bytes = encoding == OutputEncoding::Utf8 ? cp1252ToUtf8(text) : text;
    if (!bytes.empty())
        std::fwrite(bytes.data(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(argv[i]);
    CliStreams io;
    int status = runCli(utf8Arguments(args), io);
    writeAll(stdout, io.out, io.encoding);
    writeAll(stderr, io.err, io.encoding);
    if (std::ferror(stdout))
        return status == ExitOk ? ExitFailed : status;
    return status;
}
