// Line breaking of printed text: where each line breaks, which blanks stay,
// how a word wider than the page is cut.
#include "app/ui/page_flow.h"

#include "tests/unit/ui/recorded_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(PageFlow, WrapBreaksAtBlanksKeepsInnerOnesAndCutsWideWords)
{
    struct Case {
        const char* name;
        const char* text;
        int width;
        std::vector<std::string> lines;
    } cases[] = {
        {"fits", "due parole", 10, {"due parole"}},
        {"breaks before the word that does not fit", "uno due tre", 7, {"uno due", "tre"}},
        {"a word as wide as the page", "abcde fg", 5, {"abcde", "fg"}},
        {"inner blanks kept", "a  b   c", 8, {"a  b   c"}},
        {"blanks at a break dropped", "aaa   bbb", 5, {"aaa", "bbb"}},
        {"leading and trailing blanks dropped", "   testo   ", 20, {"testo"}},
        {"wider word cut where the page ends", "abcdefghij", 4, {"abcd", "efgh", "ij"}},
        {"cut word between others", "ab abcdefg cd", 4, {"ab", "abcd", "efg", "cd"}},
        {"line breaks kept, CR LF or LF", "uno\r\ndue\ntre", 20, {"uno", "due", "tre"}},
        {"empty lines kept", "uno\r\n\r\ndue", 20, {"uno", "", "due"}},
        {"blank-only line is an empty line", "a\r\n   \r\nb", 20, {"a", "", "b"}},
        {"final line break adds no line", "uno\r\n", 20, {"uno"}},
        {"nothing", "", 20, {}},
        {"page narrower than a character", "ab", 0, {"a", "b"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordedPage surface;
        PageFlow flow(surface, 10, c.width, 1000, {});
        EXPECT_EQ(c.lines, flow.wrap(c.text));
        EXPECT_TRUE(surface.calls.empty()) << "wrap draws nothing";
    }
}

}  // namespace
