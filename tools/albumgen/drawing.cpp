// Drawing helpers of the album.
#include "tools/albumgen/drawing.h"

#include <sstream>
#include <vector>

namespace album {

namespace {

const char* const FontFamily = "DejaVu Sans";
constexpr double CaptionHeight = 118;

void selectFont(cairo_t* cr, double size, bool bold, bool italic)
{
    cairo_select_font_face(cr, FontFamily, italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double advance(cairo_t* cr, const std::string& utf8)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    return extents.x_advance;
}

}  // namespace

void setColour(cairo_t* cr, Colour c)
{
    cairo_set_source_rgb(cr, c.r, c.g, c.b);
}

void text(cairo_t* cr, double x, double y, double size, const std::string& utf8, Align align, bool bold)
{
    selectFont(cr, size, bold, false);
    double width = advance(cr, utf8);
    if (align == Align::Centre) x -= width / 2;
    if (align == Align::Right) x -= width;
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, utf8.c_str());
}

double paragraph(cairo_t* cr, double x, double y, double width, double size, const std::string& utf8, bool italic)
{
    selectFont(cr, size, false, italic);
    const double lineHeight = size * 1.35;
    std::istringstream lines(utf8);
    std::string sourceLine;
    while (std::getline(lines, sourceLine)) {
        std::istringstream words(sourceLine);
        std::string word, line;
        while (words >> word) {
            std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && advance(cr, candidate) > width) {
                cairo_move_to(cr, x, y);
                cairo_show_text(cr, line.c_str());
                y += lineHeight;
                line = word;
            } else {
                line = candidate;
            }
        }
        cairo_move_to(cr, x, y);
        cairo_show_text(cr, line.c_str());
        y += lineHeight;
    }
    return y;
}

double captionTop()
{
    return PageHeight - Margin - CaptionHeight;
}

double beginPlate(cairo_t* cr, int number, const std::string& title, const std::string& caption)
{
    setColour(cr, {0.0, 0.0, 0.5});
    text(cr, Margin, Margin + 4, 9, "Tavola " + std::to_string(number));
    text(cr, PageWidth - Margin, Margin + 4, 9, "Quorvel - Album illustrato", Align::Right);
    text(cr, Margin, Margin + 30, 17, title, Align::Left, true);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, Margin, Margin + 40);
    cairo_line_to(cr, PageWidth - Margin, Margin + 40);
    cairo_stroke(cr);

    double top = captionTop();
    cairo_set_source_rgb(cr, 1.0, 1.0, 0.89);
    cairo_rectangle(cr, Margin, top + 8, PageWidth - 2 * Margin, CaptionHeight - 8);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 0.6, 0.6, 0.4);
    cairo_rectangle(cr, Margin, top + 8, PageWidth - 2 * Margin, CaptionHeight - 8);
    cairo_stroke(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    paragraph(cr, Margin + 10, top + 26, PageWidth - 2 * Margin - 20, 9.5, caption);
    return Margin + 56;
}

std::string utf8FromCp1252(const std::string& text)
{
    static const unsigned high[32] = {
        0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
    };
    std::string out;
    for (unsigned char c : text) {
        unsigned code = c < 0x80 ? c : (c < 0xA0 ? high[c - 0x80] : c);
        if (code < 0x80) {
            out.push_back(static_cast<char>(code));
        } else if (code < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (code >> 6)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xE0 | (code >> 12)));
            out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return out;
}

}  // namespace album
