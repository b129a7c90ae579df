// Figures of the shipped data that the album charts: the items under each
// top-level folder of the tree (every item reachable from it, counted once
// although the tree shows shared items in several places) and how many of
// them reach the 0.1 ff/cc limit. Standard C++ over the database lookups.
#pragma once

#include <string>
#include <vector>

// The warning threshold of the search results: 0.1 ff/cc (100 ff/l).
constexpr double LimitFfCc = 0.1;

struct FolderFigures {
    std::string name;                    // the folder's label, Windows-1252
    std::vector<double> concentrations;  // ff/cc, one per distinct item, ascending
    int atOrAboveLimit = 0;              // items with concentration >= LimitFfCc
    int zero = 0;                        // items recorded as 0 (not on a log axis)
};

// One entry per child folder of the root, in link order, then one named
// "Tutta la banca dati" for every item of the table.
std::vector<FolderFigures> folderFigures();

// Node ids of the distinct items reachable from a folder id, ascending.
std::vector<unsigned> itemsUnder(unsigned folderId);

// Counts of values per decade [10^k, 10^(k+1)) for k = firstDecade ..
// firstDecade + decades - 1; values outside the range or not above 0 are not
// counted.
std::vector<int> decadeCounts(const std::vector<double>& values, int firstDecade, int decades);
