// Figures of the shipped data for the album's charts.
#include "tools/albumgen/album_data.h"

#include "app/database/database.h"

#include <algorithm>
#include <cmath>
#include <set>

namespace {

FolderFigures figuresOf(const std::string& name, const std::vector<unsigned>& items)
{
    FolderFigures figures;
    figures.name = name;
    for (unsigned id : items) {
        const NodeRecord* node = findNode(id);
        if (!node) continue;
        figures.concentrations.push_back(node->concentration);
        if (node->concentration >= LimitFfCc) ++figures.atOrAboveLimit;
        if (node->concentration <= 0) ++figures.zero;
    }
    std::sort(figures.concentrations.begin(), figures.concentrations.end());
    return figures;
}

}  // namespace

std::vector<unsigned> itemsUnder(unsigned folderId)
{
    std::set<unsigned> items;
    std::set<unsigned> seenFolders;
    std::vector<unsigned> pending{folderId};
    uint16_t children[1100];
    while (!pending.empty()) {
        unsigned folder = pending.back();
        pending.pop_back();
        if (!seenFolders.insert(folder).second) continue;
        int count = std::min(childIdsOf(folder, children, 1100), 1100);
        for (int i = 0; i < count; ++i) {
            const NodeRecord* child = findNode(children[i]);
            if (!child) continue;
            if (child->kind == Item) items.insert(child->id);
            else pending.push_back(child->folderId);
        }
    }
    return std::vector<unsigned>(items.begin(), items.end());
}

std::vector<FolderFigures> folderFigures()
{
    std::vector<FolderFigures> result;
    uint16_t top[64];
    int count = std::min(childIdsOf(RootFolderId, top, 64), 64);
    for (int i = 0; i < count; ++i) {
        const NodeRecord* folder = findNode(top[i]);
        if (folder && folder->kind == Folder) result.push_back(figuresOf(folder->name, itemsUnder(folder->folderId)));
    }
    std::vector<unsigned> all;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node && node->kind == Item) all.push_back(node->id);
    }
    result.push_back(figuresOf("Tutta la banca dati", all));
    return result;
}

std::vector<int> decadeCounts(const std::vector<double>& values, int firstDecade, int decades)
{
    std::vector<int> counts(static_cast<size_t>(std::max(decades, 0)), 0);
    for (double value : values) {
        if (!(value > 0)) continue;
        // floor(log10) misplaces exact powers of ten by rounding; correct it.
        int decade = static_cast<int>(std::floor(std::log10(value)));
        if (std::pow(10.0, decade + 1) <= value) ++decade;
        if (std::pow(10.0, decade) > value) --decade;
        int slot = decade - firstDecade;
        if (slot >= 0 && slot < decades) ++counts[static_cast<size_t>(slot)];
    }
    return counts;
}
