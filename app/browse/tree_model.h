// What the database tree shows, without the tree control: the tag of each
// node, the children a folder gets when it is expanded, and the images.
#pragma once

#include <cstdint>

struct NodeRecord;

// The 32-bit value attached to every tree node: a folder id (high half 0) or
// 0x10000 + an item's node id (high half 1). The root carries RootFolderId.
using TreeTag = uint32_t;

constexpr TreeTag ItemTagBase = 0x10000;

inline TreeTag folderTag(unsigned folderId) { return folderId & 0xFFFFu; }
inline TreeTag itemTag(unsigned nodeId) { return ItemTagBase + (nodeId & 0xFFFFu); }
inline bool isItemTag(TreeTag tag) { return (tag >> 16) == 1; }
// The folder id of a folder tag, or the node id of an item tag.
inline unsigned tagNumber(TreeTag tag) { return tag & 0xFFFFu; }

// Images of the strip that the tree and the panel use.
enum TreeImage {
    ImageItem = 0,
    ImageOpenFolder = 1,
    ImageFolder = 7,
    ImageRoot = 19,
    ImageSelectedItem = 20,
};

// The panel's image for a displayed node: the root, another folder, an item.
int panelImageForTag(TreeTag tag);

struct TreeChild {
    const NodeRecord* record;
    TreeTag tag;
    int image;
    int selectedImage;
    bool hasChildren;
};

// The nodes to insert under a folder being expanded, in insertion order:
// first its sub-folders, then its items, each pass in link order. A link
// to an absent id gives nothing. Writes at most capacity entries; returns
// the total, so a caller can size its buffer.
int treeChildrenOf(unsigned folderId, TreeChild* out, int capacity);
