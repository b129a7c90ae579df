// The shipped data set against every figure and fact that the product states
// about it, read through the lookups themselves. A changed data set must
// change these figures on purpose (see app/database/README.md).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/database/database.h"
#include "common/cp1252.h"

namespace {

// Items whose figure was read in its publication or its abstract
// (sources.tsv, checked "si"), and those of them measured in Italy.
constexpr int CitedAndRead = 406;
constexpr int ItalianCitedAndRead = 43;

std::vector<uint16_t> childrenOf(unsigned folderId) {
    std::vector<uint16_t> ids(static_cast<size_t>(childIdsOf(folderId, nullptr, 0)));
    childIdsOf(folderId, ids.data(), static_cast<int>(ids.size()));
    return ids;
}

// Records that a folder shows: its links whose child exists.
std::vector<const NodeRecord*> shownChildren(unsigned folderId) {
    std::vector<const NodeRecord*> shown;
    for (uint16_t id : childrenOf(folderId))
        if (const NodeRecord* child = findNode(id)) shown.push_back(child);
    return shown;
}

std::vector<std::string> subFolderNames(unsigned folderId) {
    std::vector<std::string> names;
    for (const NodeRecord* child : shownChildren(folderId))
        if (child->kind == Folder) names.push_back(child->name);
    return names;
}

// Every path from the root to every node, as the panel title writes it.
struct PathWalk {
    std::map<unsigned, std::vector<std::string>> pathsOf;  // node id -> titles
    int deepestFolder = 0;                                 // levels, root = 1
    size_t longestPath = 0;
    size_t longestItemText = 0;

    void walk(unsigned folderId, const std::string& title, int level) {
        ASSERT_LE(level, 64) << "cycle through folder " << folderId;
        if (level > deepestFolder) deepestFolder = level;
        for (const NodeRecord* child : shownChildren(folderId)) {
            std::string path = title + "->" + child->name;
            pathsOf[child->id].push_back(path);
            if (path.size() > longestPath) longestPath = path.size();
            if (child->kind == Folder) {
                walk(child->folderId, path, level + 1);
            } else {
                // Copy text of the item: title, blank line, item display text, blank line.
                char value[64];
                snprintf(value, sizeof value, "%8.4f", child->concentration);
                size_t text = path.size() + 4 + strlen("Concentrazione: ") + strlen(value) + strlen(" ff/cc") + 4 +
                              strlen("Fonte bibliografica: ") + strlen(child->bibliography) + 4;
                if (text > longestItemText) longestItemText = text;
            }
        }
    }
};

const PathWalk& shippedPaths() {
    static PathWalk paths = [] {
        PathWalk w;
        w.walk(RootFolderId, "Amianto", 1);
        return w;
    }();
    return paths;
}

struct SearchCount {
    int items = 0;
    int folders = 0;
    std::vector<const NodeRecord*> hits;
};

// The simple search: the text as one case-insensitive substring of name or bibliography.
SearchCount simpleSearch(const char* text) {
    SearchCount count;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->id == 0) continue;
        if (!cp1252ContainsNoCase(node->name, text) && !cp1252ContainsNoCase(node->bibliography, text)) continue;
        (node->kind == Folder ? count.folders : count.items)++;
        count.hits.push_back(node);
    }
    return count;
}

TEST(ShippedData, RowCountsAndKinds) {
    EXPECT_EQ(977, nodeCount());
    EXPECT_EQ(1059, linkCount());
    int folders = 0, items = 0, other = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        uint32_t kind = nodeAt(i)->kind;
        (kind == Folder ? folders : kind == Item ? items : other)++;
    }
    EXPECT_EQ(113, folders);  // the placeholder included
    EXPECT_EQ(864, items);
    EXPECT_EQ(0, other);
}

