// Build-time pieces of the help file and the readme: text conversion to the
// Windows-1252 bytes the help viewer and Notepad expect, the bibliography
// topic made from the database, and the checks of the compiled help's
// context map. Standard C++ only; the helpbuild program wraps them.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// --- help_text.cpp ---------------------------------------------------------

// UTF-8 to Windows-1252. Returns false, with the byte offset of the first
// offending sequence in *badOffset, for invalid UTF-8 or a character that
// Windows-1252 cannot hold; *out is then incomplete.
bool utf8ToCp1252(const std::string& text, std::string* out, size_t* badOffset);

// Every line end (LF, CR LF or a lone CR) as CR LF.
std::string withCrLf(const std::string& text);

// Text made safe inside HTML elements and attribute values: & < > " escaped,
// every other byte (Windows-1252 letters included) kept.
std::string htmlEscape(const std::string& text);

// --- bibliography.cpp ------------------------------------------------------

// One row of the sources table, as the bibliography needs it.
struct CitedSource {
    std::string reference;  // Windows-1252
    std::string address;    // DOI or web address
    bool checked = false;   // the publication was read for the figure
    unsigned item = 0;      // the item that cites it
    std::string country;    // where the figure was measured
    std::string method;     // PCM, TEM, SEM or altro
    std::string statistic;  // media, mediana, estremo, TWA, campione, non rilevato
    std::string readIn;     // testo completo, tabella, riassunto; empty when not checked
};

struct BibliographyEntry {
    std::string reference;  // as first written in the table
    std::string address;    // of that first row
    bool checked = true;    // every row citing it was checked
    int items = 0;          // items that cite it
    std::vector<CitedSource> rows;  // those items, in table order
};

struct Bibliography {
    std::vector<BibliographyEntry> sources;  // dictionary order, no duplicates
    int items = 0;                           // items of the database
    int cited = 0;                           // items with a source row
    int checked = 0;                         // of which read in the publication or its abstract
    std::map<std::string, int> readIn;       // checked rows by what was read
};

// Publications of the source rows, de-duplicated by reference ignoring case
// and sorted in dictionary order (cp1252Collate); items counts every item.
Bibliography collectBibliography(const std::vector<CitedSource>& rows, int items);

// The "Bibliografia" topic as a complete Windows-1252 HTML page.
std::string bibliographyPage(const Bibliography& bibliography);

// --- chm_map.cpp -----------------------------------------------------------

// "#define NAME number" lines of a context header, in file order.
std::vector<std::pair<std::string, uint32_t>> parseContextHeader(const std::string& text);

// NAME=target lines of the [ALIAS] section of a help project, by upper-cased NAME.
std::map<std::string, std::string> parseProjectAliases(const std::string& text);

// File names of the [FILES] section of a help project, in file order.
std::vector<std::string> parseProjectFiles(const std::string& text);

// The compiled help's context map: #IVB pairs (context id, offset into
// #STRINGS) resolved to topic names. Returns false for a malformed #IVB or
// an offset outside #STRINGS.
bool readContextMap(const std::string& ivb, const std::string& strings,
                    std::map<uint32_t, std::string>* topics);

// A topic name that the viewer finds inside the help file: "name.htm" or
// "/name.htm", one path level, no drive, no "..". Host paths such as
// "/home/x/name.htm" are not.
bool isTopicInsideHelp(const std::string& topic);

// Problems of a compiled help, one message each (empty when sound): every
// context of the header other than 0 must be in the map and name the file
// that the project's alias gives it, and that file must be in the listing
// of the help file's contents ("/name.htm" lines).
std::vector<std::string> checkContextMap(const std::vector<std::pair<std::string, uint32_t>>& header,
                                         const std::map<std::string, std::string>& aliases,
                                         const std::map<uint32_t, std::string>& map,
                                         const std::vector<std::string>& listing);
