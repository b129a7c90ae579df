// Cost of the database's plain linear scans: one pass over the whole node
// table (as the search makes), and the expansion of the folder with the most
// links, where each link scans the node table once per pass, twice in all
// (sub-folders first, then items), as the tree does.
#include <benchmark/benchmark.h>

#include "app/database/database.h"

namespace {

void wholeTableScan(benchmark::State& state) {
    for (auto _ : state) {
        int atLeastTenth = 0;
        for (int i = 0; i < nodeCount(); ++i) {
            const NodeRecord* node = nodeAt(i);
            atLeastTenth += node->kind == Item && node->concentration >= 0.1;
        }
        benchmark::DoNotOptimize(atLeastTenth);
    }
    state.SetItemsProcessed(state.iterations() * nodeCount());
}
BENCHMARK(wholeTableScan);

unsigned largestFolder() {
    unsigned best = RootFolderId;
    int most = childIdsOf(RootFolderId, nullptr, 0);
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind != Folder || node->id == 0) continue;
        int links = childIdsOf(node->folderId, nullptr, 0);
        if (links > most) {
            most = links;
            best = node->folderId;
        }
    }
    return best;
}

// The expansion's own walk: the link table in order, and for each link of
// the folder the whole node table, without stopping at the first match.
void expandLargestFolder(benchmark::State& state) {
    const unsigned folderId = largestFolder();
    int links = 0;
    for (auto _ : state) {
        int inserted = 0;
        links = 0;
        for (uint32_t pass : {uint32_t(Folder), uint32_t(Item)}) {
            for (int l = 0; l < linkCount(); ++l) {
                if (LinkTable[l].parentFolderId != folderId) continue;
                links += pass == Folder;
                for (int i = 0; i < nodeCount(); ++i)
                    inserted += NodeTable[i].id == LinkTable[l].childId && NodeTable[i].kind == pass;
            }
        }
        benchmark::DoNotOptimize(inserted);
    }
    state.counters["folderId"] = folderId;
    state.counters["links"] = links;
}
BENCHMARK(expandLargestFolder);

}  // namespace
