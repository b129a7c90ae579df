// imagegen SOURCE OUTPUT: turns one pixel-art source into the BMP, ICO or AVI
// file that the output's extension names. Nothing is written on a refusal,
// so a broken source cannot leave a half-made image for windres.
#include "tools/imagegen/pixel_art.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

std::string lowerExtension(const std::string& path)
{
    std::size_t dot = path.find_last_of('.');
    std::size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return std::string();
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) {
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    }
    return ext;
}

int refuse(const std::string& message)
{
    std::fprintf(stderr, "imagegen: %s\n", message.c_str());
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3)
        return refuse("usage: imagegen SOURCE OUTPUT.{bmp,ico,avi}");
    const std::string source = argv[1], output = argv[2];
    const std::string ext = lowerExtension(output);
    bool (*writer)(const imagegen::PixelArt&, std::vector<std::uint8_t>&, std::string&) = nullptr;
    if (ext == "bmp")
        writer = imagegen::writeBmp;
    else if (ext == "ico")
        writer = imagegen::writeIco;
    else if (ext == "avi")
        writer = imagegen::writeAvi;
    else
        return refuse(output + ": the output must end in .bmp, .ico or .avi");

    std::ifstream in(source, std::ios::binary);
    if (!in)
        return refuse(source + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad())
        return refuse(source + ": read error");

    imagegen::PixelArt art;
    std::string error;
    if (!imagegen::parsePixelArt(text.str(), source, art, error))
        return refuse(error);
    std::vector<std::uint8_t> bytes;
    if (!writer(art, bytes, error))
        return refuse(source + ": " + error);

    std::ofstream out(output, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) {
        std::remove(output.c_str());
        return refuse(output + ": cannot be written");
    }
    return 0;
}
