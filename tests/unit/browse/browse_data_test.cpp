// The browse core on the shipped database: search facts, paths to hits,
// children on expansion, and the panel texts of real nodes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "app/browse/item_text.h"
#include "app/browse/search_engine.h"
#include "app/browse/tree_model.h"
#include "app/database/database.h"
#include "common/cp1252.h"

namespace {

SearchResults search(const char* text, bool advanced, SearchCriterion criterion = SearchCriterion::And)
{
    SearchQuery query;
    char caption[SearchTextSize];
    EXPECT_TRUE(prepareSearch(text, advanced, criterion, &query, caption, sizeof caption)) << text;
    SearchResults results;
    searchDatabase(query, &results);
    return results;
}

std::set<unsigned> idsOf(const SearchResults& results)
{
    std::set<unsigned> ids;
    for (const SearchHit& hit : results.hits)
        ids.insert(hit.record->id);
    return ids;
}

// The child of a folder with the given label; nullptr when there is none.
const NodeRecord* childNamed(unsigned folderId, const char* name)
{
    uint16_t ids[64];
    int count = childIdsOf(folderId, ids, 64);
    for (int i = 0; i < count && i < 64; ++i) {
        const NodeRecord* node = findNode(ids[i]);
        if (node && std::strcmp(node->name, name) == 0)
            return node;
    }
    return nullptr;
}

std::string titleThrough(const std::vector<const char*>& leafFirst)
{
    char path[PanelTitleSize] = "";
    for (const char* label : leafFirst)
        appendUpwardLabel(path, sizeof path, label);
    char title[PanelTitleSize];
    upwardPathToTitle(path, title, sizeof title);
    return title;
}

}  // namespace

TEST(SearchData, SerpentiniteFindsTwoItems)
{
    SearchResults results = search("serpentinite", false);
    ASSERT_EQ(2u, results.hits.size());
    EXPECT_EQ(2u, results.items);
    EXPECT_EQ(0u, results.folders);

    struct Expected {
        const char* name;
        double concentration;
        const char* type;
    } expected[] = {
        {"Cave di serpentinite, in atmosfera circostante", 0.18, "V *"},
        {"Cave di serpentinite, in atmosfera circostante indoor/outdoor", 0.031, "V"},
    };
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(expected[i].name);
        const SearchHit& hit = results.hits[i];
        EXPECT_STREQ(expected[i].name, hit.record->name);
        EXPECT_DOUBLE_EQ(expected[i].concentration, hit.record->concentration);
        EXPECT_STREQ(expected[i].type, resultTypeCode(resultImage(*hit.record, hit.score)));
    }
    char counter[64];
    formatResultCounter(results.items, results.folders, counter, sizeof counter);
    EXPECT_STREQ("Elementi trovati: 2 voci, 0 cartelle", counter);
}

