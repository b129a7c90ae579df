// imagegen: the source reader's refusals and the exact layout of the BMP, ICO
// and AVI files that windres and the Windows loaders read.
#include "tools/imagegen/pixel_art.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using imagegen::PixelArt;
using Bytes = std::vector<std::uint8_t>;

namespace {

std::uint32_t le16(const Bytes& b, std::size_t at)
{
    return std::uint32_t(b.at(at)) | std::uint32_t(b.at(at + 1)) << 8;
}

std::uint32_t le32(const Bytes& b, std::size_t at)
{
    return le16(b, at) | le16(b, at + 2) << 16;
}

std::string fourCc(const Bytes& b, std::size_t at)
{
    return std::string(reinterpret_cast<const char*>(&b.at(at)), 4);
}

PixelArt parsed(const std::string& text)
{
    PixelArt art;
    std::string error;
    EXPECT_TRUE(imagegen::parsePixelArt(text, "t.txt", art, error)) << error;
    return art;
}

const char* const twoFrames4Bit =
    "# two frames of 3x2\n"
    "bits 4\n"
    "colour . 192 192 192 background\n"
    "colour k 0 0 0\n"
    "colour r 255 0 0 red\n"
    "frame 0 3x2 first\n"
    ".kr\n"
    "rk.\n"
    "frame 1 3x2\n"
    "kkk\n"
    "...\n";

} // namespace

TEST(ImagegenParse, ReadsPaletteFramesAndLabels)
{
    PixelArt art = parsed(twoFrames4Bit);
    ASSERT_EQ(art.palette.size(), 3u);
    EXPECT_EQ(art.palette[2].key, 'r');
    EXPECT_EQ(art.palette[2].red, 255);
    EXPECT_EQ(art.palette[2].green, 0);
    EXPECT_EQ(art.palette[0].blue, 192);
    EXPECT_EQ(art.bits, 4);
    ASSERT_EQ(art.frames.size(), 2u);
    EXPECT_EQ(art.frames[0].label, "first");
    EXPECT_EQ(art.frames[1].label, "");
    EXPECT_EQ(art.frames[0].pixels, (std::vector<std::uint8_t>{0, 1, 2, 2, 1, 0}));
    EXPECT_EQ(art.frames[1].pixels, (std::vector<std::uint8_t>{1, 1, 1, 0, 0, 0}));
}

TEST(ImagegenParse, CrLfLinesAndHashPixelsInsideFrames)
{
    // '#' is a legal key: inside a frame a row is never a comment.
    PixelArt art = parsed("bits 8\r\nfps 5\r\ncolour # 1 2 3\r\ncolour _ none\r\n"
                          "frame 0 2x2 a b  c\r\n#_\r\n_#\r\n");
    ASSERT_EQ(art.frames.size(), 1u);
    EXPECT_EQ(art.frames[0].label, "a b c");
    EXPECT_EQ(art.frames[0].pixels, (std::vector<std::uint8_t>{0, 1, 1, 0}));
    EXPECT_TRUE(art.palette[1].transparent);
    EXPECT_EQ(art.fps, 5);
}

