// Reader of the pixel-art sources: a palette legend, then frames drawn as
// rows of colour keys. Every mistake is refused with the line that holds it,
// so that a broken drawing stops the build instead of shipping garbage.
#include "tools/imagegen/pixel_art.h"

#include <cstddef>

namespace imagegen {
namespace {

std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    // A final newline does not open one more (empty) line.
    if (!lines.empty() && lines.back().empty() && !text.empty() && text.back() == '\n')
        lines.pop_back();
    return lines;
}

std::vector<std::string> splitWords(const std::string& line)
{
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t'))
            ++i;
        std::size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t')
            ++i;
        if (i > start)
            words.push_back(line.substr(start, i - start));
    }
    return words;
}

// Plain decimal digits only: no sign, no spaces, at most six digits.
bool parseNumber(const std::string& word, int low, int high, int& value)
{
    if (word.empty() || word.size() > 6)
        return false;
    int v = 0;
    for (char c : word) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
    }
    if (v < low || v > high)
        return false;
    value = v;
    return true;
}

bool parseSize(const std::string& word, int& width, int& height)
{
    std::size_t x = word.find('x');
    if (x == std::string::npos)
        return false;
    return parseNumber(word.substr(0, x), 1, maxFrameSide, width) &&
           parseNumber(word.substr(x + 1), 1, maxFrameSide, height);
}

// Words from index `from` on, joined by one blank: the free-text label.
std::string joinFrom(const std::vector<std::string>& words, std::size_t from)
{
    std::string text;
    for (std::size_t i = from; i < words.size(); ++i) {
        if (!text.empty())
            text += ' ';
        text += words[i];
    }
    return text;
}

std::string quoteKey(char key)
{
    return std::string("'") + key + "'";
}

class Parser {
public:
    Parser(const std::string& name, PixelArt& art, std::string& error)
        : name_(name), art_(art), error_(error) {}

    bool run(const std::vector<std::string>& lines);

private:
    bool fail(std::size_t line, const std::string& reason)
    {
        error_ = name_ + ":" + std::to_string(line + 1) + ": " + reason;
        return false;
    }
    bool statement(const std::vector<std::string>& lines, std::size_t& i);
    bool colour(std::size_t line, const std::vector<std::string>& words);
    bool frame(const std::vector<std::string>& lines, std::size_t& i,
               const std::vector<std::string>& words);
    bool setting(std::size_t line, const std::vector<std::string>& words, int low, int high,
                 int& field, bool& seen);

    const std::string& name_;
    PixelArt& art_;
    std::string& error_;
    bool bitsSeen_ = false, scaleSeen_ = false, fpsSeen_ = false;
    int keyIndex_[128];
};

bool Parser::run(const std::vector<std::string>& lines)
{
    for (int& k : keyIndex_)
        k = -1;
    art_ = PixelArt();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!statement(lines, i))
            return false;
    }
    std::size_t end = lines.empty() ? 0 : lines.size() - 1;
    if (!bitsSeen_)
        return fail(end, "no 'bits' line (4 or 8)");
    if (art_.frames.empty())
        return fail(end, "no frame");
    std::size_t opaque = 0;
    for (const Colour& c : art_.palette)
        opaque += c.transparent ? 0 : 1;
    if (opaque > (std::size_t(1) << art_.bits))
        return fail(end, std::to_string(opaque) + " colours do not fit in " +
                             std::to_string(art_.bits) + " bits");
    return true;
}

bool Parser::statement(const std::vector<std::string>& lines, std::size_t& i)
{
    std::vector<std::string> words = splitWords(lines[i]);
    if (words.empty() || words[0][0] == '#')
        return true;
    const std::string& keyword = words[0];
    if (keyword == "bits") {
        if (!setting(i, words, 4, 8, art_.bits, bitsSeen_))
            return false;
        if (art_.bits != 4 && art_.bits != 8)
            return fail(i, "bits must be 4 or 8");
        return true;
    }
    if (keyword == "scale")
        return setting(i, words, 1, maxScale, art_.scale, scaleSeen_);
    if (keyword == "fps")
        return setting(i, words, 1, maxFps, art_.fps, fpsSeen_);
    if (keyword == "rle") {
        if (words.size() != 1 || art_.rle)
            return fail(i, "'rle' stands alone, once");
        art_.rle = true;
        return true;
    }
    if (keyword == "colour")
        return colour(i, words);
    if (keyword == "frame")
        return frame(lines, i, words);
    return fail(i, "unknown statement '" + keyword + "'");
}

