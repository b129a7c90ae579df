// dbgen: turns the reference data set (nodes.tsv, links.tsv and sources.tsv,
// UTF-8) into the constant NodeTable, LinkTable and SourceTable of
// app/database, in Windows-1252 bytes. The lookups rely on the table
// invariants, and a reader relies on every cited item having its source
// row, so data that breaks them is refused here, with a message naming the
// offending row, and nothing is written.
//
//   dbgen NODES.tsv LINKS.tsv [SOURCES.tsv] OUTPUT.cpp
//
// Without SOURCES.tsv the source table is empty, so no item may cite.
//
// Exit status: 0 tables written, 1 data refused, 2 usage or file error.

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// NodeNameSize and NodeBibliographySize of the database: the buffers that
// hold a node's texts, terminating NUL included.
constexpr size_t NameSize = 256;
constexpr size_t BibliographySize = 262;
constexpr unsigned RootFolderId = 1;
// LocatePath holds 32 ids with its terminating 0.
constexpr size_t MaxPathIds = 31;
// Below this a value fills at most the eight characters of the item text's
// "%8.4f ff/cc" and "%8.1f ff/l" fields, and the text fits its buffer.
constexpr double ConcentrationLimit = 1000;

const char* const NodesHeader = "id\tkind\tfolderId\tconcentration\tname\tbibliography";
const char* const LinksHeader = "parentFolderId\tchildId";
const char* const SourcesHeader =
    "id\tchecked\treference\taddress\tlocation\tpublished\tconversion\tcountry\tmethod\tstatistic\tread";
constexpr size_t SourceFieldCount = 11;
// The words a source row may use to say how its figure was measured, which
// statistic it is and what of the publication was read for it.
const char* const Methods[] = {"PCM", "TEM", "SEM", "altro"};
const char* const Statistics[] = {"media", "mediana", "estremo", "TWA", "campione", "non rilevato"};
const char* const ReadParts[] = {"testo completo", "tabella", "riassunto"};
// An item cites a publication when its bibliography names one after this.
const char* const CitationMarker = "Fonte:";

struct Node {
    unsigned id = 0;
    bool folder = false;
    unsigned folderId = 0;
    std::string concentration;  // checked decimal text, emitted as written
    std::string name;           // Windows-1252 bytes
    std::string bibliography;   // Windows-1252 bytes
    std::string where;          // "nodes.tsv:12"
};

struct Link {
    unsigned parent = 0;
    unsigned child = 0;
    std::string where;
};

struct Source {
    unsigned id = 0;
    bool checked = false;
    std::string reference, address, location, published, conversion;  // Windows-1252 bytes
    std::string country, method, statistic, readIn;                    // Windows-1252 bytes
};

struct Refusal {
    std::string message;
};

[[noreturn]] void refuse(const std::string& where, const std::string& what) {
    throw Refusal{where + ": " + what};
}

std::string baseName(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Code points of the bytes 0x80-0x9F in Windows-1252; 0 where the byte is unused.
const unsigned Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

int cp1252Byte(unsigned codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) return static_cast<int>(codePoint);
    for (int i = 0; i < 32; ++i)
        if (Cp1252High[i] != 0 && Cp1252High[i] == codePoint) return 0x80 + i;
    return -1;
}

std::string codePointText(unsigned codePoint) {
    char buffer[16];
    snprintf(buffer, sizeof buffer, "U+%04X", codePoint);
    return buffer;
}

