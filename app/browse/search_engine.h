// The database search behind the search dialog: a simple search for the text
// as one phrase, or an advanced search for its words combined with AND, OR or
// NOT; the scores, types and images of the hits; the counter label; and the
// path that leads the main window's tree to a chosen hit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct NodeRecord;

enum class SearchCriterion : uint32_t { And = 0, Or = 1, Not = 2 };

constexpr size_t SearchTextSize = 256;  // the edit box takes 255 characters
constexpr size_t SearchMinLength = 4;   // per text and, when advanced, per word

// Lives for the whole run; all zero is the start state (simple, And, empty).
struct SearchSettings {
    bool advanced;
    SearchCriterion criterion;
    char lastText[SearchTextSize];
};

extern const char SearchTooShortText[];  // text of the message box

struct SearchQuery {
    bool advanced = false;
    SearchCriterion criterion = SearchCriterion::And;
    std::string pattern;             // simple: the whole lower-cased text
    std::vector<std::string> words;  // advanced: the lower-cased words
};

// Reads a search text (at most its first 255 characters) into a query. False
// when the text, or when advanced one of its words, has fewer than 4
// characters; caption then holds what the message box is captioned with:
// the text as typed, or the first short word lower-cased.
bool prepareSearch(const char* text, bool advanced, SearchCriterion criterion,
                   SearchQuery* query, char* caption, size_t captionSize);

// 4 when the bibliography matches, plus 1 when the name matches; both texts
// already lower-cased. A Not hit scores 5 or nothing.
int matchScore(const SearchQuery& query, const char* lowerName, const char* lowerBibliography);

struct SearchHit {
    const NodeRecord* record;
    int score;
};

struct SearchResults {
    std::vector<SearchHit> hits;  // sorted by name, see cp1252Collate
    unsigned items = 0;
    unsigned folders = 0;
};

// Scores every record of nodes[0..count) in table order; the placeholder
// (id 0) is never a hit. Folds the records' texts at each call.
void searchNodes(const SearchQuery& query, const NodeRecord* nodes, int count,
                 SearchResults* results);
// The same over the database, whose texts are folded at the first call only.
void searchDatabase(const SearchQuery& query, SearchResults* results);

// Items from this concentration on carry the warning mark ("*").
constexpr double WarningConcentration = 0.1;

// Value attached to a result row: the node id, plus 0x10000 for an item.
uint32_t resultTag(const NodeRecord& node);

// Image of a result row: 7 folder, 9/13 item hit in its source only,
// 20/21 item hit in its description (13 and 21 with the warning mark).
int resultImage(const NodeRecord& node, int score);

// "C", "B", "B *", "V" or "V *" for a row's image; "" for another image.
const char* resultTypeCode(int image);

// "Elementi trovati: %u voc%s, %u cartell%s" (voce/voci, cartella/cartelle).
void formatResultCounter(unsigned items, unsigned folders, char* out, size_t size);

// "AND", "OR" or "NOT" for an advanced search, else "nessuno".
const char* criterionName(bool advanced, SearchCriterion criterion);

// Label of a criterion button: ">-AND-<" when it is the current criterion.
const char* criterionButtonLabel(SearchCriterion button, SearchCriterion current);

// The path from a hit up to its top-level folder, each step through the
// first parent link: node ids, element first, root excluded, 0-terminated.
constexpr size_t LocatePathSize = 32;

// Fills path (capacity entries including the terminating 0) and returns the
// number of ids. Returns 0 with path[0] = 0 when the node cannot be traced up
// to the root or the path would not fit, so a caller never walks a broken path.
size_t buildLocatePath(unsigned nodeId, uint16_t* path, size_t capacity);
