// The command line of our hh.exe, read without the platform so that the
// rules are tested natively: [-mapid NUMBER] FILE.chm[::/topic.htm].
#pragma once

#include <cstddef>
#include <cstdint>

struct HelpRequest {
    bool hasMapId = false;
    uint32_t mapId = 0;
    char file[260] = "";   // the help file as given (relative or full)
    char topic[260] = "";  // "::/topic.htm" when the name carries one, else empty
};

// False for an empty name, "-mapid" without a number (or one above
// 4294967295), and a file or topic that does not fit its buffer.
bool parseHelpCommandLine(const char* commandLine, HelpRequest* request);

// file followed by topic into out (NUL-terminated); false when it does not fit.
bool joinTopic(const char* file, const char* topic, char* out, size_t size);