TEST(SearchData, PhraseIgnoresCaseAndKeepsItsSpace)
{
    SearchResults lower = search("cemento amianto", false);
    EXPECT_EQ(5u, lower.items);
    EXPECT_EQ(10u, lower.folders);
    for (const char* text : {"Cemento Amianto", "CEMENTO AMIANTO"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(idsOf(lower), idsOf(search(text, false)));
    }
    // Every phrase hit has both words in one field, so AND finds it too.
    std::set<unsigned> both = idsOf(search("cemento, amianto", true, SearchCriterion::And));
    for (unsigned id : idsOf(lower))
        EXPECT_TRUE(both.count(id)) << id;
}

TEST(SearchData, AdvancedCriteriaOnTheWholeTable)
{
    SearchResults all = search("    ", true, SearchCriterion::And);
    EXPECT_EQ(864u, all.items);
    EXPECT_EQ(112u, all.folders);
    EXPECT_EQ(idsOf(all), idsOf(search("    ", true, SearchCriterion::Not)));
    EXPECT_TRUE(search("    ", true, SearchCriterion::Or).hits.empty());

    // OR and NOT of the same words split the table between them.
    const char* words = "amianto, fibre\tcemento";
    SearchResults anyWord = search(words, true, SearchCriterion::Or);
    SearchResults noWord = search(words, true, SearchCriterion::Not);
    EXPECT_EQ(all.hits.size(), anyWord.hits.size() + noWord.hits.size());
    for (const SearchHit& hit : noWord.hits)
        EXPECT_EQ(5, hit.score) << hit.record->id;
    for (const SearchHit& hit : anyWord.hits)
        EXPECT_EQ(0u, idsOf(noWord).count(hit.record->id)) << hit.record->id;

    // AND: both words in the description, or both in the source.
    for (const SearchHit& hit : search("cemento amianto", true).hits) {
        const NodeRecord& n = *hit.record;
        bool inName = cp1252ContainsNoCase(n.name, "cemento") && cp1252ContainsNoCase(n.name, "amianto");
        bool inSource = cp1252ContainsNoCase(n.bibliography, "cemento")
                     && cp1252ContainsNoCase(n.bibliography, "amianto");
        EXPECT_TRUE(inName || inSource) << n.id;
        EXPECT_EQ((inSource ? 4 : 0) + (inName ? 1 : 0), hit.score) << n.id;
    }
}

TEST(SearchData, ResultsAreSortedByDescription)
{
    SearchResults results = search("amia", false);
    ASSERT_GT(results.hits.size(), 100u);
    for (size_t i = 1; i < results.hits.size(); ++i)
        EXPECT_LE(cp1252Collate(results.hits[i - 1].record->name, results.hits[i].record->name), 0)
            << results.hits[i - 1].record->name << " / " << results.hits[i].record->name;
}

// The search folds and ranks the table once per run; its lists must stay
// those of folding every record at each search and sorting the hits by name.
TEST(SearchData, PreparedTableListsWhatFoldingEachSearchLists)
{
    std::vector<std::string> texts = {"ÀMIANTO", "Attività", "cemento amianto", "fonte: ", "zzzz"};
    for (int i = 1; i < nodeCount(); i += 37) {
        std::string name = nodeAt(i)->name;
        texts.push_back(name.substr(0, name.find(' ')));
        texts.push_back(name.substr(name.size() / 2));
    }
    for (const std::string& text : texts) {
        for (int mode = 0; mode < 4; ++mode) {
            SCOPED_TRACE(testing::Message() << '"' << text << "\" mode " << mode);
            SearchQuery query;
            char caption[SearchTextSize];
            if (!prepareSearch(text.c_str(), mode > 0, static_cast<SearchCriterion>(mode % 3), &query,
                               caption, sizeof caption))
                continue;
            std::vector<SearchHit> expected;
            for (int n = 0; n < nodeCount(); ++n) {
                char name[NodeNameSize], bibliography[NodeBibliographySize];
                cp1252LowerCopy(nodeAt(n)->name, name, sizeof name);
                cp1252LowerCopy(nodeAt(n)->bibliography, bibliography, sizeof bibliography);
                int score = matchScore(query, name, bibliography);
                if (score > 0 && nodeAt(n)->id != 0)
                    expected.push_back({nodeAt(n), score});
            }
            std::stable_sort(expected.begin(), expected.end(), [](const SearchHit& a, const SearchHit& b) {
                return cp1252Collate(a.record->name, b.record->name) < 0;
            });
            SearchResults results;
            searchDatabase(query, &results);
            ASSERT_EQ(expected.size(), results.hits.size());
            for (size_t h = 0; h < expected.size(); ++h) {
                EXPECT_EQ(expected[h].record, results.hits[h].record) << h;
                EXPECT_EQ(expected[h].score, results.hits[h].score) << h;
            }
        }
    }
}

TEST(LocatePathData, EachStepIsTheFirstParentUpToTheTopLevel)
{
    const NodeRecord* estrazione = findFolder(4);
    ASSERT_NE(nullptr, estrazione);
    ASSERT_STREQ("Estrazione", estrazione->name);

    uint16_t path[LocatePathSize];
    ASSERT_EQ(3u, buildLocatePath(40, path, LocatePathSize));
    EXPECT_EQ(40, path[0]);
    EXPECT_EQ(estrazione->id, path[1]);
    EXPECT_EQ(1, path[2]);  // "Ciclo di vita", a child of the root
    EXPECT_EQ(0, path[3]);

    // Items of folder 117 (ids above 950) are located by id, not position.
    // Shared ones go up through their own first parent instead.
    uint16_t ids[64];
    int count = childIdsOf(117, ids, 64);
    int checkedAbove950 = 0;
    for (int i = 0; i < count; ++i) {
        if (!findNode(ids[i]) || firstParentOf(ids[i]) != 117)
            continue;
        checkedAbove950 += ids[i] > 950;
        SCOPED_TRACE(ids[i]);
        size_t n = buildLocatePath(ids[i], path, LocatePathSize);
        ASSERT_GE(n, 2u);
        EXPECT_EQ(ids[i], path[0]);
        EXPECT_EQ(findFolder(117)->id, path[1]);
        for (size_t k = 0; k + 1 < n; ++k)
            EXPECT_EQ(findNode(path[k + 1])->folderId, firstParentOf(path[k]));
        EXPECT_EQ(RootFolderId, firstParentOf(path[n - 1]));
        EXPECT_EQ(0, path[n]);
    }
    EXPECT_GT(checkedAbove950, 0);
}

TEST(LocatePathData, UnreachableNodesAndShortBuffersGiveAnEmptyPath)
{
    struct Case {
        unsigned id;
        size_t capacity;
    } cases[] = {
        {0, LocatePathSize},     // the placeholder: no link names it
        {40000, LocatePathSize}, // no such node
        {40, 3},                 // three ids and the 0 need four entries
        {40, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.id << " in " << c.capacity);
        uint16_t path[LocatePathSize + 1];
        for (uint16_t& p : path)
            p = 0xCCCC;
        EXPECT_EQ(0u, buildLocatePath(c.id, path, c.capacity));
        EXPECT_EQ(0, path[0]);
        for (size_t i = c.capacity; i <= LocatePathSize; ++i)
            ASSERT_EQ(0xCCCC, path[i]);
    }
}

TEST(TreeData, ChildrenOnExpansion)
{
    TreeChild children[64];
    ASSERT_EQ(3, treeChildrenOf(RootFolderId, children, 64));
    const uint16_t topLevel[] = {1, 833, 839};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(topLevel[i], children[i].record->id);
        EXPECT_EQ(children[i].record->folderId, children[i].tag);
        EXPECT_FALSE(isItemTag(children[i].tag));
        EXPECT_TRUE(children[i].hasChildren);
        EXPECT_EQ(ImageFolder, children[i].image);
        EXPECT_EQ(ImageOpenFolder, children[i].selectedImage);
    }

    // 30 links, one naming the absent id 950.
    int count = treeChildrenOf(117, children, 64);
    EXPECT_EQ(29, count);
    for (int i = 0; i < count; ++i) {
        EXPECT_TRUE(isItemTag(children[i].tag));
        EXPECT_EQ(children[i].record->id, tagNumber(children[i].tag));
        EXPECT_NE(950, children[i].record->id);
        EXPECT_EQ(ImageItem, children[i].image);
        EXPECT_EQ(ImageSelectedItem, children[i].selectedImage);
    }

    // Sub-folders come before items in insertion order.
    for (unsigned folder = 1; folder <= 117; ++folder) {
        int n = treeChildrenOf(folder, children, 64);
        ASSERT_LE(n, 35);
        bool seenItem = false;
        for (int i = 0; i < n; ++i) {
            seenItem = seenItem || children[i].record->kind == Item;
            EXPECT_FALSE(seenItem && children[i].record->kind == Folder) << folder;
        }
    }

    // A short buffer is filled no further than its capacity.
    TreeChild two[3];
    std::memset(two, 0xCC, sizeof two);
    EXPECT_EQ(3, treeChildrenOf(RootFolderId, two, 2));
    const unsigned char* tail = reinterpret_cast<const unsigned char*>(&two[2]);
    for (size_t i = 0; i < sizeof two[2]; ++i)
        ASSERT_EQ(0xCC, tail[i]);
}