// UTF-8 field text to Windows-1252 bytes; control characters are refused
// because they would break the tree labels and the clipboard texts.
std::string toCp1252(const std::string& text, const std::string& where, const char* field) {
    std::string out;
    size_t i = 0;
    while (i < text.size()) {
        unsigned char lead = static_cast<unsigned char>(text[i]);
        unsigned codePoint;
        size_t length;
        if (lead < 0x80) {
            codePoint = lead;
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            codePoint = lead & 0x1F;
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            codePoint = lead & 0x0F;
            length = 3;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            codePoint = lead & 0x07;
            length = 4;
        } else {
            refuse(where, std::string(field) + " is not valid UTF-8");
        }
        if (i + length > text.size()) refuse(where, std::string(field) + " is not valid UTF-8");
        for (size_t k = 1; k < length; ++k) {
            unsigned char next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) refuse(where, std::string(field) + " is not valid UTF-8");
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static const unsigned MinimumForLength[5] = {0, 0, 0x80, 0x800, 0x10000};
        if (codePoint < MinimumForLength[length] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF))
            refuse(where, std::string(field) + " is not valid UTF-8");
        if (codePoint < 0x20 || codePoint == 0x7F)
            refuse(where, std::string(field) + " holds a control character");
        int byte = cp1252Byte(codePoint);
        if (byte < 0)
            refuse(where, std::string(field) + " holds " + codePointText(codePoint) +
                              ", which Windows-1252 cannot hold");
        out.push_back(static_cast<char>(byte));
        i += length;
    }
    return out;
}

// An unsigned 16-bit number written in plain decimal digits.
unsigned parseId(const std::string& text, const std::string& where, const char* field) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        refuse(where, std::string(field) + " '" + text + "' is not a number from 0 to 65535");
    unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (value > 65535)
        refuse(where, std::string(field) + " '" + text + "' is not a number from 0 to 65535");
    return static_cast<unsigned>(value);
}

// digits [. digits]: no sign, exponent or locale, so the compiler reads the
// same double that any reader of the TSV would.
std::string parseConcentration(const std::string& text, const std::string& where) {
    size_t dot = text.find('.');
    std::string whole = text.substr(0, dot);
    std::string fraction = dot == std::string::npos ? std::string("0") : text.substr(dot + 1);
    bool ok = !whole.empty() && !fraction.empty() && whole.size() <= 9 &&
              whole.find_first_not_of("0123456789") == std::string::npos &&
              fraction.find_first_not_of("0123456789") == std::string::npos;
    if (!ok) refuse(where, "concentration '" + text + "' is not a decimal number like 0.057");
    if (std::strtod(text.c_str(), nullptr) >= ConcentrationLimit)
        refuse(where, "concentration " + text + " is not below 1000 ff/cc");
    return dot == std::string::npos ? text + ".0" : text;
}

std::vector<std::string> splitTabs(const std::string& line) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
        if (tab == std::string::npos) break;
        start = tab + 1;
    }
    return fields;
}

// Lines of a TSV file without line ends and without its header, each with
// its line number. Empty lines at the end are allowed, not elsewhere.
struct Row {
    int line;
    std::string text;
};

std::vector<Row> readRows(const std::string& path, const char* header) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "dbgen: cannot read %s: %s\n", path.c_str(), std::strerror(errno));
        std::exit(2);
    }
    std::string file = baseName(path);
    std::vector<Row> rows;
    std::string line;
    int number = 0;
    int lastEmpty = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (number == 1) {
            if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
            if (line != header)
                refuse(file + ":1", std::string("the first line must be the header: ") + header);
            continue;
        }
        if (line.empty()) {
            if (!lastEmpty) lastEmpty = number;
            continue;
        }
        if (lastEmpty) refuse(file + ":" + std::to_string(lastEmpty), "empty line");
        rows.push_back({number, line});
    }
    if (number == 0) refuse(file + ":1", std::string("the first line must be the header: ") + header);
    return rows;
}

