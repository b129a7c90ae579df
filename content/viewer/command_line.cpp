// Command line of hh.exe.
#include "content/viewer/command_line.h"

#include <cstring>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

const char* skipBlanks(const char* text)
{
    while (isBlank(*text)) ++text;
    return text;
}

bool startsWithWord(const char* text, const char* word)
{
    size_t i = 0;
    for (; word[i] != '\0'; ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return text[i] == '\0' || isBlank(text[i]);
}

bool copyBounded(const char* begin, size_t length, char* out, size_t size)
{
    if (length >= size) return false;
    std::memcpy(out, begin, length);
    out[length] = '\0';
    return true;
}

}  // namespace

bool parseHelpCommandLine(const char* commandLine, HelpRequest* request)
{
    *request = HelpRequest();
    const char* at = skipBlanks(commandLine ? commandLine : "");
    if (startsWithWord(at, "-mapid")) {
        at = skipBlanks(at + 6);
        if (*at < '0' || *at > '9') return false;
        uint64_t value = 0;
        while (*at >= '0' && *at <= '9') {
            value = value * 10 + static_cast<uint64_t>(*at++ - '0');
            if (value > 0xFFFFFFFFull) return false;
        }
        if (*at != '\0' && !isBlank(*at)) return false;
        request->hasMapId = true;
        request->mapId = static_cast<uint32_t>(value);
        at = skipBlanks(at);
    }

    // The rest is one name: blanks inside it belong to it.
    const char* end = at + std::strlen(at);
    while (end > at && (isBlank(end[-1]) || end[-1] == '\r' || end[-1] == '\n')) --end;
    if (end > at && *at == '"') {
        ++at;
        if (end > at && end[-1] == '"') --end;
    }
    const char* topic = at;
    while (topic + 1 < end && !(topic[0] == ':' && topic[1] == ':')) ++topic;
    if (topic + 1 >= end) topic = end;

    if (topic == at) return false;
    return copyBounded(at, static_cast<size_t>(topic - at), request->file, sizeof request->file) &&
           copyBounded(topic, static_cast<size_t>(end - topic), request->topic, sizeof request->topic);
}

bool joinTopic(const char* file, const char* topic, char* out, size_t size)
{
    size_t fileLength = std::strlen(file);
    size_t topicLength = std::strlen(topic);
    if (size == 0 || fileLength + topicLength >= size) return false;
    std::memcpy(out, file, fileLength);
    std::memcpy(out + fileLength, topic, topicLength);
    out[fileLength + topicLength] = '\0';
    return true;
}
