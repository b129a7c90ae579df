// The search engine on records made here: reading the text, scoring,
// listing, types and counter texts.
#include "app/browse/search_engine.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/database/database.h"

namespace {

NodeRecord makeNode(uint16_t id, NodeKind kind, const char* name, const char* bibliography,
                    double concentration = 0.0)
{
    NodeRecord node{};
    node.id = id;
    node.kind = kind;
    node.folderId = kind == Folder ? static_cast<uint16_t>(id + 1) : 0;
    node.concentration = concentration;
    node.name = name;
    node.bibliography = bibliography;
    return node;
}

SearchQuery queryFor(const char* text, bool advanced, SearchCriterion criterion = SearchCriterion::And)
{
    SearchQuery query;
    char caption[SearchTextSize];
    EXPECT_TRUE(prepareSearch(text, advanced, criterion, &query, caption, sizeof caption)) << text;
    return query;
}

std::vector<std::string> namesOf(const SearchResults& results)
{
    std::vector<std::string> names;
    for (const SearchHit& hit : results.hits)
        names.push_back(hit.record->name);
    return names;
}

}  // namespace

TEST(SearchText, ShortTextsAndWordsAreRefusedWithTheirCaption)
{
    struct Case {
        const char* text;
        bool advanced;
        bool accepted;
        const char* caption;
    } cases[] = {
        {"amia", false, true, ""},
        {"ami", false, false, "ami"},
        {"AMI", true, false, "AMI"},   // the whole text is checked first, as typed
        {"", false, false, ""},
        {"a b", true, false, "a b"},
        {"amianto tra", true, false, "tra"},
        {"amianto tra", false, true, ""},  // one phrase: the words do not count
        {"AMIANTO, Tra, no", true, false, "tra"},  // first short word, lower-cased
        {"ÀÈÌ cemento", true, false, "àèì"},
        {"    ", true, true, ""},
        {"cemento,amianto\tpolvere\nfibre", true, true, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" advanced " << c.advanced);
        SearchQuery query;
        char caption[SearchTextSize];
        std::memset(caption, 0xCC, sizeof caption);
        EXPECT_EQ(c.accepted, prepareSearch(c.text, c.advanced, SearchCriterion::Or, &query,
                                            caption, sizeof caption));
        EXPECT_STREQ(c.caption, caption);
    }
}

TEST(SearchText, WordsAreSplitAtRunsOfSeparatorsAndLowerCased)
{
    SearchQuery query = queryFor(" ,Cemento,, AMIANTO\t\tPerché\n", true, SearchCriterion::Not);
    EXPECT_TRUE(query.advanced);
    EXPECT_EQ(SearchCriterion::Not, query.criterion);
    EXPECT_EQ((std::vector<std::string>{"cemento", "amianto", "perché"}), query.words);

    query = queryFor("  Cemento Amianto ", false);
    EXPECT_FALSE(query.advanced);
    EXPECT_EQ("  cemento amianto ", query.pattern);

    EXPECT_TRUE(queryFor("    ", true).words.empty());
}

TEST(SearchText, OnlyTheFirst255CharactersAreRead)
{
    std::string text(300, 'a');
    text[255] = 'Z';
    SearchQuery query = queryFor(text.c_str(), false);
    EXPECT_EQ(std::string(255, 'a'), query.pattern);

    // A short word beyond the limit is never seen.
    std::string words = std::string(255, 'w') + " ab";
    EXPECT_EQ(1u, queryFor(words.c_str(), true).words.size());

    // The caption of a refused word is cut to its buffer.
    char caption[3];
    SearchQuery refused;
    EXPECT_FALSE(prepareSearch("abc", false, SearchCriterion::And, &refused, caption, sizeof caption));
    EXPECT_STREQ("ab", caption);
}

TEST(SearchScore, EachCriterionScoresBothFields)
{
    struct Case {
        const char* text;
        bool advanced;
        SearchCriterion criterion;
        const char* name;
        const char* bibliography;
        int score;
    } cases[] = {
        {"cemento amianto", false, SearchCriterion::And, "lastre in cemento amianto", "", 1},
        {"cemento amianto", false, SearchCriterion::And, "", "cemento amianto, 1990", 4},
        {"cemento amianto", false, SearchCriterion::And, "cemento amianto", "cemento amianto", 5},
        {"cemento amianto", false, SearchCriterion::And, "amianto cemento", "cemento", 0},
        {"amia", false, SearchCriterion::And, "amianto", "", 1},
        {"cemento amianto", true, SearchCriterion::And, "amianto e cemento", "", 1},
        {"cemento amianto", true, SearchCriterion::And, "cemento", "amianto", 0},
        {"cemento amianto", true, SearchCriterion::And, "cemento", "amianto cemento", 4},
        {"cemento amianto", true, SearchCriterion::Or, "cemento", "amianto", 5},
        {"cemento amianto", true, SearchCriterion::Or, "amianto", "fonte", 1},
        {"cemento amianto", true, SearchCriterion::Or, "vetro", "fonte", 0},
        {"cemento amianto", true, SearchCriterion::Not, "vetro", "fonte", 5},
        {"cemento amianto", true, SearchCriterion::Not, "cemento", "fonte", 0},
        {"cemento amianto", true, SearchCriterion::Not, "vetro", "amianto", 0},
        {"    ", true, SearchCriterion::And, "vetro", "fonte", 5},
        {"    ", true, SearchCriterion::Not, "", "", 5},
        {"    ", true, SearchCriterion::Or, "vetro", "fonte", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.text << " / " << static_cast<int>(c.criterion)
                                        << " on " << c.name << " | " << c.bibliography);
        SearchQuery query = queryFor(c.text, c.advanced, c.criterion);
        EXPECT_EQ(c.score, matchScore(query, c.name, c.bibliography));
    }
}