std::vector<Node> readNodes(const std::string& path) {
    std::string file = baseName(path);
    std::vector<Node> nodes;
    std::map<unsigned, std::string> folderIdRows;
    for (const Row& row : readRows(path, NodesHeader)) {
        Node node;
        node.where = file + ":" + std::to_string(row.line);
        std::vector<std::string> f = splitTabs(row.text);
        if (f.size() != 6)
            refuse(node.where, "expected 6 tab-separated fields, found " + std::to_string(f.size()));
        node.id = parseId(f[0], node.where, "id");
        node.where += " (id " + f[0] + ")";
        if (f[1] == "Folder") {
            node.folder = true;
        } else if (f[1] != "Item") {
            refuse(node.where, "kind '" + f[1] + "' is neither Folder nor Item");
        }
        node.folderId = parseId(f[2], node.where, "folderId");
        node.concentration = parseConcentration(f[3], node.where);
        node.name = toCp1252(f[4], node.where, "name");
        node.bibliography = toCp1252(f[5], node.where, "bibliography");

        if (node.name.size() >= NameSize)
            refuse(node.where, "name has " + std::to_string(node.name.size()) + " characters, at most " +
                                   std::to_string(NameSize - 1) + " fit");
        if (node.bibliography.size() >= BibliographySize)
            refuse(node.where, "bibliography has " + std::to_string(node.bibliography.size()) +
                                   " characters, at most " + std::to_string(BibliographySize - 1) + " fit");

        if (nodes.empty()) {
            if (node.id != 0 || !node.folder || node.folderId != 0 || node.name != "0" ||
                !node.bibliography.empty() || std::strtod(node.concentration.c_str(), nullptr) != 0)
                refuse(node.where, "the first row must be the placeholder: 0, Folder, 0, 0, name \"0\", "
                                   "no bibliography");
        } else {
            const Node& previous = nodes.back();
            if (node.id == previous.id)
                refuse(node.where, "duplicate id " + std::to_string(node.id) + " (also " + previous.where + ")");
            if (node.id < previous.id)
                refuse(node.where, "ids out of order: " + std::to_string(node.id) + " after " +
                                       std::to_string(previous.id));
            if (node.name.empty()) refuse(node.where, "name is empty");
            if (node.folder) {
                if (node.folderId == 0 || node.folderId == RootFolderId)
                    refuse(node.where, "a folder needs a folderId other than 0 and 1 (1 is the root)");
                if (std::strtod(node.concentration.c_str(), nullptr) != 0)
                    refuse(node.where, "a folder must have concentration 0");
                if (!node.bibliography.empty()) refuse(node.where, "a folder must have an empty bibliography");
                auto seen = folderIdRows.find(node.folderId);
                if (seen != folderIdRows.end())
                    refuse(node.where, "folderId " + std::to_string(node.folderId) + " already used by " +
                                           seen->second);
                folderIdRows[node.folderId] = node.where;
            } else if (node.folderId != 0) {
                refuse(node.where, "an item must have folderId 0");
            }
        }
        nodes.push_back(node);
    }
    if (nodes.empty()) refuse(file + ":2", "the placeholder row is missing");
    return nodes;
}

std::vector<Link> readLinks(const std::string& path, const std::vector<Node>& nodes) {
    std::string file = baseName(path);
    std::set<unsigned> folderIds;
    for (const Node& node : nodes)
        if (node.folder && node.id != 0) folderIds.insert(node.folderId);

    std::vector<Link> links;
    std::set<std::pair<unsigned, unsigned>> seen;
    for (const Row& row : readRows(path, LinksHeader)) {
        Link link;
        link.where = file + ":" + std::to_string(row.line);
        std::vector<std::string> f = splitTabs(row.text);
        if (f.size() != 2)
            refuse(link.where, "expected 2 tab-separated fields, found " + std::to_string(f.size()));
        link.parent = parseId(f[0], link.where, "parentFolderId");
        link.child = parseId(f[1], link.where, "childId");
        link.where += " (" + f[0] + ", " + f[1] + ")";
        if (link.parent != RootFolderId && folderIds.count(link.parent) == 0)
            refuse(link.where, "parent folder id " + std::to_string(link.parent) + " has no folder record");
        if (!links.empty() && link.parent < links.back().parent)
            refuse(link.where, "links out of order: parent " + std::to_string(link.parent) + " after " +
                                   std::to_string(links.back().parent));
        if (link.child == 0) refuse(link.where, "no link may name the placeholder id 0");
        if (!seen.insert({link.parent, link.child}).second)
            refuse(link.where, "the same link appears twice");
        links.push_back(link);
    }
    if (links.empty() || links.front().parent != RootFolderId) refuse(file, "the root folder 1 has no child");
    return links;
}

