// The lookups of the database on the shipped tables: ids versus positions,
// the dangling link, shared nodes and their first parent, bounds.
#include <gtest/gtest.h>

#include <cstring>

#include "app/database/database.h"

namespace {

TEST(DatabaseLookups, FindNodeGoesByIdNotPosition) {
    struct Case {
        unsigned id;
        int position;  // -1: not found
    } const cases[] = {
        {0, 0}, {1, 1}, {949, 949}, {950, -1}, {951, 950}, {977, 976}, {978, -1}, {65535, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        const NodeRecord* node = findNode(c.id);
        if (c.position < 0) {
            EXPECT_EQ(nullptr, node);
        } else {
            EXPECT_EQ(nodeAt(c.position), node);
        }
    }
    EXPECT_STREQ("Esterno infermeria", findNode(951)->name);
    EXPECT_NE(findNode(951), nodeAt(951));
}

TEST(DatabaseLookups, NodeAtBounds) {
    EXPECT_EQ(&NodeTable[0], nodeAt(0));
    EXPECT_EQ(&NodeTable[976], nodeAt(nodeCount() - 1));
    EXPECT_EQ(nullptr, nodeAt(-1));
    EXPECT_EQ(nullptr, nodeAt(nodeCount()));
}

TEST(DatabaseLookups, FindFolderMatchesOnlyFolderRecords) {
    EXPECT_EQ(findNode(40), findFolder(5));
    EXPECT_STREQ("Ciclo di vita", findFolder(2)->name);
    EXPECT_STREQ("Opifici", findFolder(101)->name);
    // Items carry folderId 0, as does the placeholder; 0 is no folder.
    EXPECT_EQ(nullptr, findFolder(0));
    EXPECT_EQ(nullptr, findFolder(RootFolderId));
    EXPECT_EQ(nullptr, findFolder(14));
}

TEST(DatabaseLookups, DanglingLinkIsListedButYieldsNoRecord) {
    uint16_t ids[40];
    ASSERT_EQ(30, childIdsOf(117, ids, 40));
    int found = 0;
    for (int i = 0; i < 30; ++i) found += findNode(ids[i]) != nullptr;
    EXPECT_EQ(29, found);
}

TEST(DatabaseLookups, ChildrenKeepTableOrderAndRespectCapacity) {
    uint16_t ids[4] = {0xCCCC, 0xCCCC, 0xCCCC, 0xCCCC};
    EXPECT_EQ(3, childIdsOf(RootFolderId, ids, 2));
    EXPECT_EQ(1, ids[0]);
    EXPECT_EQ(833, ids[1]);
    EXPECT_EQ(0xCCCC, ids[2]) << "written past the capacity";
    EXPECT_EQ(3, childIdsOf(RootFolderId, nullptr, 0));
    EXPECT_EQ(0, childIdsOf(0, ids, 4));
    EXPECT_EQ(0, childIdsOf(14, ids, 4));
}

TEST(DatabaseLookups, SharedFolderAndItsFirstParent) {
    int parents = 0;
    for (unsigned folderId : {4u, 96u, 101u}) {
        uint16_t ids[40];
        int count = childIdsOf(folderId, ids, 40);
        ASSERT_LE(count, 40);
        for (int i = 0; i < count; ++i) parents += ids[i] == 40;
    }
    EXPECT_EQ(3, parents);
    EXPECT_EQ(4u, firstParentOf(40));
    EXPECT_STREQ("Estrazione", findFolder(firstParentOf(40))->name);
    EXPECT_EQ(RootFolderId, firstParentOf(1));
    EXPECT_EQ(117u, firstParentOf(950)) << "the dangling link still names 950";
}

TEST(DatabaseLookups, PlaceholderIsNeverAChild) {
    EXPECT_EQ(0u, firstParentOf(0));
    for (int i = 0; i < linkCount(); ++i) ASSERT_NE(0, LinkTable[i].childId) << "link " << i;
    const NodeRecord* placeholder = nodeAt(0);
    EXPECT_EQ(0, placeholder->id);
    EXPECT_STREQ("0", placeholder->name);
    EXPECT_EQ(Folder, placeholder->kind);
}

TEST(DatabaseLookups, ItemAtZeroIsAValidItem) {
    int zeros = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord* node = nodeAt(i);
        if (node->kind != Item || node->concentration != 0) continue;
        ++zeros;
        EXPECT_EQ(node, findNode(node->id));
        EXPECT_NE(0u, firstParentOf(node->id));
    }
    EXPECT_GT(zeros, 0);
}

}  // namespace
