// Copy and print of the search results: the clipboard text and the layout of
// the printed pages. The dialog reads its controls into these records and
// only draws or places what comes back.
#pragma once

#include <cstddef>
#include <string>

#include "app/browse/search_engine.h"

// What the dialog shows at the moment of the copy or print.
struct ResultsHeader {
    const char* text;          // the edit box as it is now
    bool advanced;
    SearchCriterion criterion;
    const char* counterLabel;  // the counter label as it is now
};

// One row of the result list, in list order.
struct ResultLine {
    int image;  // the row's image, which gives its type code
    const char* label;
    const char* bibliography;  // ignored for a folder row
};

// Tab-separated clipboard text: heading lines, one line per row, legend.
std::string searchResultsCopyText(const ResultsHeader& header, const ResultLine* rows,
                                  size_t count);

// Where the printed pages go. Coordinates are device units from the top of
// the printable area; every text starts at the left edge.
class ResultsPage {
public:
    virtual ~ResultsPage() = default;
    virtual void drawLine(int y, const char* text) = 0;
    // Word-wrapped across the page width in the box from top to bottom;
    // returns the height of the drawn text.
    virtual int drawBox(int top, int bottom, const char* text) = 0;
    // Ends the current page and starts the next.
    virtual void newPage() = 0;
};

// Lays out the results on pages of pageHeight with line height lineHeight
// (the printer's default font). Does nothing when lineHeight is not positive.
void printSearchResults(ResultsPage& page, const ResultsHeader& header, const ResultLine* rows,
                        size_t count, int lineHeight, int pageHeight);
