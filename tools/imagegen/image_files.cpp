// BMP, ICO and AVI writers. The layouts are the ones that the Windows loaders
// (LoadBitmap, LoadImage, the toolbar, image lists and the animation control)
// read: palettized device-independent bitmaps with bottom-up rows.
#include "tools/imagegen/pixel_art.h"

#include <cstddef>

namespace imagegen {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Larger pictures are a typing mistake in a source, not a wish.
constexpr std::size_t maxPixels = 4096u * 4096u;

void put16(Bytes& out, unsigned value)
{
    out.push_back(std::uint8_t(value & 0xFF));
    out.push_back(std::uint8_t((value >> 8) & 0xFF));
}

void put32(Bytes& out, std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(std::uint8_t((value >> shift) & 0xFF));
}

void putFourCc(Bytes& out, const char* code)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(std::uint8_t(code[i]));
}

void set32(Bytes& out, std::size_t at, std::uint32_t value)
{
    for (int k = 0; k < 4; ++k)
        out[at + std::size_t(k)] = std::uint8_t((value >> (8 * k)) & 0xFF);
}

std::uint32_t rowStride(int width, int bits)
{
    return std::uint32_t((std::uint32_t(width) * std::uint32_t(bits) + 31u) / 32u * 4u);
}

// A picture in file colour indexes, rows top to bottom.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> index;
};

void putInfoHeader(Bytes& out, int width, int height, int bits, std::uint32_t imageSize,
                   std::uint32_t coloursUsed, std::uint32_t compression = 0)
{
    put32(out, 40);
    put32(out, std::uint32_t(width));
    put32(out, std::uint32_t(height));
    put16(out, 1);
    put16(out, unsigned(bits));
    put32(out, compression); // BI_RGB, or BI_RLE8 (1) / BI_RLE4 (2)
    put32(out, imageSize);
    put32(out, 0);
    put32(out, 0);
    put32(out, coloursUsed);
    put32(out, 0);
}

// The full table of 2^bits entries; entries past the palette stay black.
void putColourTable(Bytes& out, const std::vector<Colour>& colours, int bits)
{
    std::size_t entries = std::size_t(1) << bits;
    for (std::size_t i = 0; i < entries; ++i) {
        Colour c = i < colours.size() ? colours[i] : Colour();
        out.push_back(c.blue);
        out.push_back(c.green);
        out.push_back(c.red);
        out.push_back(0);
    }
}

void putPixelRows(Bytes& out, const Picture& p, int bits)
{
    std::uint32_t stride = rowStride(p.width, bits);
    for (int y = p.height - 1; y >= 0; --y) {
        std::size_t rowStart = out.size();
        const std::uint8_t* row = &p.index[std::size_t(y) * std::size_t(p.width)];
        for (int x = 0; x < p.width; ++x) {
            if (bits == 8) {
                out.push_back(row[x]);
            } else if (x % 2 == 0) {
                out.push_back(std::uint8_t(row[x] << 4));
            } else {
                out.back() = std::uint8_t(out.back() | (row[x] & 0x0F));
            }
        }
        out.resize(rowStart + stride, 0);
    }
}

// Run-length encoded rows, bottom up, in encoded mode only: each run of one
// colour becomes (count, colour byte), each row ends with 0 0 and the
// picture with 0 1. Pixel art has long runs, so this is compact enough.
void putRleRows(Bytes& out, const Picture& p, int bits)
{
    for (int y = p.height - 1; y >= 0; --y) {
        const std::uint8_t* row = &p.index[std::size_t(y) * std::size_t(p.width)];
        for (int x = 0; x < p.width;) {
            int run = 1;
            while (x + run < p.width && run < 255 && row[x + run] == row[x])
                ++run;
            out.push_back(std::uint8_t(run));
            out.push_back(bits == 8 ? row[x] : std::uint8_t((row[x] << 4) | (row[x] & 0x0F)));
            x += run;
        }
        out.push_back(0);
        out.push_back(0);
    }
    out.back() = 1;  // the last row's end is the picture's end
}

