// The built-in reference database: constant node and link tables generated
// at build time from data/, and the read-only lookups over them. Every lookup
// is a linear scan in table order; the first match wins; nothing allocates.
// The texts of all tables sit in one generated pool, each stored once.
#pragma once

#include <cstddef>
#include <cstdint>

enum NodeKind : uint32_t { Folder = 0, Item = 1 };

// Capacities of a node's texts, NUL included: the generator refuses longer
// texts, so buffers of these sizes hold any of them.
constexpr size_t NodeNameSize = 256;
constexpr size_t NodeBibliographySize = 262;

struct NodeRecord {
    uint16_t id;
    const char* name;          // never null; in the text pool
    const char* bibliography;  // never null; "" for folders
    double concentration;  // ff/cc; 0 for folders
    uint16_t folderId;     // key of a folder's own children; 0 for items
    uint32_t kind;         // NodeKind
};

// Where a cited item's figure comes from. Every item whose bibliography
// cites a publication ("Fonte:") has exactly one; indicative items have none.
struct SourceRecord {
    uint16_t itemId;
    bool checked;            // the publication (or its abstract) was read for this figure
    const char* reference;   // authors, title, journal or publisher, year
    const char* country;     // where the measurement was made, in Italian ("Italia", "USA")
    const char* method;      // "PCM", "TEM", "SEM" or "altro"
    const char* statistic;   // "media", "mediana", "estremo", "TWA", "campione" or "non rilevato"
    const char* readIn;      // what was read: "testo completo", "tabella" or "riassunto"; "" when unchecked
};

// The rest of a source row, at the same position in SourceDetailTable as the
// row in SourceTable; a table of its own so that a program that does not ask
// for it does not carry it.
struct SourceDetails {
    const char* address;     // DOI or web address
    const char* location;    // page, table or section
    const char* published;   // the figure as published, with unit and statistic
    const char* conversion;  // how it became ff/cc; empty when it was ff/cc already
};

struct LinkRecord {
    uint16_t parentFolderId;
    uint16_t childId;
};

// The root "Amianto" has no record; links name it as parent 1.
constexpr uint16_t RootFolderId = 1;

// Generated tables (tools/dbgen). Position 0 is the placeholder record, id 0,
// which no link names. Node ids ascend but have gaps: go by id, not position.
extern const NodeRecord NodeTable[];
extern const LinkRecord LinkTable[];
extern const SourceRecord SourceTable[];  // ascending itemId
extern const SourceDetails SourceDetailTable[];

int nodeCount();
int linkCount();
int sourceCount();

// Record at a table position (0 <= position < nodeCount()), else nullptr.
const NodeRecord* nodeAt(int position);

// First record with this node id, else nullptr.
const NodeRecord* findNode(unsigned id);

// First folder record with this folder id, else nullptr. 0 is no folder id:
// it finds nothing (the placeholder is not a folder of the tree).
const NodeRecord* findFolder(unsigned folderId);

// Child ids of every link whose parent is folderId, in table order, including
// links that name an absent id. Writes at most capacity ids; returns the total.
int childIdsOf(unsigned folderId, uint16_t* out, int capacity);

// Parent folder id of the first link naming id as child; 0 when there is none.
unsigned firstParentOf(unsigned id);

// The source row of a cited item, else nullptr (indicative items, folders).
const SourceRecord* findSource(unsigned itemId);

// The details of a cited item's source row, else nullptr.
const SourceDetails* findSourceDetails(unsigned itemId);
