// Page breaks, repeated headings, page numbers and word wrapping of printed
// text.
#include "app/ui/page_flow.h"

#include <utility>

std::string pageNumberText(int page)
{
    return "Pagina " + std::to_string(page);
}

PageFlow::PageFlow(PrintSurface& surface, int lineHeight, int pageWidth, int pageHeight,
                   std::vector<std::string> heading)
    : surface_(surface), lineHeight_(lineHeight > 0 ? lineHeight : 1), width_(pageWidth)
{
    // One blank line and the page number below the text.
    lastLine_ = pageHeight / lineHeight_ - 3;
    if (lastLine_ < 1)
        lastLine_ = 1;
    setHeading(std::move(heading));
}

void PageFlow::setHeading(std::vector<std::string> heading)
{
    heading_ = std::move(heading);
    // A page too small for the heading still takes text, one line a page.
    if (lastLine_ < static_cast<int>(heading_.size()) + 2)
        heading_.clear();
}

void PageFlow::breakPage()
{
    surface_.drawLine((lastLine_ + 2) * lineHeight_, pageNumberText(page_).c_str());
    surface_.newPage();
    ++page_;
    line_ = 1;
    for (const std::string& text : heading_)
        write(text);
    if (!heading_.empty())
        ++line_;
}

void PageFlow::skip(int lines)
{
    if (lines > 0)
        line_ += lines;
}

void PageFlow::write(const std::string& text)
{
    if (line_ > lastLine_)
        breakPage();
    surface_.drawLine(line_ * lineHeight_, text.c_str());
    ++line_;
}

void PageFlow::keepTogether(int lines)
{
    const int first = heading_.empty() ? 1 : static_cast<int>(heading_.size()) + 2;
    // A block taller than a page starts where it is and runs on.
    if (line_ + lines - 1 > lastLine_ && line_ > first && lines <= lastLine_ - first + 1)
        breakPage();
}

void PageFlow::finish()
{
    if (page_ > 1)
        surface_.drawLine((lastLine_ + 2) * lineHeight_, pageNumberText(page_).c_str());
}

void PageFlow::wrapParagraph(const std::string& paragraph, std::vector<std::string>& lines)
{
    // Lines break at blanks and keep the blanks between their words.
    size_t start = paragraph.find_first_not_of(' ');
    if (start == std::string::npos) {
        lines.push_back(std::string());
        return;
    }
    while (start < paragraph.size()) {
        size_t end = start;  // of the line's last whole word
        size_t at = start;
        while (at < paragraph.size()) {
            size_t wordEnd = paragraph.find(' ', paragraph.find_first_not_of(' ', at));
            if (wordEnd == std::string::npos)
                wordEnd = paragraph.size();
            if (end > start && surface_.textWidth(paragraph.substr(start, wordEnd - start)) > width_)
                break;
            end = wordEnd;
            at = wordEnd;
            if (at >= paragraph.size() || paragraph.find_first_not_of(' ', at) == std::string::npos)
                break;
        }
        std::string piece = paragraph.substr(start, end - start);
        // A word wider than the page is cut where the page ends.
        while (piece.size() > 1 && surface_.textWidth(piece) > width_) {
            size_t fit = 1;
            while (fit < piece.size() && surface_.textWidth(piece.substr(0, fit + 1)) <= width_)
                ++fit;
            lines.push_back(piece.substr(0, fit));
            piece.erase(0, fit);
        }
        lines.push_back(piece);
        start = paragraph.find_first_not_of(' ', end);
        if (start == std::string::npos)
            break;
    }
}

std::vector<std::string> PageFlow::wrap(const std::string& text)
{
    std::vector<std::string> lines;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string paragraph = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!paragraph.empty() && paragraph.back() == '\r')
            paragraph.pop_back();
        wrapParagraph(paragraph, lines);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

void PageFlow::writeWrapped(const std::string& text)
{
    for (const std::string& piece : wrap(text))
        write(piece);
}