// Shape of the whole graph: every folder has a child, there is no cycle,
// every record is reachable, and the first-parent path of every record fits
// in LocatePath.
void checkGraph(const std::vector<Node>& nodes, const std::vector<Link>& links) {
    std::map<unsigned, const Node*> byId;
    std::map<unsigned, const Node*> byFolderId;
    for (const Node& node : nodes) {
        if (node.id == 0) continue;
        byId[node.id] = &node;
        if (node.folder) byFolderId[node.folderId] = &node;
    }
    std::map<unsigned, std::vector<const Link*>> children;
    std::map<unsigned, const Link*> firstParent;
    for (const Link& link : links) {
        children[link.parent].push_back(&link);
        firstParent.emplace(link.child, &link);
    }

    for (const Node& node : nodes)
        if (node.folder && node.id != 0 && children.count(node.folderId) == 0)
            refuse(node.where, "folder " + std::to_string(node.folderId) + " has no child");

    // Depth-first walk of the folder graph from the root; a link back into
    // the folders on the current path closes a cycle.
    std::set<unsigned> reached;
    std::set<unsigned> onPath;
    std::set<unsigned> done;
    struct Frame {
        unsigned folderId;
        size_t next;
    };
    std::vector<Frame> stack{{RootFolderId, 0}};
    onPath.insert(RootFolderId);
    while (!stack.empty()) {
        Frame& top = stack.back();
        const std::vector<const Link*>& list = children[top.folderId];
        if (top.next == list.size()) {
            onPath.erase(top.folderId);
            done.insert(top.folderId);
            stack.pop_back();
            continue;
        }
        const Link* link = list[top.next++];
        auto child = byId.find(link->child);
        if (child == byId.end()) continue;  // an absent id yields no child
        reached.insert(link->child);
        if (!child->second->folder) continue;
        unsigned folderId = child->second->folderId;
        if (onPath.count(folderId)) refuse(link->where, "this link closes a cycle");
        if (done.count(folderId)) continue;
        onPath.insert(folderId);
        stack.push_back({folderId, 0});
    }
    for (const Node& node : nodes)
        if (node.id != 0 && reached.count(node.id) == 0) refuse(node.where, "not reachable from the root");

    for (const Node& node : nodes) {
        if (node.id == 0) continue;
        size_t length = 1;
        unsigned parent = firstParent.at(node.id)->parent;
        while (parent != RootFolderId) {
            if (++length > MaxPathIds)
                refuse(node.where, "its path through first parents has more than " + std::to_string(MaxPathIds) +
                                       " folders");
            parent = firstParent.at(byFolderId.at(parent)->id)->parent;
        }
    }
}

// Concentration units other than ff/cc (f/ml and f/cm3 are the same unit).
// An item's texts may not name them: the field holds ff/cc, always, and a
// name or note in another unit would tell the reader a different figure.
bool namesOtherUnit(const std::string& text, std::string* unit) {
    static const char* const units[] = {"mppcf", "ppcf", "ff/l", "f/l", "fibre/l", "fibre/litro", "ff/m3",
                                        "f/m3", "mg/m3", "ff/mm2", "s/cc", "s/l", "per litro", "per metro cubo"};
    std::string lower;
    for (char c : text) lower.push_back(c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c);
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '/'; };
    for (const char* u : units) {
        size_t length = std::strlen(u);
        for (size_t at = lower.find(u); at != std::string::npos; at = lower.find(u, at + 1)) {
            bool before = at > 0 && letter(lower[at - 1]);
            bool after = at + length < lower.size() && letter(lower[at + length]);
            if (!before && !after) {
                *unit = u;
                return true;
            }
        }
    }
    return false;
}

void checkUnits(const std::vector<Node>& nodes) {
    for (const Node& node : nodes) {
        if (node.folder) continue;
        std::string unit;
        if (namesOtherUnit(node.name, &unit))
            refuse(node.where, "name speaks of " + unit + ", but the concentration field holds ff/cc");
        if (namesOtherUnit(node.bibliography, &unit))
            refuse(node.where, "bibliography speaks of " + unit + ", but the concentration field holds ff/cc");
    }
}

bool cites(const Node& node) {
    return !node.folder && node.bibliography.find(CitationMarker) != std::string::npos;
}

// A field that must hold one of a fixed set of words: a reader of the
// bibliography relies on every cited row saying it.
template <size_t N>
std::string oneOf(const std::string& text, const char* const (&words)[N], const std::string& where, const char* field) {
    if (text.empty()) refuse(where, std::string(field) + " is empty");
    std::string allowed;
    for (const char* word : words) {
        if (text == word) return text;
        allowed += allowed.empty() ? word : std::string(", ") + word;
    }
    refuse(where, std::string(field) + " '" + text + "' is not one of: " + allowed);
}