void putMaskRows(Bytes& out, const Frame& f, const std::vector<Colour>& palette)
{
    std::uint32_t stride = rowStride(f.width, 1);
    for (int y = f.height - 1; y >= 0; --y) {
        std::size_t rowStart = out.size();
        out.resize(rowStart + stride, 0);
        for (int x = 0; x < f.width; ++x) {
            if (palette[f.pixels[std::size_t(y) * std::size_t(f.width) + std::size_t(x)]].transparent)
                out[rowStart + std::size_t(x / 8)] |= std::uint8_t(0x80 >> (x % 8));
        }
    }
}

bool refuseTransparent(const PixelArt& art, const char* format, std::string& error)
{
    for (const Colour& c : art.palette) {
        if (c.transparent) {
            error = std::string("colour '") + c.key + "' is transparent; " + format +
                    " files have no mask (only icons do)";
            return true;
        }
    }
    return false;
}

bool sameSizeFrames(const PixelArt& art, std::string& error)
{
    if (art.frames.empty()) {
        error = "no frame";
        return false;
    }
    for (std::size_t i = 1; i < art.frames.size(); ++i) {
        if (art.frames[i].width != art.frames[0].width ||
            art.frames[i].height != art.frames[0].height) {
            error = "frame " + std::to_string(i) + " is " + std::to_string(art.frames[i].width) +
                    "x" + std::to_string(art.frames[i].height) + ", frame 0 is " +
                    std::to_string(art.frames[0].width) + "x" +
                    std::to_string(art.frames[0].height) + "; all frames must have one size";
            return false;
        }
    }
    return true;
}

bool paletteFits(const std::vector<Colour>& colours, int bits, std::string& error)
{
    if (bits != 4 && bits != 8) {
        error = "bits must be 4 or 8";
        return false;
    }
    if (colours.size() > (std::size_t(1) << bits)) {
        error = std::to_string(colours.size()) + " colours do not fit in " +
                std::to_string(bits) + " bits";
        return false;
    }
    return true;
}

} // namespace

bool writeBmp(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error)
{
    file.clear();
    if (art.fps != 0) {
        error = "'fps' is only for AVI files";
        return false;
    }
    if (refuseTransparent(art, "BMP", error) || !sameSizeFrames(art, error) ||
        !paletteFits(art.palette, art.bits, error))
        return false;
    if (art.scale < 1 || art.scale > maxScale) {
        error = "scale out of range";
        return false;
    }
    const Frame& first = art.frames[0];
    Picture p;
    p.width = first.width * int(art.frames.size()) * art.scale;
    p.height = first.height * art.scale;
    if (std::size_t(p.width) * std::size_t(p.height) > maxPixels) {
        error = "picture of " + std::to_string(p.width) + "x" + std::to_string(p.height) +
                " pixels is too large";
        return false;
    }
    p.index.resize(std::size_t(p.width) * std::size_t(p.height));
    for (std::size_t n = 0; n < art.frames.size(); ++n) {
        const Frame& f = art.frames[n];
        for (int y = 0; y < p.height; ++y) {
            for (int x = 0; x < f.width * art.scale; ++x) {
                std::size_t px = n * std::size_t(f.width * art.scale) + std::size_t(x);
                p.index[std::size_t(y) * std::size_t(p.width) + px] =
                    f.pixels[std::size_t(y / art.scale) * std::size_t(f.width) +
                             std::size_t(x / art.scale)];
            }
        }
    }
    Bytes pixels;
    if (art.rle)
        putRleRows(pixels, p, art.bits);
    else
        putPixelRows(pixels, p, art.bits);
    const std::uint32_t imageSize = std::uint32_t(pixels.size());
    const std::uint32_t offset = 14 + 40 + (4u << art.bits);
    file.push_back('B');
    file.push_back('M');
    put32(file, offset + imageSize);
    put32(file, 0);
    put32(file, offset);
    putInfoHeader(file, p.width, p.height, art.bits, imageSize, 0,
                  art.rle ? (art.bits == 8 ? 1u : 2u) : 0u);
    putColourTable(file, art.palette, art.bits);
    file.insert(file.end(), pixels.begin(), pixels.end());
    return true;
}