bool Parser::setting(std::size_t line, const std::vector<std::string>& words, int low, int high,
                     int& field, bool& seen)
{
    if (seen)
        return fail(line, "'" + words[0] + "' is given twice");
    if (words.size() != 2 || !parseNumber(words[1], low, high, field))
        return fail(line, "'" + words[0] + "' needs one number from " + std::to_string(low) +
                              " to " + std::to_string(high));
    seen = true;
    return true;
}

bool Parser::colour(std::size_t line, const std::vector<std::string>& words)
{
    if (!art_.frames.empty())
        return fail(line, "colours must come before the first frame");
    if (words.size() < 3 || words[1].size() != 1)
        return fail(line, "expected 'colour K R G B' or 'colour K none' with a one-character key");
    char key = words[1][0];
    if (key < '!' || key > '~')
        return fail(line, "colour key must be a printable character");
    if (keyIndex_[int(key)] >= 0)
        return fail(line, "colour " + quoteKey(key) + " is defined twice");
    if (art_.palette.size() >= 256)
        return fail(line, "more than 256 colours");
    Colour c;
    c.key = key;
    if (words[2] == "none") {
        c.transparent = true;
    } else {
        int rgb[3];
        for (int k = 0; k < 3; ++k) {
            if (words.size() < std::size_t(3 + k) ||
                !parseNumber(words[2 + k], 0, 255, rgb[k]))
                return fail(line, "colour " + quoteKey(key) +
                                      " needs red, green and blue from 0 to 255, or 'none'");
        }
        c.red = std::uint8_t(rgb[0]);
        c.green = std::uint8_t(rgb[1]);
        c.blue = std::uint8_t(rgb[2]);
    }
    keyIndex_[int(key)] = int(art_.palette.size());
    art_.palette.push_back(c);
    return true;
}

bool Parser::frame(const std::vector<std::string>& lines, std::size_t& i,
                   const std::vector<std::string>& words)
{
    std::size_t header = i;
    int number = 0;
    Frame f;
    if (words.size() < 3 || !parseNumber(words[1], 0, maxFrames, number) ||
        !parseSize(words[2], f.width, f.height))
        return fail(header, "expected 'frame N WxH [label]' with sizes from 1 to " +
                                std::to_string(maxFrameSide));
    if (number != int(art_.frames.size()))
        return fail(header, "frame " + std::to_string(number) + " out of order, expected frame " +
                                std::to_string(art_.frames.size()));
    if (art_.frames.size() >= std::size_t(maxFrames))
        return fail(header, "more than " + std::to_string(maxFrames) + " frames");
    if (art_.palette.empty())
        return fail(header, "frame before any colour");
    f.label = joinFrom(words, 3);
    f.pixels.reserve(std::size_t(f.width) * std::size_t(f.height));
    for (int row = 0; row < f.height; ++row) {
        ++i;
        if (i >= lines.size())
            return fail(lines.size() - 1, "frame " + std::to_string(number) + " has " +
                                              std::to_string(row) + " rows, expected " +
                                              std::to_string(f.height));
        const std::string& text = lines[i];
        if (text.size() != std::size_t(f.width))
            return fail(i, "row " + std::to_string(row) + " of frame " + std::to_string(number) +
                               " has " + std::to_string(text.size()) + " pixels, expected " +
                               std::to_string(f.width));
        for (std::size_t col = 0; col < text.size(); ++col) {
            unsigned char key = static_cast<unsigned char>(text[col]);
            int index = key < 128 ? keyIndex_[key] : -1;
            if (index < 0)
                return fail(i, "unknown colour " + quoteKey(char(key)) + " at column " +
                                   std::to_string(col) + " of frame " + std::to_string(number));
            f.pixels.push_back(std::uint8_t(index));
        }
    }
    art_.frames.push_back(f);
    return true;
}

} // namespace

bool parsePixelArt(const std::string& text, const std::string& sourceName, PixelArt& art,
                   std::string& error)
{
    Parser parser(sourceName, art, error);
    return parser.run(splitLines(text));
}

} // namespace imagegen