TEST(ShippedData, FolderIdsInUse) {
    std::set<unsigned> expected;
    for (unsigned id = 2; id <= 13; ++id) expected.insert(id);
    for (unsigned id = 18; id <= 117; ++id) expected.insert(id);
    std::set<unsigned> used;
    for (int i = 1; i < nodeCount(); ++i) {
        if (nodeAt(i)->kind == Folder) {
            EXPECT_TRUE(used.insert(nodeAt(i)->folderId).second) << nodeAt(i)->folderId;
        }
    }
    EXPECT_EQ(expected, used);
    EXPECT_EQ(nullptr, findFolder(RootFolderId)) << "the root has no record";
    for (unsigned unassigned : {14u, 15u, 16u, 17u, 118u}) EXPECT_EQ(nullptr, findFolder(unassigned));
}

TEST(ShippedData, IdsAscendWithTheGapAt950) {
    for (int i = 1; i < nodeCount(); ++i) {
        ASSERT_LT(nodeAt(i - 1)->id, nodeAt(i)->id) << "position " << i;
        EXPECT_EQ(i < 950 ? i : i + 1, nodeAt(i)->id) << "position " << i;
    }
    EXPECT_EQ(nullptr, findNode(950));
    EXPECT_EQ(977, nodeAt(976)->id);
    EXPECT_STREQ("Esterno infermeria", nodeAt(950)->name);
}

TEST(ShippedData, LinksAscendByParent) {
    for (int i = 1; i < linkCount(); ++i) ASSERT_LE(LinkTable[i - 1].parentFolderId, LinkTable[i].parentFolderId) << i;
    const LinkRecord first[] = {{1, 1}, {1, 833}, {1, 839}, {2, 2}};
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(first[i].parentFolderId, LinkTable[i].parentFolderId);
        EXPECT_EQ(first[i].childId, LinkTable[i].childId);
    }
}