bool writeIco(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error)
{
    file.clear();
    if (art.fps != 0 || art.scale != 1 || art.rle) {
        error = "'fps', 'scale' and 'rle' are not for icons";
        return false;
    }
    if (art.frames.empty()) {
        error = "no frame";
        return false;
    }
    // Opaque colours keep their order; transparent pixels take a black entry,
    // so that screen AND mask XOR black leaves the screen as it was.
    std::vector<Colour> colours;
    std::vector<std::uint8_t> fileIndex(art.palette.size(), 0);
    for (std::size_t i = 0; i < art.palette.size(); ++i) {
        if (!art.palette[i].transparent) {
            fileIndex[i] = std::uint8_t(colours.size());
            colours.push_back(art.palette[i]);
        }
    }
    int black = -1;
    for (std::size_t i = 0; i < colours.size() && black < 0; ++i) {
        if (colours[i].red == 0 && colours[i].green == 0 && colours[i].blue == 0)
            black = int(i);
    }
    bool anyTransparent = colours.size() != art.palette.size();
    if (anyTransparent && black < 0) {
        black = int(colours.size());
        colours.push_back(Colour());
    }
    for (std::size_t i = 0; i < art.palette.size(); ++i) {
        if (art.palette[i].transparent)
            fileIndex[i] = std::uint8_t(black);
    }
    if (!paletteFits(colours, art.bits, error)) {
        if (anyTransparent)
            error += " (one of them is the black under the transparent pixels)";
        return false;
    }
    for (std::size_t n = 0; n < art.frames.size(); ++n) {
        const Frame& f = art.frames[n];
        if (f.width != f.height || f.width < 16 || f.width > 256) {
            error = "frame " + std::to_string(n) + " is " + std::to_string(f.width) + "x" +
                    std::to_string(f.height) + "; icon images are square, 16 to 256 pixels";
            return false;
        }
        for (std::size_t m = 0; m < n; ++m) {
            if (art.frames[m].width == f.width) {
                error = "frames " + std::to_string(m) + " and " + std::to_string(n) +
                        " have the same size " + std::to_string(f.width);
                return false;
            }
        }
    }

    std::size_t count = art.frames.size();
    put16(file, 0);
    put16(file, 1); // icon, not cursor
    put16(file, unsigned(count));
    std::uint32_t offset = std::uint32_t(6 + 16 * count);
    for (const Frame& f : art.frames) {
        std::uint32_t size = 40 + (4u << art.bits) +
                             (rowStride(f.width, art.bits) + rowStride(f.width, 1)) *
                                 std::uint32_t(f.height);
        file.push_back(std::uint8_t(f.width == 256 ? 0 : f.width));
        file.push_back(std::uint8_t(f.height == 256 ? 0 : f.height));
        file.push_back(std::uint8_t(art.bits == 4 ? 16 : 0));
        file.push_back(0);
        put16(file, 1);
        put16(file, unsigned(art.bits));
        put32(file, size);
        put32(file, offset);
        offset += size;
    }
    for (const Frame& f : art.frames) {
        Picture p;
        p.width = f.width;
        p.height = f.height;
        for (std::uint8_t px : f.pixels)
            p.index.push_back(fileIndex[px]);
        std::uint32_t xorSize = rowStride(f.width, art.bits) * std::uint32_t(f.height);
        std::uint32_t andSize = rowStride(f.width, 1) * std::uint32_t(f.height);
        // The height counts both the colour part and the mask.
        putInfoHeader(file, f.width, 2 * f.height, art.bits, xorSize + andSize, 0);
        putColourTable(file, colours, art.bits);
        putPixelRows(file, p, art.bits);
        putMaskRows(file, f, art.palette);
    }
    return true;
}

