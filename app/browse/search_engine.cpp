// Search over the node table: one pass of plain substring tests on the
// lower-cased texts, no index. The database's texts are folded (each distinct
// text kept once) and its records ranked by name once per run; a search then
// only tests texts and lists its hits in that order.
#include "app/browse/search_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <unordered_map>

#include "app/database/database.h"
#include "common/cp1252.h"

const char SearchTooShortText[] = "Attenzione: il testo da cercare deve contenere almeno 4 caratteri!";

namespace {

const char WordSeparators[] = " ,\t\n";

void copyBounded(const char* text, size_t length, char* out, size_t size)
{
    if (size == 0)
        return;
    size_t n = length < size - 1 ? length : size - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

// Which pairs of adjacent bytes a folded text holds, hashed into 256 bits. A
// text lacking one of a word's pairs cannot contain the word, so most texts
// are passed over without a substring test.
struct PairSet {
    uint64_t bits[4] = {0, 0, 0, 0};

    void add(unsigned char a, unsigned char b)
    {
        const uint32_t h = ((static_cast<uint32_t>(a) << 8 | b) * 2654435761u) >> 24;
        bits[h >> 6] |= uint64_t(1) << (h & 63);
    }
    bool holds(const PairSet& other) const
    {
        for (int i = 0; i < 4; ++i)
            if ((bits[i] & other.bits[i]) != other.bits[i])
                return false;
        return true;
    }
};

// A folded word with what makes testing it fast: its pairs, its length, and
// the place of its byte that is rarest in the table, which memchr looks for.
struct Word {
    const char* text;
    size_t length;
    size_t anchor;
    PairSet pairs;
};

// As strstr, on a text whose length is known.
bool containsWord(const char* text, size_t length, const Word& word)
{
    if (word.length == 0)
        return true;
    if (word.length > length)
        return false;
    const char wanted = word.text[word.anchor];
    const char* p = text + word.anchor;
    const char* stop = text + (length - word.length) + word.anchor + 1;
    while (p < stop) {
        p = static_cast<const char*>(std::memchr(p, wanted, static_cast<size_t>(stop - p)));
        if (!p)
            return false;
        if (std::memcmp(p - word.anchor, word.text, word.length) == 0)
            return true;
        ++p;
    }
    return false;
}

PairSet pairsOf(const char* text)
{
    PairSet set;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); p[0] && p[1]; ++p)
        set.add(p[0], p[1]);
    return set;
}

// Records of one table with their texts lower-cased and their place in the
// list's order: sorted by label, equal labels in table order. Each distinct
// folded text is kept once, so a search tests it once: most bibliographies
// repeat a few standard sentences.
struct FoldedTable {
    const NodeRecord* nodes = nullptr;
    std::vector<std::string> texts;       // the distinct folded texts
    std::vector<PairSet> pairs;           // of each distinct text
    std::vector<uint32_t> nameText;       // per record, index into texts
    std::vector<uint32_t> bibliographyText;
    uint32_t byteCounts[256] = {};        // how often each byte occurs in texts
    std::vector<uint32_t> rank;           // place of a record in the sorted list
    std::vector<uint32_t> byRank;         // the record at each place
};

uint32_t addFolded(const char* source, std::unordered_map<std::string, uint32_t>* known,
                   FoldedTable* table)
{
    std::string folded(source);
    cp1252LowerInPlace(&folded[0]);
    auto found = known->find(folded);
    if (found != known->end())
        return found->second;
    const uint32_t index = static_cast<uint32_t>(table->texts.size());
    known->emplace(folded, index);
    for (char c : folded)
        ++table->byteCounts[static_cast<unsigned char>(c)];
    table->pairs.push_back(pairsOf(folded.c_str()));
    table->texts.push_back(std::move(folded));
    return index;
}