TEST(SearchNodes, ListsHitsOnceSortedAndCounted)
{
    const NodeRecord nodes[] = {
        makeNode(0, Folder, "0", ""),
        makeNode(1, Folder, "Ciclo di vita", ""),
        makeNode(2, Item, "Zona CEMENTO-AMIANTO", "fonte", 0.2),
        makeNode(3, Item, "Àrea esterna", "Cemento-amianto: rapporto", 0.05),
        makeNode(5, Item, "area interna", "nessuna", 0.3),
        makeNode(6, Folder, "Cemento-amianto", ""),
        makeNode(7, Item, "Area esterna", "cemento-amianto", 0.1),
    };
    const int count = sizeof nodes / sizeof nodes[0];
    SearchResults results;

    searchNodes(queryFor("cemento-AMIANTO", false), nodes, count, &results);
    EXPECT_EQ((std::vector<std::string>{"Area esterna", "Àrea esterna", "Cemento-amianto",
                                        "Zona CEMENTO-AMIANTO"}),
              namesOf(results));
    EXPECT_EQ(3u, results.items);
    EXPECT_EQ(1u, results.folders);

    // Every record scores 5 with no words; the placeholder is still left out.
    searchNodes(queryFor("    ", true, SearchCriterion::Not), nodes, count, &results);
    EXPECT_EQ(static_cast<size_t>(count - 1), results.hits.size());
    EXPECT_EQ(4u, results.items);
    EXPECT_EQ(2u, results.folders);
    for (const SearchHit& hit : results.hits) {
        EXPECT_NE(0, hit.record->id);
        EXPECT_EQ(5, hit.score);
    }

    searchNodes(queryFor("    ", true, SearchCriterion::Or), nodes, count, &results);
    EXPECT_TRUE(results.hits.empty());
    EXPECT_EQ(0u, results.items + results.folders);
}

TEST(SearchNodes, AccentedCapitalsFoldLikeTheSystem)
{
    const NodeRecord nodes[] = {
        makeNode(1, Item, "ATTIVITÀ DI BONIFICA", ""),
        makeNode(2, Item, "attività di bonifica", ""),
        makeNode(3, Item, "attivita di bonifica", ""),
    };
    SearchResults results;
    searchNodes(queryFor("Attività", false), nodes, 3, &results);
    EXPECT_EQ(2u, results.items);
}

TEST(SearchRows, TypeImageTagAndWarningMark)
{
    struct Case {
        NodeKind kind;
        int score;
        double concentration;
        int image;
        const char* code;
    } cases[] = {
        {Folder, 1, 0.0, 7, "C"},
        {Folder, 5, 0.0, 7, "C"},
        {Item, 4, 0.0999, 9, "B"},
        {Item, 4, 0.1, 13, "B *"},
        {Item, 1, 0.05, 20, "V"},
        {Item, 5, 0.05, 20, "V"},  // found in both fields: the description type
        {Item, 1, 0.18, 21, "V *"},
        {Item, 5, 600.0, 21, "V *"},
        {Item, 5, 0.0, 20, "V"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.code << " score " << c.score << " at " << c.concentration);
        NodeRecord node = makeNode(42, c.kind, "n", "b", c.concentration);
        int image = resultImage(node, c.score);
        EXPECT_EQ(c.image, image);
        EXPECT_STREQ(c.code, resultTypeCode(image));
        EXPECT_EQ(c.kind == Item ? 0x1002Au : 42u, resultTag(node));
    }
    EXPECT_STREQ("", resultTypeCode(19));
}

TEST(SearchCounter, SingularAndPluralForms)
{
    struct Case {
        unsigned items, folders;
        const char* text;
    } cases[] = {
        {0, 0, "Elementi trovati: 0 voci, 0 cartelle"},
        {1, 1, "Elementi trovati: 1 voce, 1 cartella"},
        {1, 3, "Elementi trovati: 1 voce, 3 cartelle"},
        {2, 0, "Elementi trovati: 2 voci, 0 cartelle"},
        {864, 112, "Elementi trovati: 864 voci, 112 cartelle"},
    };
    for (const Case& c : cases) {
        char text[64];
        formatResultCounter(c.items, c.folders, text, sizeof text);
        EXPECT_STREQ(c.text, text);
    }
    char small[10];
    std::memset(small, 0xCC, sizeof small);
    formatResultCounter(1, 1, small, 8);
    EXPECT_STREQ("Element", small);
    EXPECT_EQ(static_cast<char>(0xCC), small[8]);
}

TEST(SearchCriterionText, NamesAndMarkedButtons)
{
    EXPECT_STREQ("nessuno", criterionName(false, SearchCriterion::Not));
    EXPECT_STREQ("AND", criterionName(true, SearchCriterion::And));
    EXPECT_STREQ("OR", criterionName(true, SearchCriterion::Or));
    EXPECT_STREQ("NOT", criterionName(true, SearchCriterion::Not));

    const SearchCriterion all[] = {SearchCriterion::And, SearchCriterion::Or, SearchCriterion::Not};
    const char* expected[3][3] = {
        {">-AND-<", "OR", "NOT"},
        {"AND", ">-OR-<", "NOT"},
        {"AND", "OR", ">-NOT-<"},
    };
    for (int current = 0; current < 3; ++current)
        for (int button = 0; button < 3; ++button)
            EXPECT_STREQ(expected[current][button], criterionButtonLabel(all[button], all[current]));
}