TEST(ShippedData, TellingRows) {
    struct Row {
        unsigned id;
        uint32_t kind;
        unsigned folderId;
        double concentration;
        const char* name;
        const char* bibliography;
    };
    const Row rows[] = {
        {0, Folder, 0, 0, "0", ""},
        {1, Folder, 2, 0, "Ciclo di vita", ""},
        {2, Folder, 3, 0, "Bonifica", ""},
        {13, Item, 0, 0.057, "Decontaminazione in edifici (valore massimo)",
         "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989"},
        {14, Item, 0, 0.004, "Decontaminazione in edifici (valore minimo)",
         "Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989"},
        {35, Item, 0, 0.18, "Cave di serpentinite, in atmosfera circostante",
         "Valore massimo. Fonte: 55° Congr. Naz. Med. Lav., 1990"},
        {40, Folder, 5, 0, "Industria mineraria", ""},
        {833, Folder, 95, 0, "Dati per nazione", ""},
        {834, Folder, 96, 0, "Italia", ""},
        {839, Folder, 101, 0, "Opifici", ""},
        {951, Item, 0, 0.0021, "Esterno infermeria", nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        const NodeRecord* node = findNode(row.id);
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(row.kind, node->kind);
        EXPECT_EQ(row.folderId, node->folderId);
        EXPECT_EQ(row.concentration, node->concentration);
        EXPECT_STREQ(row.name, node->name);
        if (row.bibliography) {
            EXPECT_STREQ(row.bibliography, node->bibliography);
        }
    }
}

TEST(ShippedData, TopLevelAndItsSubFolders) {
    std::vector<std::string> top;
    for (const NodeRecord* child : shownChildren(RootFolderId)) top.push_back(child->name);
    EXPECT_EQ((std::vector<std::string>{"Ciclo di vita", "Dati per nazione", "Opifici"}), top);

    EXPECT_EQ((std::vector<std::string>{"Bonifica", "Estrazione", "Trasformazione e utilizzo", "Produzione manufatti",
                                        "Movimentazione", "Varie"}),
              subFolderNames(2));
    EXPECT_EQ((std::vector<std::string>{"Italia", "Canada", "Germania", "USA", "Gran Bretagna"}), subFolderNames(95));
    std::vector<std::string> plants = subFolderNames(101);
    EXPECT_EQ(9u, plants.size());
    EXPECT_EQ(plants.size(), shownChildren(101).size()) << "Opifici holds only sub-folders";
    for (const char* name :
         {"Industria mineraria", "Cantieristica navale", "Vetrerie", "Impianti tessili USA", "Centrale termoelettrica"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(1, std::count(plants.begin(), plants.end(), name));
    }
}

TEST(ShippedData, SharedNodes) {
    std::map<unsigned, int> parents;
    for (int i = 0; i < linkCount(); ++i) parents[LinkTable[i].childId]++;
    int sharedFolders = 0, sharedItems = 0;
    for (const auto& [id, count] : parents) {
        const NodeRecord* node = findNode(id);
        if (count < 2 || node == nullptr) continue;
        (node->kind == Folder ? sharedFolders : sharedItems)++;
    }
    EXPECT_EQ(34, sharedFolders);
    EXPECT_EQ(39, sharedItems);

    std::vector<unsigned> mining;
    for (int i = 0; i < linkCount(); ++i)
        if (LinkTable[i].childId == 40) mining.push_back(LinkTable[i].parentFolderId);
    EXPECT_EQ((std::vector<unsigned>{4, 96, 101}), mining);
    EXPECT_STREQ("Estrazione", findFolder(4)->name);
    EXPECT_STREQ("Italia", findFolder(96)->name);
    EXPECT_STREQ("Opifici", findFolder(101)->name);
}

TEST(ShippedData, EveryRecordIsReachableAndThePlaceholderNever) {
    const PathWalk& paths = shippedPaths();
    for (int i = 1; i < nodeCount(); ++i)
        EXPECT_EQ(1u, paths.pathsOf.count(nodeAt(i)->id)) << "id " << nodeAt(i)->id << " unreachable";
    EXPECT_EQ(0u, paths.pathsOf.count(0));
}

TEST(ShippedData, DepthBreadthAndTextLengths) {
    const PathWalk& paths = shippedPaths();
    EXPECT_EQ(7, paths.deepestFolder);
    EXPECT_EQ(230u, paths.longestPath);
    EXPECT_EQ(476u, paths.longestItemText);

    size_t mostChildren = 0;
    for (int i = 0; i < nodeCount(); ++i)
        if (nodeAt(i)->kind == Folder && nodeAt(i)->id != 0)
            mostChildren = std::max(mostChildren, childrenOf(nodeAt(i)->folderId).size());
    mostChildren = std::max(mostChildren, childrenOf(RootFolderId).size());
    EXPECT_EQ(35u, mostChildren);

    size_t longestName = 0, longestBibliography = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        longestName = std::max(longestName, strlen(nodeAt(i)->name));
        longestBibliography = std::max(longestBibliography, strlen(nodeAt(i)->bibliography));
    }
    EXPECT_EQ(124u, longestName);
    EXPECT_EQ(255u, longestBibliography);
}

TEST(ShippedData, ConcentrationDistribution) {
    int zero = 0, atLeastTenth = 0;
    double largest = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind == Folder) {
            EXPECT_EQ(0.0, node->concentration) << node->id;
            EXPECT_STREQ("", node->bibliography) << node->id;
            continue;
        }
        EXPECT_EQ(0, node->folderId) << node->id;
        EXPECT_GE(node->concentration, 0.0) << node->id;
        if (node->concentration == 0) ++zero;
        if (node->concentration >= 0.1) ++atLeastTenth;
        largest = std::max(largest, node->concentration);
    }
    EXPECT_EQ(12, zero);
    EXPECT_EQ(601, atLeastTenth);
    EXPECT_EQ(600.0, largest);
}