TEST(PanelData, ItemThirteenThroughBothBonificaFolders)
{
    const NodeRecord* item = findNode(13);
    ASSERT_NE(nullptr, item);

    const NodeRecord* cycle = childNamed(RootFolderId, "Ciclo di vita");
    ASSERT_NE(nullptr, cycle);
    const NodeRecord* cleanup = childNamed(cycle->folderId, "Bonifica");
    ASSERT_NE(nullptr, cleanup);
    ASSERT_EQ(item, childNamed(cleanup->folderId, item->name));
    EXPECT_EQ("Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)",
              titleThrough({item->name, cleanup->name, cycle->name, "Amianto"}));

    const NodeRecord* nations = childNamed(RootFolderId, "Dati per nazione");
    ASSERT_NE(nullptr, nations);
    const NodeRecord* italy = childNamed(nations->folderId, "Italia");
    ASSERT_NE(nullptr, italy);
    const NodeRecord* italianCleanup = childNamed(italy->folderId, "Bonifica");
    ASSERT_NE(nullptr, italianCleanup);
    EXPECT_NE(cleanup->folderId, italianCleanup->folderId);
    ASSERT_EQ(item, childNamed(italianCleanup->folderId, item->name));
    EXPECT_EQ("Amianto->Dati per nazione->Italia->Bonifica->Decontaminazione in edifici (valore massimo)",
              titleThrough({item->name, italianCleanup->name, italy->name, nations->name, "Amianto"}));

    char text[PanelTextSize];
    formatItemDisplayText(*item, PerCc, text, sizeof text);
    EXPECT_STREQ("Concentrazione:   0.0570 ff/cc\r\n\r\n"
                 "Fonte bibliografica: Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989",
                 text);
    formatItemDisplayText(*item, PerLitre, text, sizeof text);
    EXPECT_STREQ("Concentrazione:     57.0 ff/l\r\n\r\n"
                 "Fonte bibliografica: Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989",
                 text);
}