// One row per cited item, in ascending id: the publication the figure comes
// from, where in it, the figure as published and any conversion.
std::vector<Source> readSources(const std::string& path, const std::vector<Node>& nodes) {
    std::string file = baseName(path);
    std::map<unsigned, const Node*> byId;
    for (const Node& node : nodes) byId[node.id] = &node;
    std::vector<Source> sources;
    for (const Row& row : readRows(path, SourcesHeader)) {
        std::string where = file + ":" + std::to_string(row.line);
        std::vector<std::string> f = splitTabs(row.text);
        if (f.size() != SourceFieldCount)
            refuse(where, "expected " + std::to_string(SourceFieldCount) + " tab-separated fields, found " +
                              std::to_string(f.size()));
        Source source;
        source.id = parseId(f[0], where, "id");
        where += " (id " + f[0] + ")";
        if (f[1] != "si" && f[1] != "no") refuse(where, "checked '" + f[1] + "' is neither si nor no");
        source.checked = f[1] == "si";
        const char* fieldNames[] = {"reference", "address", "location", "published"};
        std::string* fields[] = {&source.reference, &source.address, &source.location, &source.published};
        for (int i = 0; i < 4; ++i) {
            if (f[2 + i].empty()) refuse(where, std::string(fieldNames[i]) + " is empty");
            *fields[i] = toCp1252(f[2 + i], where, fieldNames[i]);
        }
        source.conversion = toCp1252(f[6], where, "conversion");
        if (f[7].empty()) refuse(where, "country is empty");
        source.country = toCp1252(f[7], where, "country");
        source.method = oneOf(f[8], Methods, where, "method");
        source.statistic = oneOf(f[9], Statistics, where, "statistic");
        // A row that could not be traced was not read: it says so by leaving
        // "read" empty, and a row that was read names what.
        if (source.checked)
            source.readIn = oneOf(f[10], ReadParts, where, "read");
        else if (!f[10].empty())
            refuse(where, "read '" + f[10] + "' on a row not checked (nothing was read)");
        if (!sources.empty() && source.id <= sources.back().id)
            refuse(where, source.id == sources.back().id ? "a second row for the same item"
                                                         : "ids out of order: " + f[0] + " after " +
                                                               std::to_string(sources.back().id));
        auto node = byId.find(source.id);
        if (node == byId.end() || node->second->folder)
            refuse(where, "id " + f[0] + " is not an item of the node table");
        if (!cites(*node->second))
            refuse(where, "item " + f[0] + " does not cite a publication (\"" + CitationMarker + "\")");
        sources.push_back(source);
    }
    return sources;
}

void checkCitations(const std::vector<Node>& nodes, const std::vector<Source>& sources) {
    std::set<unsigned> withSource;
    for (const Source& source : sources) withSource.insert(source.id);
    for (const Node& node : nodes)
        if (cites(node) && withSource.count(node.id) == 0)
            refuse(node.where, "cites a publication but has no row in the sources table");
}

// A C string literal; bytes above 0x7F as three-digit octal escapes so the
// generated file is plain ASCII and no compiler charset setting alters it.
std::string literal(const std::string& bytes) {
    std::string out = "\"";
    for (unsigned char c : bytes) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char escape[8];
            snprintf(escape, sizeof escape, "\\%03o", c);
            out += escape;
        }
    }
    return out + "\"";
}

// The texts of all tables in one pool, each distinct text stored once: the
// records hold pointers into it instead of fixed-width fields, most of which
// would be padding.
class TextPool {
public:
    explicit TextPool(std::string name) : name_(std::move(name)) {}
    size_t offsetOf(const std::string& text) {
        auto found = offsets_.find(text);
        if (found != offsets_.end()) return found->second;
        const size_t offset = size_;
        offsets_.emplace(text, offset);
        // The "\0" is a literal of its own so that no digit after it can
        // extend the escape.
        lines_ << "    /* " << offset << " */ " << literal(text) << " \"\\0\"\n";
        size_ += text.size() + 1;
        return offset;
    }
    std::string ref(const std::string& text) { return name_ + " + " + std::to_string(offsetOf(text)); }
    std::string definition() const { return "static const char " + name_ + "[] =\n" + lines_.str() + "    ;\n\n"; }

private:
    std::string name_;
    std::map<std::string, size_t> offsets_;
    std::ostringstream lines_;
    size_t size_ = 0;
};

