// The search over the whole node table, as the search dialog runs it: the
// typed text prepared into a query, the table's folded texts tested, the hits
// listed in name order; and the path from a hit up to the tree's root. The
// table is folded once, at the first search, outside the timed loop.
#include <benchmark/benchmark.h>

#include "app/browse/search_engine.h"
#include "app/database/database.h"

namespace {

void search(benchmark::State& state, const char* text, bool advanced, SearchCriterion criterion) {
    SearchQuery query;
    char caption[SearchTextSize];
    if (!prepareSearch(text, advanced, criterion, &query, caption, sizeof caption)) {
        state.SkipWithError("the search text is refused");
        return;
    }
    SearchResults results;
    searchDatabase(query, &results);  // the run's first search folds the table
    for (auto _ : state) {
        searchDatabase(query, &results);
        benchmark::DoNotOptimize(results.hits.data());
    }
    state.counters["hits"] = static_cast<double>(results.hits.size());
    state.counters["records"] = nodeCount();
}

// One phrase, few hits, and a common word with many hits to sort.
BENCHMARK_CAPTURE(search, simpleFewHits, "serpentinite", false, SearchCriterion::And);
BENCHMARK_CAPTURE(search, simpleManyHits, "amianto", false, SearchCriterion::And);
// Three words under each criterion; Not keeps nearly every record.
BENCHMARK_CAPTURE(search, advancedAnd3, "cemento amianto lastre", true, SearchCriterion::And);
BENCHMARK_CAPTURE(search, advancedOr3, "cemento amianto lastre", true, SearchCriterion::Or);
BENCHMARK_CAPTURE(search, advancedNot3, "cemento amianto lastre", true, SearchCriterion::Not);

// The longest LocatePath the shipped tree has, built from its item.
void locatePath(benchmark::State& state) {
    unsigned deepest = 0;
    size_t longest = 0;
    uint16_t path[LocatePathSize];
    for (int i = 0; i < nodeCount(); ++i) {
        size_t length = buildLocatePath(nodeAt(i)->id, path, LocatePathSize);
        if (length > longest) {
            longest = length;
            deepest = nodeAt(i)->id;
        }
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(buildLocatePath(deepest, path, LocatePathSize));
    }
    state.counters["nodeId"] = deepest;
    state.counters["steps"] = static_cast<double>(longest);
}
BENCHMARK(locatePath);

}  // namespace
