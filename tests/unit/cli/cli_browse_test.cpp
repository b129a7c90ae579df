// tree, show, search and export on the shipped data, against the desktop's
// texts and the portable functions behind the tree, the panel and the
// search dialog.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "app/browse/item_text.h"
#include "app/browse/search_engine.h"
#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli_test_support.h"
#include "common/cp1252.h"

namespace {

// Places of a node in the tree counted from the links: each parent place
// times the links naming the node.
long placesOf(unsigned nodeId)
{
    long places = 0;
    for (int i = 0; i < linkCount(); ++i) {
        if (LinkTable[i].childId != nodeId)
            continue;
        if (LinkTable[i].parentFolderId == RootFolderId)
            ++places;
        else if (const NodeRecord* folder = findFolder(LinkTable[i].parentFolderId))
            places += placesOf(folder->id);
    }
    return places;
}

long itemPlaces()
{
    long total = 0;
    for (int i = 0; i < nodeCount(); ++i)
        if (nodeAt(i)->kind == Item)
            total += placesOf(nodeAt(i)->id);
    return total;
}

long allPlaces()
{
    long total = 0;
    for (int i = 1; i < nodeCount(); ++i)
        total += placesOf(nodeAt(i)->id);
    return total;
}

std::vector<std::string> csvRecord(const std::string& line)
{
    std::vector<std::string> fields(1);
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"')
            fields.back() += line[++i];
        else if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted)
            fields.emplace_back();
        else
            fields.back() += c;
    }
    return fields;
}

}  // namespace

TEST(CliShow, ItemThirteenAsThePanelShowsIt)
{
    CliRun run = runQuorvel({"show", "13"});
    EXPECT_EQ(0, run.status);
    const char* method = *findSource(13)->method ? findSource(13)->method : "metodo non indicato";
    const std::string expected =
        "Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)\n"
        "Amianto->Dati per nazione->Italia->Bonifica->Decontaminazione in edifici (valore massimo)\n"
        "\n"
        "Concentrazione:   0.0570 ff/cc\n"
        "Concentrazione:     57.0 ff/l\n"
        "\n"
        "Fonte bibliografica: Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989\n"
        "\n"
        "Stato: citato (fonte non verificata)\n"
        "Riferimento: G. Ig. Ind. 14:207, 1989\n"
        "Indirizzo: non reperito\n"
        "Posizione: non reperita\n"
        "Valore pubblicato: 0.004-0.057 ff/cc (campionamento ambientale)\n"
        "Metodo: " + std::string(method) + "\n";
    EXPECT_EQ(expected, run.out.substr(0, expected.size()));
    EXPECT_EQ("", run.err);
}

// Id 541 holds a published particle count converted to ff/cc; the show says
// how, and an indicative item says what it is.
TEST(CliShow, SourceRowTravelsWithTheItem)
{
    std::string converted = runQuorvel({"show", "541", "--unit", "cc"}).out;
    EXPECT_NE(std::string::npos, converted.find("Concentrazione:  10.6400 ff/cc\n")) << converted;
    EXPECT_NE(std::string::npos, converted.find("\nStato: citato\nRiferimento: Hughes JM, Weill H, Hammad YY."));
    EXPECT_NE(std::string::npos, converted.find("\nConversione: 7.6 mppcf x 1.4 ff/cc per mppcf"));
    EXPECT_NE(std::string::npos, runQuorvel({"show", "7"}).out.find(
                                     "\nStato: indicativo (valore dimostrativo, non è una misura pubblicata)\n"));
}

TEST(CliShow, TextInOneUnitIsThePanelTextOfEveryItem)
{
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord& node = *nodeAt(i);
        if (node.kind != Item)
            continue;
        SCOPED_TRACE(node.id);
        for (DisplayUnit unit : {PerCc, PerLitre}) {
            CliRun run = runQuorvel({"show", std::to_string(node.id), "--unit", unit ? "l" : "cc"});
            ASSERT_EQ(0, run.status);
            char text[PanelTextSize];
            formatItemDisplayText(node, unit, text, sizeof text);
            std::string panel = text;
            for (size_t p; (p = panel.find("\r\n")) != std::string::npos;)
                panel.erase(p, 1);
            size_t body = run.out.find("\n\n");
            ASSERT_NE(std::string::npos, body);
            EXPECT_EQ(panel + "\n\nStato: ", run.out.substr(body + 2, panel.size() + 9));
            EXPECT_EQ(static_cast<size_t>(placesOf(node.id)),
                      cliLines(run.out.substr(0, body)).size());
        }
    }
}