bool writeAvi(const PixelArt& art, std::vector<std::uint8_t>& file, std::string& error)
{
    file.clear();
    if (art.bits != 8) {
        error = "AVI frames are uncompressed 8-bit: 'bits 8' is required";
        return false;
    }
    if (art.fps == 0) {
        error = "an AVI needs 'fps'";
        return false;
    }
    if (art.scale != 1 || art.rle) {
        error = "'scale' and 'rle' are only for BMP files";
        return false;
    }
    if (refuseTransparent(art, "AVI", error) || !sameSizeFrames(art, error) ||
        !paletteFits(art.palette, art.bits, error))
        return false;
    const int width = art.frames[0].width, height = art.frames[0].height;
    const std::uint32_t frameBytes = rowStride(width, 8) * std::uint32_t(height);
    const std::uint32_t count = std::uint32_t(art.frames.size());
    const std::uint32_t fps = std::uint32_t(art.fps);

    file.push_back('R'); file.push_back('I'); file.push_back('F'); file.push_back('F');
    std::size_t riffSize = file.size();
    put32(file, 0);
    putFourCc(file, "AVI ");

    putFourCc(file, "LIST");
    std::size_t hdrlSize = file.size();
    put32(file, 0);
    putFourCc(file, "hdrl");

    putFourCc(file, "avih");
    put32(file, 56);
    put32(file, 1000000u / fps); // microseconds per frame
    put32(file, frameBytes * fps);
    put32(file, 0);
    put32(file, 0x10); // AVIF_HASINDEX
    put32(file, count);
    put32(file, 0);
    put32(file, 1); // streams
    put32(file, frameBytes);
    put32(file, std::uint32_t(width));
    put32(file, std::uint32_t(height));
    for (int i = 0; i < 4; ++i)
        put32(file, 0);

    putFourCc(file, "LIST");
    std::size_t strlSize = file.size();
    put32(file, 0);
    putFourCc(file, "strl");

    putFourCc(file, "strh");
    put32(file, 56);
    putFourCc(file, "vids");
    putFourCc(file, "DIB ");
    put32(file, 0); // flags
    put16(file, 0); // priority
    put16(file, 0); // language
    put32(file, 0); // initial frames
    put32(file, 1); // scale
    put32(file, fps); // rate: rate / scale = frames per second
    put32(file, 0); // start
    put32(file, count);
    put32(file, frameBytes);
    put32(file, 0xFFFFFFFFu); // default quality
    put32(file, 0); // sample size: varies per chunk
    put16(file, 0);
    put16(file, 0);
    put16(file, unsigned(width));
    put16(file, unsigned(height));

    putFourCc(file, "strf");
    put32(file, 40 + 4u * 256u);
    putInfoHeader(file, width, height, 8, frameBytes, 256);
    putColourTable(file, art.palette, 8);
    set32(file, strlSize, std::uint32_t(file.size() - strlSize - 4));
    set32(file, hdrlSize, std::uint32_t(file.size() - hdrlSize - 4));

    putFourCc(file, "LIST");
    std::size_t moviSize = file.size();
    put32(file, 0);
    std::size_t moviStart = file.size();
    putFourCc(file, "movi");
    std::vector<std::uint32_t> offsets;
    for (const Frame& f : art.frames) {
        offsets.push_back(std::uint32_t(file.size() - moviStart));
        putFourCc(file, "00db");
        put32(file, frameBytes);
        Picture p;
        p.width = f.width;
        p.height = f.height;
        p.index = f.pixels;
        putPixelRows(file, p, 8);
    }
    set32(file, moviSize, std::uint32_t(file.size() - moviSize - 4));

    // Offsets count from the "movi" code, as the readers expect.
    putFourCc(file, "idx1");
    put32(file, 16u * count);
    for (std::uint32_t offset : offsets) {
        putFourCc(file, "00db");
        put32(file, 0x10); // AVIIF_KEYFRAME
        put32(file, offset);
        put32(file, frameBytes);
    }
    set32(file, riffSize, std::uint32_t(file.size() - 8));
    return true;
}

} // namespace imagegen