TEST(ShippedData, TextUsesOnlyTheseLettersBeyondAscii) {
    const std::set<unsigned char> expected = {0xB0, 0xE0, 0xE8, 0xEC, 0xF9};  // ° à è ì ù
    std::set<unsigned char> used;
    for (int i = 0; i < nodeCount(); ++i)
        for (const char* text : {nodeAt(i)->name, nodeAt(i)->bibliography})
            for (const char* c = text; *c; ++c)
                if (static_cast<unsigned char>(*c) >= 0x80) used.insert(static_cast<unsigned char>(*c));
    EXPECT_EQ(expected, used);
}

TEST(ShippedData, NamesAlikeAndFoldersLabelledBonifica) {
    std::vector<unsigned> foldersWithAlikeChildren;
    for (int i = 1; i < nodeCount(); ++i) {
        if (nodeAt(i)->kind != Folder) continue;
        std::vector<const NodeRecord*> children = shownChildren(nodeAt(i)->folderId);
        bool alike = false;
        for (size_t a = 0; a < children.size(); ++a)
            for (size_t b = a + 1; b < children.size(); ++b)
                alike = alike || cp1252EqualNoCase(children[a]->name, children[b]->name);
        if (alike) foldersWithAlikeChildren.push_back(nodeAt(i)->folderId);
    }
    EXPECT_EQ(std::vector<unsigned>{112}, foldersWithAlikeChildren);

    int bonifica = 0;
    for (int i = 1; i < nodeCount(); ++i) bonifica += nodeAt(i)->kind == Folder && !strcmp(nodeAt(i)->name, "Bonifica");
    EXPECT_EQ(2, bonifica);
}

TEST(ShippedData, ItemThirteenUnderBothBonificaFolders) {
    const std::vector<std::string>& titles = shippedPaths().pathsOf.at(13);
    std::set<std::string> unique(titles.begin(), titles.end());
    EXPECT_EQ((std::set<std::string>{
                  "Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)",
                  "Amianto->Dati per nazione->Italia->Bonifica->Decontaminazione in edifici (valore massimo)"}),
              unique);
}

TEST(ShippedData, FolderOneSeventeen) {
    std::vector<uint16_t> links = childrenOf(117);
    EXPECT_EQ(30u, links.size());
    EXPECT_EQ(1, std::count(links.begin(), links.end(), 950));
    std::vector<const NodeRecord*> shown = shownChildren(117);
    EXPECT_EQ(29u, shown.size());
    for (const NodeRecord* child : shown) EXPECT_EQ(Item, child->kind) << child->id;
    // Every record after the gap lies inside folder 117.
    for (int i = 950; i < nodeCount(); ++i) {
        SCOPED_TRACE(nodeAt(i)->id);
        EXPECT_EQ(1, std::count(links.begin(), links.end(), nodeAt(i)->id));
        EXPECT_EQ(117u, firstParentOf(nodeAt(i)->id));
    }
}

TEST(ShippedData, SearchFacts) {
    SearchCount serpentinite = simpleSearch("serpentinite");
    EXPECT_EQ(2, serpentinite.items);
    EXPECT_EQ(0, serpentinite.folders);
    std::map<std::string, double> found;
    for (const NodeRecord* hit : serpentinite.hits) found[hit->name] = hit->concentration;
    EXPECT_EQ((std::map<std::string, double>{{"Cave di serpentinite, in atmosfera circostante", 0.18},
                                             {"Cave di serpentinite, in atmosfera circostante indoor/outdoor", 0.031}}),
              found);

    SearchCount cement = simpleSearch("cemento amianto");
    EXPECT_EQ(5, cement.items);
    EXPECT_EQ(10, cement.folders);
    SearchCount capitals = simpleSearch("Cemento Amianto");
    EXPECT_EQ(cement.hits, capitals.hits);
}

