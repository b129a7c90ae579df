// A print surface that records what a print would draw: "line <y> <text>"
// and "page" for each page break; a character is one unit wide.
#pragma once

#include "app/ui/page_flow.h"

#include <string>
#include <vector>

class RecordedPage : public PrintSurface {
public:
    void drawLine(int y, const char* text) override
    {
        calls.push_back("line " + std::to_string(y) + " " + text);
    }
    int textWidth(const std::string& text) override { return static_cast<int>(text.size()); }
    void newPage() override { calls.push_back("page"); }

    // The texts drawn on each page, in order.
    std::vector<std::vector<std::string>> pages() const
    {
        std::vector<std::vector<std::string>> all(1);
        for (const std::string& call : calls) {
            if (call == "page") {
                all.emplace_back();
                continue;
            }
            const size_t text = call.find(' ', 5);
            all.back().push_back(call.substr(text + 1));
        }
        return all;
    }

    std::vector<std::string> calls;
};