TEST(PanelData, EveryPathAndItemTextFitsThePanel)
{
    // Walk every place of the tree (shared nodes once per parent).
    size_t longestTitle = 0, longestText = 0;
    int deepest = 0;
    std::vector<const char*> labels;
    std::function<void(unsigned, int)> walk = [&](unsigned folderId, int depth) {
        deepest = depth > deepest ? depth : deepest;
        ASSERT_LE(depth, 7);
        TreeChild children[64];
        int n = treeChildrenOf(folderId, children, 64);
        for (int i = 0; i < n; ++i) {
            const NodeRecord& node = *children[i].record;
            labels.insert(labels.begin(), node.name);
            std::string title = titleThrough(labels);
            longestTitle = title.size() > longestTitle ? title.size() : longestTitle;
            // A label holding the separator would come back wrong.
            EXPECT_EQ(std::string::npos, std::string(node.name).find("<-")) << node.id;
            if (node.kind == Item) {
                char text[PanelTextSize];
                size_t length = static_cast<size_t>(formatItemDisplayText(node, PerLitre, text, sizeof text));
                longestText = length > longestText ? length : longestText;
            } else {
                walk(node.folderId, depth + 1);
            }
            labels.erase(labels.begin());
        }
    };
    labels.push_back("Amianto");
    walk(RootFolderId, 1);
    EXPECT_EQ(7, deepest);  // levels of folders, the root included
    EXPECT_LT(longestTitle, PanelTitleSize);
    EXPECT_LT(longestText, PanelTextSize);
}

TEST(SearchData, AnyTextGivesResultsOrTheLengthMessage)
{
    // Separators, accented capitals and high bytes in every mix, up to past
    // the edit box's limit.
    const char alphabet[] = " ,\t\nAaMmIiNnTtOoÀàÈèÉéÌìÒòÙù°Ÿÿ<->*%";
    unsigned seed = 12345;
    auto next = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16; };
    for (int round = 0; round < 300; ++round) {
        std::string text;
        size_t length = next() % 300;
        for (size_t i = 0; i < length; ++i)
            text += next() % 8 ? alphabet[next() % (sizeof alphabet - 1)]
                               : static_cast<char>(0x80 + next() % 0x80);
        for (SearchCriterion criterion : {SearchCriterion::And, SearchCriterion::Or, SearchCriterion::Not}) {
            for (bool advanced : {false, true}) {
                SCOPED_TRACE(testing::Message() << "round " << round << " advanced " << advanced);
                SearchQuery query;
                char caption[SearchTextSize];
                if (!prepareSearch(text.c_str(), advanced, criterion, &query, caption, sizeof caption)) {
                    EXPECT_LT(std::strlen(caption), SearchMinLength);
                    EXPECT_EQ(text.empty(), caption[0] == '\0');
                    continue;
                }
                SearchResults results;
                searchDatabase(query, &results);
                EXPECT_EQ(results.hits.size(), results.items + results.folders);
                EXPECT_LE(results.hits.size(), 976u);
            }
        }
    }
}