TEST(ShippedData, ActivitiesOfTheExampleCalculations) {
    const std::pair<const char*, double> examples[] = {
        {"Centrali elettriche a vapore: rimozione di guarnizioni di valvole", 0.3},
        {"Turbinista in zona turbina", 0.004},
        {"Mescolatrice: stima per l'ambiente", 2.2},
        {"Pastigliatrici", 1.9},
        {"Preformazione ceppi", 1.8},
    };
    for (const auto& [name, concentration] : examples) {
        SCOPED_TRACE(name);
        int matches = 0;
        for (int i = 0; i < nodeCount(); ++i) {
            if (strcmp(nodeAt(i)->name, name) != 0) continue;
            ++matches;
            EXPECT_EQ(Item, nodeAt(i)->kind);
            EXPECT_EQ(concentration, nodeAt(i)->concentration);
            EXPECT_EQ(1u, shippedPaths().pathsOf.count(nodeAt(i)->id));
        }
        EXPECT_EQ(1, matches);
    }
}

// A cited item carries its row of the sources table; every other item says
// that its value is indicative, and does not dress it up as a measurement.
TEST(ShippedData, CitedItemsHaveTheirSourceAndIndicativeOnesClaimNoMeasurement) {
    const char* indicative = "Valore indicativo dimostrativo, non è una misura pubblicata";
    const char* const claims[] = {"campionamento", "valore massimo", "valore minimo", "media", "letteratura"};
    int cited = 0, read = 0, italian = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind != Item) continue;
        SCOPED_TRACE(node->id);
        const SourceRecord* source = findSource(node->id);
        // A zero is a published non-detect, never an invented value.
        if (node->concentration == 0) {
            ASSERT_NE(nullptr, source) << node->name;
            EXPECT_TRUE(source->checked);
            EXPECT_STREQ("non rilevato", source->statistic);
        }
        bool citesOne = strstr(node->bibliography, "Fonte: ") != nullptr;
        EXPECT_EQ(citesOne, source != nullptr) << node->bibliography;
        EXPECT_NE(citesOne, strstr(node->bibliography, indicative) != nullptr) << node->bibliography;
        if (source) {
            ++cited;
            read += source->checked;
            italian += source->checked && !strcmp(source->country, "Italia");
            continue;
        }
        for (const char* claim : claims) {
            EXPECT_FALSE(cp1252ContainsNoCase(node->name, claim)) << node->name;
            EXPECT_FALSE(cp1252ContainsNoCase(node->bibliography, claim)) << node->bibliography;
        }
    }
    EXPECT_EQ(sourceCount(), cited);
    EXPECT_EQ(CitedAndRead, read);
    EXPECT_EQ(ItalianCitedAndRead, italian);
}

// A high and a low estimate of one activity never coincide.
TEST(ShippedData, IndicativePairsDiffer) {
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* high = nodeAt(i);
        const char* suffix = strstr(high->name, " (ipotesi alta)");
        if (high->kind != Item || suffix == nullptr) continue;
        std::string low = std::string(high->name, suffix) + " (ipotesi bassa)";
        for (int j = 0; j < nodeCount(); ++j)
            if (low == nodeAt(j)->name) {
                EXPECT_LT(nodeAt(j)->concentration, high->concentration) << low;
            }
    }
}

// "Italia" and the folders below it hold no folder of another country.
TEST(ShippedData, CountryFoldersHoldTheirOwnRows) {
    std::set<unsigned> foreign;
    for (unsigned country : {97u, 98u, 99u, 100u})
        for (const NodeRecord* child : shownChildren(country))
            if (child->kind == Folder) foreign.insert(child->folderId);
    std::vector<unsigned> open{96};
    std::set<unsigned> seen;
    while (!open.empty()) {
        unsigned folder = open.back();
        open.pop_back();
        if (!seen.insert(folder).second) continue;
        EXPECT_EQ(0u, foreign.count(folder)) << findFolder(folder)->name;
        for (const NodeRecord* child : shownChildren(folder))
            if (child->kind == Folder) open.push_back(child->folderId);
    }
}

}  // namespace
