// The search on any typed text: the query it makes, the scores over the whole
// database and over records whose texts are as long as the database allows,
// and the paths to the hits.
#include "app/browse/search_engine.h"

#include "app/database/database.h"
#include "common/cp1252.h"
#include "fuzz/fuzz_support.h"

#include <memory>
#include <string>

namespace {

// The score from its definition: the bibliography 4, the name 1, a Not hit 5.
int expectedScore(const SearchQuery& query, const char* name, const char* bibliography) {
    auto has = [](const char* text, const std::string& word) {
        return cp1252ContainsNoCase(text, word.c_str());
    };
    if (!query.advanced)
        return (has(bibliography, query.pattern) ? 4 : 0) + (has(name, query.pattern) ? 1 : 0);
    auto all = [&](const char* text) {
        for (const std::string& w : query.words)
            if (!has(text, w)) return false;
        return true;
    };
    auto any = [&](const char* text) {
        for (const std::string& w : query.words)
            if (has(text, w)) return true;
        return false;
    };
    switch (query.criterion) {
    case SearchCriterion::And: return (all(bibliography) ? 4 : 0) + (all(name) ? 1 : 0);
    case SearchCriterion::Or: return (any(bibliography) ? 4 : 0) + (any(name) ? 1 : 0);
    case SearchCriterion::Not: return any(bibliography) || any(name) ? 0 : 5;
    }
    return -1;
}

void checkResults(const SearchQuery& query, const NodeRecord* nodes, int count,
                  const SearchResults& results) {
    unsigned items = 0, folders = 0;
    for (size_t i = 0; i < results.hits.size(); ++i) {
        const NodeRecord& node = *results.hits[i].record;
        (node.kind == Item ? items : folders) += 1;
        if (i >= 64) continue;  // the full checks on the first rows keep the run fast
        FUZZ_CHECK(&node >= nodes && &node < nodes + count);
        FUZZ_CHECK(node.id != 0);
        FUZZ_CHECK(results.hits[i].score == expectedScore(query, node.name, node.bibliography));
        FUZZ_CHECK(results.hits[i].score > 0);
        if (i > 0) FUZZ_CHECK(cp1252Collate(results.hits[i - 1].record->name, node.name) <= 0);
        int image = resultImage(node, results.hits[i].score);
        FUZZ_CHECK(*resultTypeCode(image) != '\0');
    }
    FUZZ_CHECK(items == results.items && folders == results.folders);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput input(data, size);
    const uint8_t flags = input.byte();
    const bool advanced = flags & 1;
    const SearchCriterion criterion = static_cast<SearchCriterion>((flags >> 1) % 3);
    const std::string typed = input.line();
    ExactString text(typed);

    const size_t captionSize = flags >> 3;  // 0 to 31
    ExactBuffer caption(captionSize);
    SearchQuery query;
    if (!prepareSearch(text.c_str(), advanced, criterion, &query, caption.data(), captionSize)) {
        if (captionSize) FUZZ_CHECK(caption.terminatedBy(captionSize - 1));
        return 0;
    }
    FUZZ_CHECK(typed.size() >= SearchMinLength);
    if (advanced) {
        FUZZ_CHECK(!query.words.empty() || typed.find_first_not_of(" ,\t\n") == std::string::npos);
        for (const std::string& word : query.words) {
            FUZZ_CHECK(word.size() >= SearchMinLength && word.size() < SearchTextSize);
            FUZZ_CHECK(word.find_first_of(" ,\t\n") == std::string::npos);
        }
    } else {
        FUZZ_CHECK(query.pattern.size() >= SearchMinLength && query.pattern.size() < SearchTextSize);
    }

    // Records made of the rest of the input, texts of the longest length the
    // database allows; a NUL in the input ends a text early.
    const std::string rest = input.rest();
    auto nodes = std::make_unique<NodeRecord[]>(3);
    std::string texts[3][2];
    for (int i = 0; i < 3; ++i) {
        NodeRecord& node = nodes[i];
        node = NodeRecord();
        node.id = static_cast<uint16_t>(i);
        node.kind = i == 1 ? Folder : Item;
        node.concentration = i * 0.05;
        std::string source = rest.substr(std::min(rest.size(), size_t(i) * 7));
        std::string& name = texts[i][0];
        std::string& bibliography = texts[i][1];
        for (size_t b = 0; b + 1 < NodeNameSize; ++b)
            name += source.empty() ? 'a' : source[b % source.size()];
        for (size_t b = 0; b + 1 < NodeBibliographySize; ++b)
            bibliography += source.empty() ? 'b' : source[(b + 3) % source.size()];
        node.name = name.c_str();
        node.bibliography = bibliography.c_str();
    }
    SearchResults own;
    searchNodes(query, nodes.get(), 3, &own);
    checkResults(query, nodes.get(), 3, own);

    SearchResults all;
    searchDatabase(query, &all);
    checkResults(query, NodeTable, nodeCount(), all);
    for (size_t i = 0; i < all.hits.size() && i < 8; ++i) {
        const SearchHit& hit = all.hits[i];
        uint16_t path[LocatePathSize];
        size_t length = buildLocatePath(hit.record->id, path, LocatePathSize);
        FUZZ_CHECK(length < LocatePathSize && path[length] == 0);
        if (length > 0) FUZZ_CHECK(path[0] == hit.record->id);
    }
    return 0;
}
