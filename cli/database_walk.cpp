// Walks over the database as the desktop tree shows it: sorted children,
// and every place of a shared node with the panel's title for it.
#include "cli/cli_internal.h"

#include <algorithm>
#include <cstring>

#include "app/browse/item_text.h"
#include "app/database/database.h"
#include "common/cp1252.h"

namespace {

constexpr size_t LabelCapacity = 128;  // the tree reads labels up to 127 characters
constexpr int MaxDepth = 32;           // deeper than any real tree: a loop in the links

std::string treeLabel(const char* name)
{
    size_t n = strnlen(name, LabelCapacity - 1);
    return std::string(name, n);
}

// Upward paths (leaf first, "<-" between labels) of every place of the node
// with the given node id, whose own label chain so far is `path`.
void collectUpward(unsigned nodeId, const std::string& path, int depth,
                   std::vector<std::string>* out)
{
    if (depth > MaxDepth)
        return;
    for (int i = 0; i < linkCount(); ++i) {
        const LinkRecord& link = LinkTable[i];
        if (link.childId != nodeId)
            continue;
        char buffer[PanelTitleSize];
        size_t n = std::min(path.size(), sizeof buffer - 1);
        std::memcpy(buffer, path.data(), n);
        buffer[n] = '\0';
        if (link.parentFolderId == RootFolderId) {
            appendUpwardLabel(buffer, sizeof buffer, "Amianto");
            out->push_back(buffer);
            continue;
        }
        const NodeRecord* folder = findFolder(link.parentFolderId);
        if (!folder)
            continue;
        appendUpwardLabel(buffer, sizeof buffer, treeLabel(folder->name).c_str());
        collectUpward(folder->id, buffer, depth + 1, out);
    }
}

std::vector<std::string> upwardPathsOf(const NodeRecord& node)
{
    std::vector<std::string> upward;
    collectUpward(node.id, treeLabel(node.name), 0, &upward);
    return upward;
}

std::string titleOf(const std::string& upward)
{
    char title[PanelTitleSize];
    upwardPathToTitle(upward.c_str(), title, sizeof title);
    return title;
}

}  // namespace

std::vector<TreeChild> sortedChildren(unsigned folderId)
{
    TreeChild probe[1];
    int total = treeChildrenOf(folderId, probe, 0);
    std::vector<TreeChild> children(static_cast<size_t>(total));
    if (total > 0)
        treeChildrenOf(folderId, children.data(), total);
    std::stable_sort(children.begin(), children.end(), [](const TreeChild& a, const TreeChild& b) {
        return cp1252Collate(a.record->name, b.record->name) < 0;
    });
    return children;
}

std::vector<std::string> panelTitlesOf(const NodeRecord& node)
{
    std::vector<std::string> titles;
    for (const std::string& upward : upwardPathsOf(node))
        titles.push_back(titleOf(upward));
    return titles;
}

std::vector<std::string> folderPathsOf(const NodeRecord& node)
{
    std::vector<std::string> paths;
    // Drop the node's own label, the first of the upward path (a label may
    // itself hold "<-", so go by its length).
    size_t own = treeLabel(node.name).size() + 2;
    for (const std::string& upward : upwardPathsOf(node))
        paths.push_back(upward.size() > own ? titleOf(upward.substr(own)) : std::string());
    return paths;
}