TEST(ImagegenParse, RefusesMalformedSourcesNamingTheLine)
{
    struct Case {
        const char* text;
        const char* message; // expected part of the error
    };
    const std::string head = "bits 4\ncolour . 0 0 0\n";
    const Case cases[] = {
        {"colour . 0 0 0\nframe 0 1x1\n.\n", "no 'bits' line"},
        {"bits 4\ncolour . 0 0 0\n", "t.txt:2: no frame"},
        {"bits 5\ncolour . 0 0 0\nframe 0 1x1\n.\n", "t.txt:1: bits must be 4 or 8"},
        {"bits 4\nbits 4\n", "t.txt:2: 'bits' is given twice"},
        {"bits -4\n", "'bits' needs one number from 4 to 8"},
        {"bits 4\nscale 0\n", "'scale' needs one number from 1 to 16"},
        {"bits 4\nfps 5 6\n", "'fps' needs one number"},
        {"bits 4\npalette\n", "t.txt:2: unknown statement 'palette'"},
        {"bits 4\ncolour . 0 0\n", "colour '.' needs red, green and blue"},
        {"bits 4\ncolour . 0 0 256\n", "from 0 to 255"},
        {"bits 4\ncolour . 0 x 0\n", "colour '.' needs red"},
        {"bits 4\ncolour ab 0 0 0\n", "one-character key"},
        {"bits 4\ncolour . 0 0 0\ncolour . 1 1 1\n", "t.txt:3: colour '.' is defined twice"},
        {"bits 4\nframe 0 1x1\n.\n", "frame before any colour"},
        {"bits 4\ncolour . 0 0 0\nframe 1 1x1\n.\n", "frame 1 out of order, expected frame 0"},
        {"bits 4\ncolour . 0 0 0\nframe 0 1*1\n.\n", "expected 'frame N WxH [label]'"},
        {"bits 4\ncolour . 0 0 0\nframe 0 0x1\n", "expected 'frame N WxH"},
        {"bits 4\ncolour . 0 0 0\nframe 0 2000x1\n", "sizes from 1 to 1024"},
        {"bits 4\ncolour . 0 0 0\nframe 0 3x2\n...\n..\n",
         "t.txt:5: row 1 of frame 0 has 2 pixels, expected 3"},
        {"bits 4\ncolour . 0 0 0\nframe 0 3x1\n... \n", "has 4 pixels, expected 3"},
        {"bits 4\ncolour . 0 0 0\nframe 0 3x3\n...\n", "frame 0 has 1 rows, expected 3"},
        {"bits 4\ncolour . 0 0 0\nframe 0 2x1\n.x\n",
         "t.txt:4: unknown colour 'x' at column 1 of frame 0"},
        {"bits 4\ncolour . 0 0 0\nframe 0 1x1\n.\ncolour k 1 1 1\n",
         "colours must come before the first frame"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        PixelArt art;
        std::string error;
        EXPECT_FALSE(imagegen::parsePixelArt(c.text, "t.txt", art, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }

    // Seventeen colours in four bits.
    std::string many = "bits 4\n";
    const char keys[] = "abcdefghijklmnopq";
    for (int i = 0; i < 17; ++i)
        many += std::string("colour ") + keys[i] + " " + std::to_string(i) + " 0 0\n";
    many += "frame 0 1x1\na\n";
    PixelArt art;
    std::string error;
    EXPECT_FALSE(imagegen::parsePixelArt(many, "t.txt", art, error));
    EXPECT_NE(error.find("17 colours do not fit in 4 bits"), std::string::npos) << error;
}

TEST(ImagegenBmp, StripOfFourBitFramesBottomUpWithPaddedRows)
{
    Bytes file;
    std::string error;
    ASSERT_TRUE(imagegen::writeBmp(parsed(twoFrames4Bit), file, error)) << error;

    const std::size_t offBits = 14 + 40 + 16 * 4;
    const std::size_t stride = 4; // 6 pixels of 4 bits = 3 bytes, padded to 4
    ASSERT_EQ(file.size(), offBits + stride * 2);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(le32(file, 2), file.size());
    EXPECT_EQ(le32(file, 10), offBits);
    EXPECT_EQ(le32(file, 14), 40u);
    EXPECT_EQ(le32(file, 18), 6u); // two 3-pixel frames side by side
    EXPECT_EQ(le32(file, 22), 2u);
    EXPECT_EQ(le16(file, 26), 1u);
    EXPECT_EQ(le16(file, 28), 4u);
    EXPECT_EQ(le32(file, 30), 0u);
    EXPECT_EQ(le32(file, 34), stride * 2);
    // Colour table entries are blue, green, red, 0; unused ones are zero.
    EXPECT_EQ(le32(file, 54), 0x00C0C0C0u);
    EXPECT_EQ(le32(file, 54 + 2 * 4), 0x00FF0000u);
    EXPECT_EQ(le32(file, 54 + 15 * 4), 0u);
    // Bottom row first: frame 0 "rk." then frame 1 "...": 2 1 0 0 0 0.
    const Bytes bottom(file.begin() + long(offBits), file.begin() + long(offBits + stride));
    EXPECT_EQ(bottom, (Bytes{0x21, 0x00, 0x00, 0x00}));
    // Top row: ".kr" then "kkk": 0 1 2 1 1 1.
    const Bytes top(file.begin() + long(offBits + stride), file.end());
    EXPECT_EQ(top, (Bytes{0x01, 0x21, 0x11, 0x00}));
}

TEST(ImagegenBmp, RunLengthEncodedRowsInEncodedModeOnly)
{
    Bytes file;
    std::string error;
    ASSERT_TRUE(imagegen::writeBmp(parsed(std::string(twoFrames4Bit) + "rle\n"), file, error)) << error;
    const std::size_t offBits = 14 + 40 + 16 * 4;
    EXPECT_EQ(le32(file, 30), 2u);  // BI_RLE4
    EXPECT_EQ(le32(file, 34), file.size() - offBits);
    // Bottom row 2 1 0 0 0 0: runs (1,2) (1,1) (4,0), end of row; top row
    // 0 1 2 1 1 1: runs (1,0) (1,1) (1,2) (3,1), end of picture.
    const Bytes pixels(file.begin() + long(offBits), file.end());
    EXPECT_EQ(pixels, (Bytes{1, 0x22, 1, 0x11, 4, 0x00, 0, 0, 1, 0x00, 1, 0x11, 1, 0x22, 3, 0x11, 0, 1}));

    // Runs never pass 255 pixels.
    std::string wide = "bits 8\nrle\ncolour . 1 2 3\nframe 0 300x1\n" + std::string(300, '.') + "\n";
    ASSERT_TRUE(imagegen::writeBmp(parsed(wide), file, error)) << error;
    EXPECT_EQ(le32(file, 30), 1u);  // BI_RLE8
    const Bytes run(file.begin() + long(14 + 40 + 256 * 4), file.end());
    EXPECT_EQ(run, (Bytes{255, 0, 45, 0, 0, 1}));
}

TEST(ImagegenBmp, EightBitScaledPicture)
{
    PixelArt art = parsed("bits 8\nscale 2\ncolour a 1 2 3\ncolour b 4 5 6\n"
                          "frame 0 3x1\naba\n");
    Bytes file;
    std::string error;
    ASSERT_TRUE(imagegen::writeBmp(art, file, error)) << error;
    const std::size_t offBits = 14 + 40 + 256 * 4;
    EXPECT_EQ(le32(file, 10), offBits);
    EXPECT_EQ(le32(file, 18), 6u);
    EXPECT_EQ(le32(file, 22), 2u);
    EXPECT_EQ(le16(file, 28), 8u);
    EXPECT_EQ(le32(file, 54 + 4), 0x00040506u);
    const Bytes row{0, 0, 1, 1, 0, 0, 0, 0}; // 6 pixels padded to 8 bytes
    ASSERT_EQ(file.size(), offBits + 2 * row.size());
    EXPECT_EQ(Bytes(file.begin() + long(offBits), file.begin() + long(offBits + 8)), row);
    EXPECT_EQ(Bytes(file.begin() + long(offBits + 8), file.end()), row);
}

TEST(ImagegenBmp, RefusesWhatABitmapCannotHold)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"bits 4\ncolour _ none\nframe 0 1x1\n_\n", "colour '_' is transparent"},
        {"bits 4\ncolour a 0 0 0\nframe 0 1x1\na\nframe 1 2x1\naa\n",
         "frame 1 is 2x1, frame 0 is 1x1"},
        {"bits 4\nfps 5\ncolour a 0 0 0\nframe 0 1x1\na\n", "'fps' is only for AVI"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes file;
        std::string error;
        EXPECT_FALSE(imagegen::writeBmp(parsed(c.text), file, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
        EXPECT_TRUE(file.empty());
    }
}

TEST(ImagegenIco, DirectoryImagesAndMasks)
{
    // No black in the palette: the writer appends one for the masked pixels.
    std::string text = "bits 4\ncolour _ none\ncolour w 255 255 255\ncolour r 255 0 0\n";
    text += "frame 0 32x32 big\n";
    for (int y = 0; y < 32; ++y)
        text += std::string(32, y == 0 ? 'r' : 'w') + "\n";
    text += "frame 1 16x16 small\n";
    for (int y = 0; y < 16; ++y)
        text += (y == 15 ? std::string("_w") : std::string("w_")) + std::string(14, 'w') + "\n";
    Bytes file;
    std::string error;
    ASSERT_TRUE(imagegen::writeIco(parsed(text), file, error)) << error;

    EXPECT_EQ(le16(file, 0), 0u);
    EXPECT_EQ(le16(file, 2), 1u);
    ASSERT_EQ(le16(file, 4), 2u);
    const std::size_t sizes[2] = {32, 16};
    std::size_t expectedOffset = 6 + 2 * 16;
    for (int n = 0; n < 2; ++n) {
        SCOPED_TRACE(n);
        const std::size_t entry = 6 + 16 * std::size_t(n), side = sizes[n];
        const std::size_t xorStride = side / 2, andStride = 4;
        const std::size_t bytes = 40 + 64 + (xorStride + andStride) * side;
        EXPECT_EQ(file[entry], side);
        EXPECT_EQ(file[entry + 1], side);
        EXPECT_EQ(file[entry + 2], 16u);
        EXPECT_EQ(file[entry + 3], 0u);
        EXPECT_EQ(le16(file, entry + 4), 1u);
        EXPECT_EQ(le16(file, entry + 6), 4u);
        EXPECT_EQ(le32(file, entry + 8), bytes);
        EXPECT_EQ(le32(file, entry + 12), expectedOffset);
        const std::size_t image = expectedOffset;
        EXPECT_EQ(le32(file, image), 40u);
        EXPECT_EQ(le32(file, image + 4), side);
        EXPECT_EQ(le32(file, image + 8), 2 * side); // colour part and mask
        EXPECT_EQ(le32(file, image + 20), bytes - 40 - 64);
        EXPECT_EQ(le32(file, image + 40 + 2 * 4), 0u); // appended black
        expectedOffset += bytes;
    }
    EXPECT_EQ(file.size(), expectedOffset);

    // 32x32: the top row (stored last) is red, index 1; no mask bit anywhere.
    const std::size_t big = 6 + 32, bigXor = big + 40 + 64;
    EXPECT_EQ(file[bigXor + 31 * 16], 0x11);
    EXPECT_EQ(file[bigXor], 0x00);
    for (std::size_t i = bigXor + 32 * 16; i < bigXor + 32 * 16 + 32 * 4; ++i)
        ASSERT_EQ(file[i], 0u) << i;

    // 16x16: transparent at column 1 of rows 0..14, column 0 of row 15;
    // the colour part holds black (index 2) there.
    const std::size_t small = big + 40 + 64 + 32 * 16 + 32 * 4;
    const std::size_t smallXor = small + 40 + 64, smallAnd = smallXor + 16 * 8;
    EXPECT_EQ(file[smallXor], 0x20);           // bottom row: "_w"
    EXPECT_EQ(file[smallXor + 15 * 8], 0x02);  // top row: "w_"
    EXPECT_EQ(Bytes(file.begin() + long(smallAnd), file.begin() + long(smallAnd + 4)),
              (Bytes{0x80, 0, 0, 0}));
    EXPECT_EQ(Bytes(file.begin() + long(smallAnd + 15 * 4), file.begin() + long(smallAnd + 16 * 4)),
              (Bytes{0x40, 0, 0, 0}));
}

TEST(ImagegenIco, RefusesBadIconShapes)
{
    auto frame = [](int n, int w, int h, char key) {
        std::string text = "frame " + std::to_string(n) + " " + std::to_string(w) + "x" +
                           std::to_string(h) + "\n";
        for (int y = 0; y < h; ++y)
            text += std::string(std::size_t(w), key) + "\n";
        return text;
    };
    std::string sixteenColours = "bits 4\ncolour _ none\n";
    for (int i = 1; i <= 16; ++i)
        sixteenColours += "colour " + std::string(1, char('a' + i)) + " " + std::to_string(i) +
                          " 1 1\n";
    const std::string black = "bits 4\ncolour a 0 0 0\n";
    const struct {
        std::string text;
        const char* message;
    } cases[] = {
        {black + frame(0, 16, 15, 'a'), "frame 0 is 16x15; icon images are square"},
        {black + frame(0, 8, 8, 'a'), "frame 0 is 8x8; icon images are square, 16 to 256"},
        {black + frame(0, 16, 16, 'a') + frame(1, 16, 16, 'a'),
         "frames 0 and 1 have the same size 16"},
        {sixteenColours + frame(0, 16, 16, '_'),
         "17 colours do not fit in 4 bits (one of them is the black"},
        {"bits 4\nscale 2\ncolour a 0 0 0\n" + frame(0, 16, 16, 'a'), "not for icons"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 60));
        Bytes file;
        std::string error;
        EXPECT_FALSE(imagegen::writeIco(parsed(c.text), file, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

TEST(ImagegenAvi, ChunksHeadersFramesAndIndex)
{
    std::string text = "bits 8\nfps 5\ncolour . 192 192 192\ncolour k 0 0 0\n";
    for (int n = 0; n < 3; ++n) {
        text += "frame " + std::to_string(n) + " 5x2\n";
        text += std::string(5, '.') + "\n" + std::string(std::size_t(n), 'k') +
                std::string(std::size_t(5 - n), '.') + "\n";
    }
    Bytes file;
    std::string error;
    ASSERT_TRUE(imagegen::writeAvi(parsed(text), file, error)) << error;

    ASSERT_EQ(fourCc(file, 0), "RIFF");
    EXPECT_EQ(le32(file, 4), file.size() - 8);
    EXPECT_EQ(fourCc(file, 8), "AVI ");
    ASSERT_EQ(fourCc(file, 12), "LIST");
    const std::size_t hdrlEnd = 20 + le32(file, 16);
    EXPECT_EQ(fourCc(file, 20), "hdrl");
    ASSERT_EQ(fourCc(file, 24), "avih");
    EXPECT_EQ(le32(file, 28), 56u);
    const std::size_t avih = 32, frameBytes = 8 * 2; // rows of 5 padded to 8
    EXPECT_EQ(le32(file, avih), 200000u);
    EXPECT_EQ(le32(file, avih + 12) & 0x10, 0x10u);
    EXPECT_EQ(le32(file, avih + 16), 3u);
    EXPECT_EQ(le32(file, avih + 24), 1u);
    EXPECT_EQ(le32(file, avih + 32), 5u);
    EXPECT_EQ(le32(file, avih + 36), 2u);
    const std::size_t strl = avih + 56;
    ASSERT_EQ(fourCc(file, strl), "LIST");
    EXPECT_EQ(strl + 8 + le32(file, strl + 4), hdrlEnd);
    EXPECT_EQ(fourCc(file, strl + 8), "strl");
    ASSERT_EQ(fourCc(file, strl + 12), "strh");
    const std::size_t strh = strl + 20;
    EXPECT_EQ(fourCc(file, strh), "vids");
    EXPECT_EQ(le32(file, strh + 20), 1u); // scale
    EXPECT_EQ(le32(file, strh + 24), 5u); // rate
    EXPECT_EQ(le32(file, strh + 32), 3u); // length
    const std::size_t strf = strh + 56;
    ASSERT_EQ(fourCc(file, strf), "strf");
    EXPECT_EQ(le32(file, strf + 4), 40u + 1024u);
    EXPECT_EQ(le32(file, strf + 8 + 4), 5u);
    EXPECT_EQ(le32(file, strf + 8 + 8), 2u);
    EXPECT_EQ(le16(file, strf + 8 + 14), 8u);
    EXPECT_EQ(le32(file, strf + 8 + 32), 256u);
    EXPECT_EQ(le32(file, strf + 8 + 40), 0x00C0C0C0u);
    EXPECT_EQ(strf + 8 + 40 + 1024, hdrlEnd);

    ASSERT_EQ(fourCc(file, hdrlEnd), "LIST");
    const std::size_t movi = hdrlEnd + 8, moviEnd = movi + le32(file, hdrlEnd + 4);
    EXPECT_EQ(fourCc(file, movi), "movi");
    EXPECT_EQ(moviEnd, movi + 4 + 3 * (8 + frameBytes));
    ASSERT_EQ(fourCc(file, moviEnd), "idx1");
    ASSERT_EQ(le32(file, moviEnd + 4), 3u * 16u);
    EXPECT_EQ(moviEnd + 8 + 48, file.size());
    for (std::size_t n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        const std::size_t entry = moviEnd + 8 + 16 * n;
        EXPECT_EQ(fourCc(file, entry), "00db");
        EXPECT_EQ(le32(file, entry + 4), 0x10u);
        const std::size_t chunk = movi + le32(file, entry + 8);
        ASSERT_EQ(fourCc(file, chunk), "00db");
        EXPECT_EQ(le32(file, chunk + 4), frameBytes);
        EXPECT_EQ(le32(file, entry + 12), frameBytes);
        // Bottom row first: n black pixels, then the top row of background.
        for (std::size_t x = 0; x < 5; ++x)
            EXPECT_EQ(file[chunk + 8 + x], x < n ? 1 : 0) << x;
        EXPECT_EQ(file[chunk + 8 + 8], 0);
    }
}

TEST(ImagegenAvi, RefusesWhatTheAnimationControlCannotPlay)
{
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"bits 4\nfps 5\ncolour a 0 0 0\nframe 0 1x1\na\n", "'bits 8' is required"},
        {"bits 8\ncolour a 0 0 0\nframe 0 1x1\na\n", "an AVI needs 'fps'"},
        {"bits 8\nfps 5\ncolour _ none\nframe 0 1x1\n_\n", "is transparent"},
        {"bits 8\nfps 5\ncolour a 0 0 0\nframe 0 1x1\na\nframe 1 1x2\na\na\n",
         "all frames must have one size"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Bytes file;
        std::string error;
        EXPECT_FALSE(imagegen::writeAvi(parsed(c.text), file, error));
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}