void foldTable(const NodeRecord* nodes, int count, FoldedTable* table)
{
    const size_t n = count > 0 ? static_cast<size_t>(count) : 0;
    table->nodes = nodes;
    table->nameText.resize(n);
    table->bibliographyText.resize(n);
    std::unordered_map<std::string, uint32_t> known;
    for (size_t i = 0; i < n; ++i) {
        table->nameText[i] = addFolded(nodes[i].name, &known, table);
        table->bibliographyText[i] = addFolded(nodes[i].bibliography, &known, table);
    }

    std::vector<uint32_t>& order = table->byRank;
    order.resize(n);
    for (size_t i = 0; i < n; ++i)
        order[i] = static_cast<uint32_t>(i);
    std::stable_sort(order.begin(), order.end(), [nodes](uint32_t a, uint32_t b) {
        return cp1252Collate(nodes[a].name, nodes[b].name) < 0;
    });
    table->rank.resize(n);
    for (size_t i = 0; i < n; ++i)
        table->rank[order[i]] = static_cast<uint32_t>(i);
}

// The scoring rule over any test of "field contains word w" (field 0 is the
// bibliography, 1 the name; a simple search is the one word of its pattern).
template <typename Contains>
int scoreWith(const SearchQuery& query, Contains contains)
{
    auto all = [&](int field) {
        for (size_t w = 0; w < query.words.size(); ++w)
            if (!contains(field, w))
                return false;
        return true;
    };
    auto any = [&](int field) {
        for (size_t w = 0; w < query.words.size(); ++w)
            if (contains(field, w))
                return true;
        return false;
    };
    if (!query.advanced)
        return (contains(0, 0) ? 4 : 0) + (contains(1, 0) ? 1 : 0);
    switch (query.criterion) {
    case SearchCriterion::And: return (all(0) ? 4 : 0) + (all(1) ? 1 : 0);
    case SearchCriterion::Or: return (any(0) ? 4 : 0) + (any(1) ? 1 : 0);
    case SearchCriterion::Not: return any(0) || any(1) ? 0 : 5;
    }
    return 0;
}

void searchFolded(const SearchQuery& query, const FoldedTable& table, SearchResults* results)
{
    results->hits.clear();
    results->items = 0;
    results->folders = 0;

    std::vector<Word> words;
    auto addWord = [&](const char* text) {
        Word word{text, std::strlen(text), 0, pairsOf(text)};
        for (size_t k = 1; k < word.length; ++k)
            if (table.byteCounts[static_cast<unsigned char>(text[k])]
                < table.byteCounts[static_cast<unsigned char>(text[word.anchor])])
                word.anchor = k;
        words.push_back(word);
    };
    if (!query.advanced)
        addWord(query.pattern.c_str());
    else
        for (const std::string& w : query.words)
            addWord(w.c_str());

    // Whether each distinct text holds each word: 1 yes, 0 no, -1 not yet tested.
    std::vector<signed char> tested(table.texts.size() * words.size(), -1);
    auto contains = [&](uint32_t text, size_t w) {
        signed char& known = tested[text * words.size() + w];
        if (known < 0) {
            const std::string& t = table.texts[text];
            known = table.pairs[text].holds(words[w].pairs) && containsWord(t.data(), t.size(), words[w]);
        }
        return known != 0;
    };

    const size_t count = table.rank.size();
    std::vector<int> scoreAtRank(count, 0);
    for (size_t i = 0; i < count; ++i) {
        const NodeRecord& node = table.nodes[i];
        if (node.id == 0)
            continue;
        const uint32_t fields[2] = {table.bibliographyText[i], table.nameText[i]};
        int score = scoreWith(query, [&](int field, size_t w) { return contains(fields[field], w); });
        if (score <= 0)
            continue;
        if (node.kind == Item)
            ++results->items;
        else
            ++results->folders;
        scoreAtRank[table.rank[i]] = score;
    }

    // The dialog's list keeps its rows sorted by label: the hits in the
    // order of their places, worked out once.
    results->hits.reserve(results->items + results->folders);
    for (size_t r = 0; r < count; ++r)
        if (scoreAtRank[r] > 0)
            results->hits.push_back({&table.nodes[table.byRank[r]], scoreAtRank[r]});
}

}  // namespace

