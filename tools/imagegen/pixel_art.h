// Pixel-art sources of Quorvel's bitmaps, icons and animation, and the
// writers that turn them into BMP, ICO and AVI files. Standard C++ only, so
// the build runs it natively and the unit tests check every byte it writes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagegen {

struct Colour {
    char key = 0;             // character that stands for this colour in rows
    std::uint8_t red = 0, green = 0, blue = 0;
    bool transparent = false; // "none": the AND mask of an icon
};

struct Frame {
    int width = 0, height = 0;
    std::string label;
    std::vector<std::uint8_t> pixels; // colour indexes, rows top to bottom
};

struct PixelArt {
    int bits = 0;      // 4 or 8; 0 until the "bits" line is read
    int scale = 1;     // BMP only: each pixel becomes scale x scale pixels
    int fps = 0;       // AVI only
    bool rle = false;  // BMP only: run-length encoded pixels (BI_RLE4 / BI_RLE8)
    std::vector<Colour> palette;
    std::vector<Frame> frames;
};

// Limits that keep a mistyped source from asking for absurd files.
constexpr int maxFrameSide = 1024;
constexpr int maxFrames = 256;
constexpr int maxScale = 16;
constexpr int maxFps = 60;

// Source syntax, one statement per line ('#' starts a comment line):
//   bits 4|8                  pixel depth of the written file
//   scale N                   optional, BMP only
//   rle                       optional, BMP only: run-length encoded pixels
//   fps N                     AVI only
//   colour K R G B [words]    K a printable character, R G B 0..255
//   colour K none [words]     transparent (icons only)
//   frame N WxH [words]       N = 0, 1, 2... in order; then H rows of W keys
// Returns false with "name:line: reason" in error.
bool parsePixelArt(const std::string& text, const std::string& sourceName, PixelArt& art,
                   std::string& error);

// A strip: the frames side by side (all of one size), bottom-up rows,
// full colour table of 2^bits entries.
bool writeBmp(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error);

// One image per frame (square, 16..256 pixels, sizes distinct), in source
// order, each with its AND mask; transparent pixels are black in the colour part.
bool writeIco(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error);

// One uncompressed 8-bit video stream, one frame per source frame, with an
// idx1 index so that the animation control can seek.
bool writeAvi(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error);

} // namespace imagegen
