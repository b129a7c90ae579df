// The pixel-art sources that ship: each one must turn into the file its
// resource expects (sizes, depth, frame count), and the strip must keep the
// transparent grey for its background only.
#include "tools/imagegen/pixel_art.h"

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

enum class Kind { Bmp, Ico, Avi };

struct Shipped {
    const char* source;
    Kind kind;
    int bits;
    std::vector<std::pair<int, int>> frameSizes; // one entry per frame
};

std::vector<std::pair<int, int>> repeated(int count, int width, int height)
{
    return std::vector<std::pair<int, int>>(std::size_t(count), {width, height});
}

const std::vector<std::pair<int, int>> iconSizes{{32, 32}, {16, 16}};

bool load(const std::string& name, imagegen::PixelArt& art, std::string& error)
{
    std::ifstream in(std::string(QUORVEL_SOURCE_DIR) + "/app/resources/images/" + name,
                     std::ios::binary);
    if (!in) {
        error = name + " is missing";
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return imagegen::parsePixelArt(text.str(), name, art, error);
}

bool isStripGrey(const imagegen::Colour& c)
{
    return !c.transparent && c.red == 192 && c.green == 192 && c.blue == 192;
}

} // namespace

TEST(ShippedImages, EverySourceMakesItsFile)
{
    const Shipped images[] = {
        {"toolbar.txt", Kind::Bmp, 8, repeated(26, 16, 15)},
        {"quorvel.txt", Kind::Ico, 4, iconSizes},
        {"open.txt", Kind::Ico, 4, iconSizes},
        {"save.txt", Kind::Ico, 4, iconSizes},
        {"print.txt", Kind::Ico, 4, iconSizes},
        {"search.txt", Kind::Ico, 4, iconSizes},
        {"copy.txt", Kind::Ico, 4, iconSizes},
        {"help.txt", Kind::Ico, 4, iconSizes},
        {"splash.txt", Kind::Bmp, 4, repeated(1, 320, 240)},
        {"ant.txt", Kind::Bmp, 4, repeated(1, 43, 32)},
        {"setup.txt", Kind::Ico, 4, iconSizes},
        {"remove.txt", Kind::Ico, 4, iconSizes},
        {"download.txt", Kind::Avi, 8, repeated(8, 16, 20)},
    };
    for (const Shipped& image : images) {
        SCOPED_TRACE(image.source);
        imagegen::PixelArt art;
        std::string error;
        ASSERT_TRUE(load(image.source, art, error)) << error;
        EXPECT_EQ(art.bits, image.bits);
        ASSERT_EQ(art.frames.size(), image.frameSizes.size());
        for (std::size_t n = 0; n < art.frames.size(); ++n) {
            EXPECT_EQ(art.frames[n].width, image.frameSizes[n].first) << n;
            EXPECT_EQ(art.frames[n].height, image.frameSizes[n].second) << n;
        }
        std::vector<std::uint8_t> file;
        bool written = image.kind == Kind::Bmp   ? imagegen::writeBmp(art, file, error)
                       : image.kind == Kind::Ico ? imagegen::writeIco(art, file, error)
                                                 : imagegen::writeAvi(art, file, error);
        EXPECT_TRUE(written) << error;

        // No frame may be blank or a copy of another one.
        std::set<std::vector<std::uint8_t>> seen;
        for (std::size_t n = 0; n < art.frames.size(); ++n) {
            const imagegen::Frame& f = art.frames[n];
            std::set<std::uint8_t> colours(f.pixels.begin(), f.pixels.end());
            EXPECT_GE(colours.size(), 3u) << "frame " << n << " is nearly blank";
            if (image.kind != Kind::Ico) {
                EXPECT_TRUE(seen.insert(f.pixels).second) << "frame " << n << " repeats";
            }
        }
        if (image.kind == Kind::Ico) {
            // The icons stand on any desktop: a corner at least is see-through.
            for (const imagegen::Frame& f : art.frames) {
                const std::size_t w = std::size_t(f.width), last = f.pixels.size() - 1;
                const std::size_t corners[] = {0, w - 1, last - (w - 1), last};
                bool seeThrough = false;
                for (std::size_t at : corners)
                    seeThrough = seeThrough || art.palette[f.pixels[at]].transparent;
                EXPECT_TRUE(seeThrough) << f.width << "x" << f.height;
            }
        }
    }
}

TEST(ShippedImages, SplashAntAndAnimationKeepTheirSettings)
{
    imagegen::PixelArt splash, ant, download;
    std::string error;
    ASSERT_TRUE(load("splash.txt", splash, error)) << error;
    ASSERT_TRUE(load("ant.txt", ant, error)) << error;
    ASSERT_TRUE(load("download.txt", download, error)) << error;
    // The splash window is 640x480 and paints the picture from its full size.
    EXPECT_EQ(splash.frames[0].width * splash.scale, 640);
    EXPECT_EQ(splash.frames[0].height * splash.scale, 480);
    // The calculator draws the ant on its cyan without a mask.
    const imagegen::Colour& corner = ant.palette[ant.frames[0].pixels[0]];
    EXPECT_EQ(corner.red, 0);
    EXPECT_EQ(corner.green, 255);
    EXPECT_EQ(corner.blue, 255);
    EXPECT_EQ(ant.scale, 1);
    // Five frames per second; the transparent animation takes each frame's
    // first pixel as its background, so all frames share it.
    EXPECT_EQ(download.fps, 5);
    for (const imagegen::Frame& f : download.frames)
        EXPECT_EQ(f.pixels[0], download.frames[0].pixels[0]);
}

TEST(ShippedImages, StripGreyIsTheBackgroundAndNothingElse)
{
    imagegen::PixelArt art;
    std::string error;
    ASSERT_TRUE(load("toolbar.txt", art, error)) << error;
    // The panel replaces the first pixel's colour entry by the window colour,
    // and the image list hides every RGB(192,192,192) pixel.
    ASSERT_FALSE(art.frames.empty());
    const std::uint8_t background = art.frames[0].pixels[0];
    EXPECT_TRUE(isStripGrey(art.palette[background]));
    for (std::size_t i = 0; i < art.palette.size(); ++i) {
        if (i != background) {
            EXPECT_FALSE(isStripGrey(art.palette[i])) << "colour " << art.palette[i].key;
        }
    }
    // Every image shows something and leaves a background around it.
    for (std::size_t n = 0; n < art.frames.size(); ++n) {
        std::size_t drawn = 0;
        for (std::uint8_t px : art.frames[n].pixels)
            drawn += px != background ? 1 : 0;
        EXPECT_GE(drawn, 30u) << "frame " << n;
        EXPECT_LT(drawn, art.frames[n].pixels.size()) << "frame " << n;
    }
}