bool prepareSearch(const char* text, bool advanced, SearchCriterion criterion,
                   SearchQuery* query, char* caption, size_t captionSize)
{
    size_t length = 0;
    while (length < SearchTextSize - 1 && text[length])
        ++length;

    if (captionSize > 0)
        caption[0] = '\0';
    if (length < SearchMinLength) {
        copyBounded(text, length, caption, captionSize);
        return false;
    }

    std::string lowered(text, length);
    cp1252LowerInPlace(&lowered[0]);

    query->advanced = advanced;
    query->criterion = criterion;
    query->pattern.clear();
    query->words.clear();
    if (!advanced) {
        query->pattern = lowered;
        return true;
    }

    size_t pos = 0;
    while ((pos = lowered.find_first_not_of(WordSeparators, pos)) != std::string::npos) {
        size_t end = lowered.find_first_of(WordSeparators, pos);
        if (end == std::string::npos)
            end = lowered.size();
        std::string word = lowered.substr(pos, end - pos);
        if (word.size() < SearchMinLength) {
            copyBounded(word.data(), word.size(), caption, captionSize);
            query->words.clear();
            return false;
        }
        query->words.push_back(word);
        pos = end;
    }
    return true;
}

int matchScore(const SearchQuery& query, const char* lowerName, const char* lowerBibliography)
{
    return scoreWith(query, [&](int field, size_t w) {
        const char* word = query.advanced ? query.words[w].c_str() : query.pattern.c_str();
        return std::strstr(field == 0 ? lowerBibliography : lowerName, word) != nullptr;
    });
}

void searchNodes(const SearchQuery& query, const NodeRecord* nodes, int count,
                 SearchResults* results)
{
    FoldedTable table;
    foldTable(nodes, count, &table);
    searchFolded(query, table, results);
}

void searchDatabase(const SearchQuery& query, SearchResults* results)
{
    // The table never changes during a run: fold it on the first search.
    static const FoldedTable database = [] {
        FoldedTable table;
        foldTable(NodeTable, nodeCount(), &table);
        return table;
    }();
    searchFolded(query, database, results);
}

uint32_t resultTag(const NodeRecord& node)
{
    return node.kind == Item ? 0x10000u + node.id : node.id;
}

int resultImage(const NodeRecord& node, int score)
{
    if (node.kind != Item)
        return 7;
    const bool warning = node.concentration >= WarningConcentration;
    if (score == 4)
        return warning ? 13 : 9;
    return warning ? 21 : 20;
}

const char* resultTypeCode(int image)
{
    switch (image) {
    case 7: return "C";
    case 9: return "B";
    case 13: return "B *";
    case 20: return "V";
    case 21: return "V *";
    default: return "";
    }
}

void formatResultCounter(unsigned items, unsigned folders, char* out, size_t size)
{
    std::snprintf(out, size, "Elementi trovati: %u voc%s, %u cartell%s",
                  items, items == 1 ? "e" : "i", folders, folders == 1 ? "a" : "e");
}

const char* criterionName(bool advanced, SearchCriterion criterion)
{
    if (!advanced)
        return "nessuno";
    switch (criterion) {
    case SearchCriterion::Or: return "OR";
    case SearchCriterion::Not: return "NOT";
    default: return "AND";
    }
}

const char* criterionButtonLabel(SearchCriterion button, SearchCriterion current)
{
    const bool marked = button == current;
    switch (button) {
    case SearchCriterion::Or: return marked ? ">-OR-<" : "OR";
    case SearchCriterion::Not: return marked ? ">-NOT-<" : "NOT";
    default: return marked ? ">-AND-<" : "AND";
    }
}

size_t buildLocatePath(unsigned nodeId, uint16_t* path, size_t capacity)
{
    if (capacity == 0)
        return 0;
    path[0] = 0;

    size_t n = 0;
    unsigned current = nodeId;
    unsigned folder = firstParentOf(current);
    for (;;) {
        // No parent link, or a parent without its folder record: the node
        // cannot be reached from the root. A full buffer means a path that
        // cannot be real (the tree is 7 levels deep).
        if (current == 0 || folder == 0 || n + 1 >= capacity) {
            path[0] = 0;
            return 0;
        }
        path[n++] = static_cast<uint16_t>(current);
        if (folder == RootFolderId)
            break;
        const NodeRecord* record = findFolder(folder);
        if (!record) {
            path[0] = 0;
            return 0;
        }
        current = record->id;
        folder = firstParentOf(current);
    }
    path[n] = 0;
    return n;
}
