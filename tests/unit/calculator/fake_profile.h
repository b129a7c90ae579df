// An in-memory INI file with the profile functions' rules that the
// calculation file relies on: names without regard to case, trimmed values
// without one pair of quotes, values cut at the buffer, writes in place or
// appended to their section, new sections at the end.
#pragma once

#include "common/profile.h"

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

class FakeProfile : public Profile {
public:
    FakeProfile() = default;

    // Lines separated by CR LF or LF.
    explicit FakeProfile(const std::string& text)
    {
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos)
                end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            start = end + 1;
            std::string trimmed = trim(line);
            if (!trimmed.empty() && trimmed[0] == '[') {
                sections_.push_back({trimmed.substr(1, trimmed.find(']') - 1), {}});
            } else if (trimmed.find('=') != std::string::npos && !sections_.empty()) {
                size_t equals = trimmed.find('=');
                sections_.back().keys.push_back({trim(trimmed.substr(0, equals)), trim(trimmed.substr(equals + 1))});
            }
        }
    }

    // The file's bytes as the profile writer leaves them.
    std::string text() const
    {
        std::string out;
        for (const Section& section : sections_) {
            out += "[" + section.name + "]\r\n";
            for (const auto& key : section.keys)
                out += key.first + "=" + key.second + "\r\n";
        }
        return out;
    }

    unsigned readString(const char* section, const char* key, const char* defaultValue, char* buffer,
                        unsigned size) override
    {
        const std::string* value = find(section, key);
        std::string text = value ? unquote(*value) : defaultValue;
        if (size == 0)
            return 0;
        unsigned count = text.size() < size - 1 ? static_cast<unsigned>(text.size()) : size - 1;
        std::memcpy(buffer, text.data(), count);
        buffer[count] = '\0';
        return count;
    }

    int readInt(const char* section, const char* key, int defaultValue) override
    {
        const std::string* value = find(section, key);
        if (value == nullptr || value->empty())
            return defaultValue;
        return std::atoi(value->c_str());
    }

    unsigned readKeys(const char*, char* buffer, unsigned size) override
    {
        if (size > 1)
            buffer[0] = buffer[1] = '\0';
        return 0;
    }

    bool writeString(const char* section, const char* key, const char* value) override
    {
        ++writes;
        if (failWritesFrom >= 0 && writes > failWritesFrom)
            return false;
        Section* found = nullptr;
        for (Section& s : sections_)
            if (same(s.name, section)) {
                found = &s;
                break;
            }
        if (found == nullptr) {
            sections_.push_back({section, {}});
            found = &sections_.back();
        }
        for (auto existing = found->keys.begin(); existing != found->keys.end(); ++existing)
            if (same(existing->first, key)) {
                if (value)
                    existing->second = value;
                else
                    found->keys.erase(existing);  // a null value deletes, as on the platform
                return true;
            }
        if (value)
            found->keys.push_back({key, value});
        return true;
    }

    int writes = 0;
    int failWritesFrom = -1;  // writes after this many fail

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };

    static bool same(const std::string& a, const char* b)
    {
        if (a.size() != std::strlen(b))
            return false;
        for (size_t i = 0; i < a.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
                return false;
        return true;
    }

    static std::string trim(const std::string& text)
    {
        size_t first = text.find_first_not_of(" \t");
        if (first == std::string::npos)
            return "";
        return text.substr(first, text.find_last_not_of(" \t") - first + 1);
    }

    static std::string unquote(const std::string& value)
    {
        if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
            return value.substr(1, value.size() - 2);
        return value;
    }

    const std::string* find(const char* section, const char* key) const
    {
        for (const Section& s : sections_)
            if (same(s.name, section))
                for (const auto& k : s.keys)
                    if (same(k.first, key))
                        return &k.second;
        return nullptr;
    }

    std::vector<Section> sections_;
};