TEST(CliShow, PathsNameTheSameNodeAsItsId)
{
    struct Case {
        const char* path;
        const char* id;
    } cases[] = {
        {"Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)", "13"},
        {"Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)", "13"},
        {"amianto -> CICLO DI VITA -> bonifica -> decontaminazione in edifici (valore massimo)", "13"},
        {"Dati per nazione->Italia->Bonifica->Decontaminazione in edifici (valore minimo)", "14"},
        {"Opifici->Industria mineraria", "40"},
        {"Ciclo di vita->Estrazione->Cave di serpentinite, in atmosfera circostante", "35"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CliRun byPath = runQuorvel({"show", c.path});
        CliRun byId = runQuorvel({"show", c.id});
        EXPECT_EQ(0, byPath.status) << byPath.err;
        EXPECT_EQ(byId.out, byPath.out);
    }
    // The shared folder: found under each parent, listed first under its first link.
    std::vector<std::string> titles = cliLines(runQuorvel({"show", "40"}).out);
    ASSERT_EQ(3u, titles.size());
    EXPECT_EQ("Amianto->Ciclo di vita->Estrazione->Industria mineraria", titles[0]);
    EXPECT_EQ("Amianto\n", runQuorvel({"show", "Amianto"}).out);
}

TEST(CliShow, WrongIdsAndPathsAreNamed)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"show", "950"}, 1, "nessun elemento con ID 950"},
        {{"show", "0"}, 1, "nessun elemento con ID 0"},
        {{"show", "Ciclo di vita->Nulla"}, 1, "«Nulla» non è in «Amianto->Ciclo di vita»"},
        {{"show", "Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)->X"}, 1,
         "è una voce, non una cartella"},
        {{"show", "Ciclo di vita->->Bonifica"}, 2, "percorso con un nome vuoto"},
        {{"show"}, 2, "manca l'ID o il percorso"},
        {{"show", "1", "2"}, 2, "un solo ID o percorso"},
        {{"show", u8"Ciclo di vita->中"}, 2, "U+4E2D"},
        {{"show", "13", "--unit", "m3"}, 2, "unità sconosciuta «m3»"},
        {{"show", "13", "--colour"}, 2, "opzione sconosciuta «--colour»"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CliRun run = runQuorvel(c.args);
        EXPECT_EQ(c.status, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
        EXPECT_EQ("", run.out);
    }
}

TEST(CliSearch, ShippedDataGivesTheDialogsHitsAndCounter)
{
    CliRun run = runQuorvel({"search", "serpentinite"});
    EXPECT_EQ(0, run.status);
    std::vector<std::string> lines = cliLines(run.out);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ("Elementi trovati: 2 voci, 0 cartelle", lines[0]);
    EXPECT_EQ(0u, lines[1].find("V *\tCave di serpentinite, in atmosfera circostante\t"
                                "Valore massimo. Fonte: 55° Congr. Naz. Med. Lav., 1990\t35"));
    EXPECT_EQ(0u, lines[2].find("V\tCave di serpentinite, in atmosfera circostante indoor/outdoor\t"));

    for (const char* text : {"cemento amianto", "Cemento Amianto"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ("Elementi trovati: 5 voci, 10 cartelle", cliLines(runQuorvel({"search", text}).out)[0]);
    }
    // Several words on the command line make one text; a UTF-8 "°" reaches the data.
    EXPECT_EQ(runQuorvel({"search", "cemento amianto"}).out,
              runQuorvel({"search", "cemento", "amianto"}).out);
    EXPECT_NE(std::string::npos, runQuorvel({"search", u8"55° congr"}).out.find("\t35\n"));
}

TEST(CliSearch, RowsAndCounterEqualTheSearchEngineForEveryCriterion)
{
    struct Case {
        const char* text;
        const char* flag;
        bool advanced;
        SearchCriterion criterion;
    } cases[] = {
        {"amia", nullptr, false, SearchCriterion::And},
        {"bonifica", nullptr, false, SearchCriterion::And},
        {"cemento, amianto", "--and", true, SearchCriterion::And},
        {"serpentinite vetrerie", "--or", true, SearchCriterion::Or},
        {"amianto", "--not", true, SearchCriterion::Not},
        {"    ", "--and", true, SearchCriterion::And},
        {"    ", "--or", true, SearchCriterion::Or},
        {"fonte", nullptr, false, SearchCriterion::And},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text) + (c.flag ? c.flag : ""));
        std::vector<std::string> args = {"search"};
        if (c.flag)
            args.push_back(c.flag);
        args.push_back(c.text);
        CliRun run = runQuorvel(args);

        SearchQuery query;
        char caption[SearchTextSize];
        ASSERT_TRUE(prepareSearch(c.text, c.advanced, c.criterion, &query, caption, sizeof caption));
        SearchResults results;
        searchDatabase(query, &results);
        char counter[128];
        formatResultCounter(results.items, results.folders, counter, sizeof counter);
        std::string expected = std::string(counter) + "\n";
        for (const SearchHit& hit : results.hits) {
            const NodeRecord& node = *hit.record;
            expected += std::string(resultTypeCode(resultImage(node, hit.score))) + "\t" + node.name +
                        "\t" + (node.kind == Item ? node.bibliography : "") + "\t" +
                        std::to_string(node.id) + "\n";
        }
        EXPECT_EQ(expected, run.out);
        EXPECT_EQ(results.hits.empty() ? 1 : 0, run.status);
    }
}

