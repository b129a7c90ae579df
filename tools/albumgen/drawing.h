// Small drawing helpers over cairo for the album's plates: text in UTF-8
// with alignment and word wrap, the page frame with title and caption.
#pragma once

#include <cairo.h>

#include <string>

namespace album {

constexpr double PageWidth = 595.28;   // A4 portrait, points
constexpr double PageHeight = 841.89;
constexpr double Margin = 48;

enum class Align { Left, Centre, Right };

struct Colour {
    double r, g, b;
};

void setColour(cairo_t* cr, Colour c);

// One line of UTF-8 text with its baseline at y.
void text(cairo_t* cr, double x, double y, double size, const std::string& utf8, Align align = Align::Left,
          bool bold = false);

// Word-wrapped UTF-8 text in a column of the given width, first baseline at
// y; returns the baseline after the last line.
double paragraph(cairo_t* cr, double x, double y, double width, double size, const std::string& utf8,
                 bool italic = false);

// Plate frame: number and title at the top, caption at the bottom. Returns
// the top of the free drawing area; the area ends at captionTop().
double beginPlate(cairo_t* cr, int number, const std::string& title, const std::string& caption);
double captionTop();

// Windows-1252 bytes of the database to UTF-8 for cairo.
std::string utf8FromCp1252(const std::string& text);

}  // namespace album
