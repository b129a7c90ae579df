// Search over the node table: one pass of plain substring tests on the
// lower-cased fields, no index.
#include "app/browse/search_engine.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

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

// Lower-cased copy of a fixed-size field; reads no further than the field
// even when it lacks its NUL. out holds fieldSize + 1 bytes.
void lowerField(const char* field, size_t fieldSize, char* out)
{
    cp1252LowerCopy(field, out, fieldSize + 1);
}

bool containsAll(const char* text, const std::vector<std::string>& words)
{
    for (const std::string& w : words)
        if (!std::strstr(text, w.c_str()))
            return false;
    return true;
}

bool containsAny(const char* text, const std::vector<std::string>& words)
{
    for (const std::string& w : words)
        if (std::strstr(text, w.c_str()))
            return true;
    return false;
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
    if (!query.advanced) {
        const char* p = query.pattern.c_str();
        return (std::strstr(lowerBibliography, p) ? 4 : 0) + (std::strstr(lowerName, p) ? 1 : 0);
    }
    switch (query.criterion) {
    case SearchCriterion::And:
        return (containsAll(lowerBibliography, query.words) ? 4 : 0)
             + (containsAll(lowerName, query.words) ? 1 : 0);
    case SearchCriterion::Or:
        return (containsAny(lowerBibliography, query.words) ? 4 : 0)
             + (containsAny(lowerName, query.words) ? 1 : 0);
    case SearchCriterion::Not:
        if (containsAny(lowerBibliography, query.words) || containsAny(lowerName, query.words))
            return 0;
        return 5;
    }
    return 0;
}

void searchNodes(const SearchQuery& query, const NodeRecord* nodes, int count,
                 SearchResults* results)
{
    results->hits.clear();
    results->items = 0;
    results->folders = 0;

    char name[sizeof nodes->name + 1];
    char bibliography[sizeof nodes->bibliography + 1];
    for (int i = 0; i < count; ++i) {
        const NodeRecord& node = nodes[i];
        lowerField(node.name, sizeof node.name, name);
        lowerField(node.bibliography, sizeof node.bibliography, bibliography);
        int score = matchScore(query, name, bibliography);
        if (score <= 0 || node.id == 0)
            continue;
        if (node.kind == Item)
            ++results->items;
        else
            ++results->folders;
        results->hits.push_back({&node, score});
    }

    // The dialog's list keeps its rows sorted by label; equal labels keep
    // table order.
    std::stable_sort(results->hits.begin(), results->hits.end(),
                     [](const SearchHit& a, const SearchHit& b) {
                         return cp1252Collate(a.record->name, b.record->name) < 0;
                     });
}

void searchDatabase(const SearchQuery& query, SearchResults* results)
{
    searchNodes(query, NodeTable, nodeCount(), results);
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