TEST(CliSearch, CopyAndJsonOutputs)
{
    CliRun copy = runQuorvel({"search", "--copy", "serpentinite"});
    EXPECT_EQ(0u, copy.out.find("Risultati di ricerca in Quorvel\nTesto da cercare:\tserpentinite\n"
                                "Criterio di ricerca:\tnessuno\nElementi trovati: 2 voci, 0 cartelle\n"
                                "Tipo\tDescrizione\tBibliografia\nV *\tCave di serpentinite"));
    const std::string legend = "Legenda: \nB=Bibliografia \nC=Cartella \nV=Voce \n"
                               "*=concentrazione superiore a 100 ff/litro\n";
    EXPECT_EQ(copy.out.size() - legend.size(), copy.out.rfind(legend));

    CliRun json = runQuorvel({"search", "--json", "--or", "serpentinite"});
    EXPECT_NE(std::string::npos, json.out.find("\"criterion\": \"OR\""));
    EXPECT_NE(std::string::npos, json.out.find("{\"type\": \"V *\", \"id\": 35, \"kind\": \"item\", "
                                               "\"score\": 1, \"name\": \"Cave di serpentinite, in "
                                               "atmosfera circostante\""));
    EXPECT_NE(std::string::npos, json.out.find("\"ff_cc\": 0.18}"));
    CliRun none = runQuorvel({"search", "--json", "zzzzzzzz"});
    EXPECT_EQ(1, none.status);
    EXPECT_NE(std::string::npos, none.out.find("\"hits\": []"));
}

