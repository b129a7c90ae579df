// Lookups over the generated tables. Plain scans in table order: the tables
// are small, and the order is what makes "first match wins" well defined for
// nodes that sit under several folders.
#include "app/database/database.h"

const NodeRecord* nodeAt(int position) {
    if (position < 0 || position >= nodeCount()) return nullptr;
    return &NodeTable[position];
}

const NodeRecord* findNode(unsigned id) {
    const int count = nodeCount();
    for (int i = 0; i < count; ++i)
        if (NodeTable[i].id == id) return &NodeTable[i];
    return nullptr;
}

const NodeRecord* findFolder(unsigned folderId) {
    if (folderId == 0) return nullptr;
    const int count = nodeCount();
    for (int i = 0; i < count; ++i)
        if (NodeTable[i].kind == Folder && NodeTable[i].folderId == folderId) return &NodeTable[i];
    return nullptr;
}

int childIdsOf(unsigned folderId, uint16_t* out, int capacity) {
    const int count = linkCount();
    int total = 0;
    for (int i = 0; i < count; ++i) {
        if (LinkTable[i].parentFolderId != folderId) continue;
        if (out != nullptr && total < capacity) out[total] = LinkTable[i].childId;
        ++total;
    }
    return total;
}

unsigned firstParentOf(unsigned id) {
    const int count = linkCount();
    for (int i = 0; i < count; ++i)
        if (LinkTable[i].childId == id) return LinkTable[i].parentFolderId;
    return 0;
}

const SourceRecord* findSource(unsigned itemId) {
    const int count = sourceCount();
    for (int i = 0; i < count; ++i)
        if (SourceTable[i].itemId == itemId) return &SourceTable[i];
    return nullptr;
}

const SourceDetails* findSourceDetails(unsigned itemId) {
    const SourceRecord* source = findSource(itemId);
    return source ? &SourceDetailTable[source - SourceTable] : nullptr;
}
