// Copy and print of the search results: the clipboard text and the layout of
// the printed pages. The dialog reads its controls into these records and
// only draws or places what comes back.
#pragma once

#include <cstddef>
#include <string>

#include "app/browse/search_engine.h"
#include "app/ui/page_flow.h"

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

// Lays out the results on pages of pageWidth x pageHeight with line height
// lineHeight (the printer's default font): heading lines, each row kept on
// one page when it fits, the legend; the title and the column headings
// repeat on every page and a print of several pages is numbered. Does
// nothing when lineHeight is not positive.
void printSearchResults(PrintSurface& page, const ResultsHeader& header, const ResultLine* rows,
                        size_t count, int lineHeight, int pageWidth, int pageHeight);