TEST(CliSearch, RefusalsNameWhatWasWrong)
{
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* message;
    } cases[] = {
        {{"search", "ami"}, 2, "almeno 4 caratteri! («ami»)"},
        {{"search", "--and", "amianto tra"}, 2, "almeno 4 caratteri! («tra»)"},
        {{"search", "--and", "--or", "amianto"}, 2, "un solo criterio"},
        {{"search", "--json", "--copy", "amianto"}, 2, "non vanno insieme"},
        {{"search"}, 2, "manca il testo"},
        {{"search", std::string(256, 'a')}, 2, "256 caratteri"},
        {{"search", "zzzzzzzz"}, 1, ""},
        {{"search", u8"amianto 中文"}, 2, "U+4E2D"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CliRun run = runQuorvel(c.args);
        EXPECT_EQ(c.status, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
    EXPECT_EQ("Elementi trovati: 0 voci, 0 cartelle\n", runQuorvel({"search", "zzzzzzzz"}).out);
    EXPECT_EQ(1, runQuorvel({"search", std::string(255, 'a')}).status);  // accepted, no hit
}

TEST(CliTree, EveryPlaceOfEveryNodeInTheTreesOrder)
{
    CliRun run = runQuorvel({"tree"});
    EXPECT_EQ(0, run.status);
    std::vector<std::string> lines = cliLines(run.out);
    EXPECT_EQ(static_cast<size_t>(allPlaces() + 1), lines.size());
    EXPECT_EQ("Amianto", lines[0]);

    // Siblings in collation order, each folder's children one level deeper.
    std::map<size_t, std::string> lastAtDepth;
    int industria = 0;
    for (size_t i = 1; i < lines.size(); ++i) {
        size_t indent = lines[i].find_first_not_of(' ');
        ASSERT_EQ(0u, indent % 2) << lines[i];
        std::string label = lines[i].substr(indent, lines[i].find('\t') - indent);
        auto previous = lastAtDepth.find(indent);
        if (previous != lastAtDepth.end()) {
            EXPECT_LE(cp1252Collate(previous->second.c_str(), label.c_str()), 0) << label;
        }
        lastAtDepth[indent] = label;
        for (auto it = lastAtDepth.begin(); it != lastAtDepth.end();)
            it = it->first > indent ? lastAtDepth.erase(it) : std::next(it);
        industria += label == "Industria mineraria";
    }
    EXPECT_EQ(3, industria);

    EXPECT_EQ("Amianto\n", runQuorvel({"tree", "--depth", "0"}).out);
    EXPECT_EQ("Amianto\n  Ciclo di vita\n  Dati per nazione\n  Opifici\n",
              runQuorvel({"tree", "--depth=1"}).out);
    // Every item carries its status: cited with its method, or indicative.
    std::string withIds = runQuorvel({"tree", "--unit", "l", "--ids"}).out;
    EXPECT_NE(std::string::npos,
              withIds.find("[13] Decontaminazione in edifici (valore massimo)\t57.0 ff/l\t" + itemStatusMark(13) + "\n"));
    unsigned indicative = 1;
    while (!findNode(indicative) || findNode(indicative)->kind != Item || findSource(indicative))
        ++indicative;
    size_t at = withIds.find("[" + std::to_string(indicative) + "] ");
    EXPECT_EQ(withIds.find('\n', at) - 13, withIds.find("\t[indicativo]\n", at));
    for (const char* bad : {"-1", "abc", "", "1e3"}) {
        SCOPED_TRACE(bad);
        CliRun refused = runQuorvel({"tree", "--depth", bad});
        EXPECT_EQ(2, refused.status);
        EXPECT_NE(std::string::npos, refused.err.find("--depth"));
    }
    EXPECT_EQ(2, runQuorvel({"tree", "extra"}).status);
}

TEST(CliExport, EveryItemOncePerPlaceInBothFormats)
{
    CliRun csv = runQuorvel({"export", "--csv"});
    ASSERT_EQ(0, csv.status);
    std::vector<std::string> lines = cliLines(csv.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ("id,path,name,ff_cc,ff_l,source,status,checked,reference,address,location,published,conversion",
              lines[0]);
    EXPECT_EQ(static_cast<size_t>(itemPlaces()), lines.size() - 1);

    std::set<std::pair<std::string, std::string>> places;
    std::set<unsigned> ids;
    for (size_t i = 1; i < lines.size(); ++i) {
        std::vector<std::string> f = csvRecord(lines[i]);
        ASSERT_EQ(13u, f.size()) << lines[i];
        const NodeRecord* node = findNode(static_cast<unsigned>(std::stoul(f[0])));
        ASSERT_NE(nullptr, node);
        EXPECT_EQ(Item, node->kind);
        EXPECT_EQ(node->name, f[2]);
        EXPECT_EQ(node->bibliography, f[5]);
        EXPECT_EQ(node->concentration, std::stod(f[3]));
        EXPECT_DOUBLE_EQ(node->concentration * 1000, std::stod(f[4]));
        EXPECT_TRUE(places.insert({f[0], f[1]}).second) << "twice: " << lines[i];
        EXPECT_EQ(0u, f[1].find("Amianto->"));
        const SourceRecord* source = findSource(node->id);
        EXPECT_EQ(source ? "citato" : "indicativo", f[6]);
        EXPECT_EQ(source ? source->reference : "", f[8]);
        ids.insert(node->id);
    }
    EXPECT_EQ(864u, ids.size());

    CliRun json = runQuorvel({"export", "--json"});
    EXPECT_EQ(0, json.status);
    size_t objects = 0;
    for (size_t p = 0; (p = json.out.find("\n  {\"id\": ", p)) != std::string::npos; ++p)
        ++objects;
    EXPECT_EQ(lines.size() - 1, objects);
    EXPECT_EQ(2, runQuorvel({"export", "--csv", "--json"}).status);
}