std::string render(const std::vector<Node>& nodes, const std::vector<Link>& links,
                   const std::vector<Source>& sources, const std::string& nodesFile, const std::string& linksFile) {
    TextPool pool("TextPool");
    // The details of a source (address, place, figure, conversion) have a
    // pool and a table of their own: a program that shows only the
    // reference, as the desktop program does, leaves them out when it links.
    TextPool detailPool("DetailTextPool");
    std::ostringstream records;
    records << "const NodeRecord NodeTable[] = {\n";
    for (const Node& node : nodes)
        records << "    {" << node.id << ", " << pool.ref(node.name) << ", " << pool.ref(node.bibliography) << ", "
                << node.concentration << ", " << node.folderId << ", " << (node.folder ? "Folder" : "Item") << "},\n";
    records << "};\n\nconst LinkRecord LinkTable[] = {\n";
    for (const Link& link : links) records << "    {" << link.parent << ", " << link.child << "},\n";
    // A zero-length array is not C++: an empty table keeps one unused row.
    std::ostringstream details;
    records << "};\n\nconst SourceRecord SourceTable[] = {\n";
    details << "const SourceDetails SourceDetailTable[] = {\n";
    std::vector<Source> rows = sources;
    if (rows.empty()) rows.push_back(Source{});
    for (const Source& s : rows) {
        records << "    {" << s.id << ", " << (s.checked ? "true" : "false") << ", " << pool.ref(s.reference) << ", "
                << pool.ref(s.country) << ", " << pool.ref(s.method) << ", " << pool.ref(s.statistic) << ", "
                << pool.ref(s.readIn) << "},\n";
        details << "    {" << detailPool.ref(s.address) << ", " << detailPool.ref(s.location) << ", "
                << detailPool.ref(s.published) << ", " << detailPool.ref(s.conversion) << "},\n";
    }
    records << "};\n\n" << details.str() << "};\n\n";

    std::ostringstream out;
    out << "// Generated by dbgen from " << nodesFile << " and " << linksFile << ". Do not edit.\n"
        << "// Texts are Windows-1252 bytes; each text's offset in the pool precedes it.\n"
        << "#include \"app/database/database.h\"\n\n"
        << pool.definition() << detailPool.definition()
        << records.str()
        << "int nodeCount() { return " << nodes.size() << "; }\n"
        << "int linkCount() { return " << links.size() << "; }\n"
        << "int sourceCount() { return " << sources.size() << "; }\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 5) {
        std::fprintf(stderr, "usage: dbgen NODES.tsv LINKS.tsv [SOURCES.tsv] OUTPUT.cpp\n");
        return 2;
    }
    std::string text;
    try {
        std::vector<Node> nodes = readNodes(argv[1]);
        std::vector<Link> links = readLinks(argv[2], nodes);
        checkGraph(nodes, links);
        checkUnits(nodes);
        std::vector<Source> sources;
        if (argc == 5) sources = readSources(argv[3], nodes);
        checkCitations(nodes, sources);
        text = render(nodes, links, sources, baseName(argv[1]), baseName(argv[2]));
    } catch (const Refusal& refusal) {
        std::fprintf(stderr, "dbgen: %s\n", refusal.message.c_str());
        return 1;
    }

    // Written beside the target and renamed, so a failed run never leaves a
    // half-written table for the next build to compile.
    std::string output = argv[argc - 1];
    std::string temporary = output + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        if (!out.flush()) {
            std::fprintf(stderr, "dbgen: cannot write %s\n", temporary.c_str());
            return 2;
        }
    }
    if (std::rename(temporary.c_str(), output.c_str()) != 0) {
        std::fprintf(stderr, "dbgen: cannot write %s: %s\n", output.c_str(), std::strerror(errno));
        std::remove(temporary.c_str());
        return 2;
    }
    return 0;
}
