// The tree's view of the database: tags, images, children on expansion.
#include "app/browse/tree_model.h"

#include <cstddef>
#include <vector>

#include "app/database/database.h"

int panelImageForTag(TreeTag tag)
{
    if (isItemTag(tag))
        return ImageSelectedItem;
    return tagNumber(tag) == RootFolderId ? ImageRoot : ImageFolder;
}

int treeChildrenOf(unsigned folderId, TreeChild* out, int capacity)
{
    uint16_t probe[1];
    std::vector<uint16_t> ids(static_cast<size_t>(childIdsOf(folderId, probe, 0)));
    childIdsOf(folderId, ids.data(), static_cast<int>(ids.size()));

    int total = 0;
    // Two passes: the insertion order puts sub-folders before items; the
    // control's sorted insertion decides where each one finally stands.
    for (uint32_t pass : {static_cast<uint32_t>(Folder), static_cast<uint32_t>(Item)}) {
        for (uint16_t id : ids) {
            const NodeRecord* node = findNode(id);
            if (!node || node->kind != pass)
                continue;
            if (total < capacity) {
                TreeChild& child = out[total];
                child.record = node;
                if (pass == Folder) {
                    child.tag = folderTag(node->folderId);
                    child.image = ImageFolder;
                    child.selectedImage = ImageOpenFolder;
                    child.hasChildren = true;
                } else {
                    child.tag = itemTag(node->id);
                    child.image = ImageItem;
                    child.selectedImage = ImageSelectedItem;
                    child.hasChildren = false;
                }
            }
            ++total;
        }
    }
    return total;
}
