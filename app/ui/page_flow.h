// Lines of printed text laid out on pages: every print path writes through
// a PageFlow, which breaks pages, repeats the document's heading on each new
// page, numbers the pages of a print that has more than one, and never drops
// a line. Portable: the surface it draws on is the caller's.
#pragma once

#include <string>
#include <vector>

// Where the lines go: a printer, a metafile, a recorder in the tests.
class PrintSurface {
public:
    virtual ~PrintSurface() = default;
    virtual void drawLine(int y, const char* text) = 0;
    virtual int textWidth(const std::string& text) = 0;
    // Ends the current page and starts the next.
    virtual void newPage() = 0;
};

// The foot line of each page of a print of several pages.
std::string pageNumberText(int page);

class PageFlow {
public:
    // Line n of a page is drawn at y = n x lineHeight, from n = 1. heading:
    // the lines repeated at the top of every page after the first.
    PageFlow(PrintSurface& surface, int lineHeight, int pageWidth, int pageHeight,
             std::vector<std::string> heading);

    // Leaves lines blank lines; a line past the page's last continues on the
    // next page.
    void skip(int lines);

    // One line as it is, never wrapped.
    void write(const std::string& text);
    // Word-wrapped at the page width; line breaks of the text are kept.
    void writeWrapped(const std::string& text);
    // The lines writeWrapped would write.
    std::vector<std::string> wrap(const std::string& text);

    // From the next page on, heading is repeated at the top of every page
    // in place of the one given at the start (a print's column headings
    // join its title once they are known).
    void setHeading(std::vector<std::string> heading);

    // Starts a new page unless `lines` more lines fit on this one.
    void keepTogether(int lines);
    // Numbers the last page when there was more than one.
    void finish();

    int pages() const { return page_; }

private:
    void breakPage();
    void wrapParagraph(const std::string& paragraph, std::vector<std::string>& lines);

    PrintSurface& surface_;
    int lineHeight_;
    int width_;
    int lastLine_;  // of the text; the foot line is two below
    std::vector<std::string> heading_;
    int line_ = 1;
    int page_ = 1;
};
