// tree, show, search and export: the database as the desktop tree, panel and
// search dialog show it.
#include <cstring>

#include "app/browse/item_text.h"
#include "app/browse/search_engine.h"
#include "app/browse/search_output.h"
#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli/cli_internal.h"
#include "common/cp1252.h"
#include "common/number_format.h"

namespace {

constexpr size_t MaxTreeDepth = 32;  // the links could loop; the real tree has 7 levels

std::string nameOf(const NodeRecord& node)
{
    return node.name;
}

std::string bibliographyOf(const NodeRecord& node)
{
    return node.bibliography;
}

// The tree's concentration of an item, with the panel's decimals.
std::string treeValue(const NodeRecord& item, DisplayUnit unit)
{
    return fixedText(concentrationInUnit(item.concentration, unit), unit == PerLitre ? 1 : 4) + " " +
           unitLabel(unit);
}

bool noPositionals(CommandContext& context, const ParsedOptions& options)
{
    if (options.positionals.empty())
        return true;
    usageError(context, "argomento inatteso " +
                            inQuotes(shownText(context.args[options.positionals[0]].utf8)));
    return false;
}

int showHelp(CommandContext& context)
{
    context.io.out += helpText(context.command, context.language);
    return ExitOk;
}

// ---- tree ----

struct TreeWalk {
    long maxDepth;
    DisplayUnit unit;
    bool ids;
    std::vector<unsigned> folders;  // the open folders, root first
    std::string* out;
};

void walkTree(TreeWalk& walk, unsigned folderId)
{
    if (static_cast<long>(walk.folders.size()) > walk.maxDepth ||
        walk.folders.size() > MaxTreeDepth)
        return;
    std::string indent(walk.folders.size() * 2, ' ');
    for (const TreeChild& child : sortedChildren(folderId)) {
        const NodeRecord& node = *child.record;
        std::string line = indent;
        if (walk.ids)
            line += "[" + std::to_string(node.id) + "] ";
        line += nameOf(node);
        if (node.kind == Item)
            line += "\t" + treeValue(node, walk.unit) + "\t" + itemStatusMark(node.id);
        *walk.out += line + "\n";
        if (node.kind != Item) {
            bool looping = false;
            for (unsigned open : walk.folders)
                looping = looping || open == node.folderId;
            if (looping)
                continue;
            walk.folders.push_back(node.folderId);
            walkTree(walk, node.folderId);
            walk.folders.pop_back();
        }
    }
}

// ---- show ----

bool isDecimalId(const std::string& text)
{
    long value;
    return parseCount(text, &value);
}

// The node a path names, walking the tree from the root as a user would
// expand it; null (and the message written) when a label is not there. The
// root itself gives *root = true.
const NodeRecord* resolvePath(CommandContext& context, const std::string& path, bool* root,
                              int* status)
{
    std::vector<std::string> labels;
    size_t start = 0;
    for (;;) {
        size_t arrow = path.find("->", start);
        labels.push_back(trimmed(path.substr(start, arrow == std::string::npos ? std::string::npos
                                                                                : arrow - start)));
        if (arrow == std::string::npos)
            break;
        start = arrow + 2;
    }
    for (const std::string& label : labels) {
        if (label.empty()) {
            *status = usageError(context, "percorso con un nome vuoto: " + inQuotes(path));
            return nullptr;
        }
    }
    size_t first = cp1252EqualNoCase(labels[0].c_str(), "Amianto") ? 1 : 0;
    *root = first == labels.size();
    if (*root)
        return nullptr;

    unsigned folderId = RootFolderId;
    std::string reached = "Amianto";
    const NodeRecord* found = nullptr;
    for (size_t i = first; i < labels.size(); ++i) {
        if (found && found->kind == Item) {
            *status = failure(context, inQuotes(nameOf(*found)) + " è una voce, non una cartella");
            return nullptr;
        }
        std::vector<TreeChild> children = sortedChildren(folderId);
        found = nullptr;
        for (const TreeChild& child : children)
            if (!found && nameOf(*child.record) == labels[i])
                found = child.record;
        for (const TreeChild& child : children)
            if (!found && cp1252EqualNoCase(nameOf(*child.record).c_str(), labels[i].c_str()))
                found = child.record;
        if (!found) {
            *status = failure(context, inQuotes(labels[i]) + " non è in " + inQuotes(reached) +
                                           " (vedere quorvel tree)");
            return nullptr;
        }
        reached += "->" + nameOf(*found);
        folderId = found->folderId;
    }
    return found;
}

// Whether the item's figure comes from a publication, and which: the row of
// the sources table travels with the item wherever the command line shows it.
const char* statusOf(const SourceRecord* source)
{
    return source ? "citato" : "indicativo";
}

std::string sourceLines(const NodeRecord& item)
{
    const SourceRecord* source = findSource(item.id);
    if (!source)
        return "Stato: indicativo (valore dimostrativo, non è una misura pubblicata)\n";
    std::string out = std::string("Stato: citato") + (source->checked ? "" : " (fonte non verificata)") + "\n";
    const SourceDetails* more = findSourceDetails(item.id);
    out += std::string("Riferimento: ") + source->reference + "\n";
    out += std::string("Indirizzo: ") + more->address + "\n";
    out += std::string("Posizione: ") + more->location + "\n";
    out += std::string("Valore pubblicato: ") + more->published + "\n";
    if (*more->conversion)
        out += std::string("Conversione: ") + more->conversion + "\n";
    // What the figure is: how it was counted, where, which statistic, what was read.
    const char* details[][2] = {{"Metodo: ", *source->method ? source->method : MethodNotStated},
                                {"Paese: ", source->country},
                                {"Statistica: ", source->statistic},
                                {"Letto in: ", source->readIn}};
    for (const auto& detail : details)
        if (*detail[1])
            out += std::string(detail[0]) + detail[1] + "\n";
    return out;
}

void showNode(const NodeRecord& node, const ParsedOptions& options, DisplayUnit unit, std::string* out)
{
    for (const std::string& title : panelTitlesOf(node))
        *out += title + "\n";
    if (node.kind != Item)
        return;
    char text[PanelTextSize];
    *out += "\n";
    if (options.has("--unit")) {
        formatItemDisplayText(node, unit, text, sizeof text);
        *out += unixLines(text) + "\n\n" + sourceLines(node);
        return;
    }
    // Both units: the first line of the panel text in each, then the rest.
    std::string source;
    for (DisplayUnit shown : {PerCc, PerLitre}) {
        formatItemDisplayText(node, shown, text, sizeof text);
        std::string panel = unixLines(text);
        size_t end = panel.find('\n');
        *out += panel.substr(0, end) + "\n";
        source = end == std::string::npos ? std::string() : panel.substr(end + 1);
    }
    *out += source + "\n\n" + sourceLines(node);
}

// ---- search ----

std::string searchRows(const SearchResults& results)
{
    std::string out;
    for (const SearchHit& hit : results.hits) {
        const NodeRecord& node = *hit.record;
        out += resultTypeCode(resultImage(node, hit.score));
        out += "\t" + nameOf(node) + "\t";
        if (node.kind == Item)
            out += bibliographyOf(node);
        out += "\t" + std::to_string(node.id) + "\n";
    }
    return out;
}

std::string searchJson(const std::string& text, bool advanced, SearchCriterion criterion,
                       const std::string& counter, const SearchResults& results)
{
    std::string out = "{\n";
    out += "  \"text\": " + jsonString(text) + ",\n";
    out += std::string("  \"criterion\": ") + jsonString(criterionName(advanced, criterion)) + ",\n";
    out += "  \"counter\": " + jsonString(counter) + ",\n";
    out += "  \"items\": " + std::to_string(results.items) + ",\n";
    out += "  \"folders\": " + std::to_string(results.folders) + ",\n";
    out += "  \"hits\": [";
    bool first = true;
    for (const SearchHit& hit : results.hits) {
        const NodeRecord& node = *hit.record;
        const bool item = node.kind == Item;
        out += first ? "\n" : ",\n";
        first = false;
        out += "    {\"type\": " + jsonString(resultTypeCode(resultImage(node, hit.score)));
        out += ", \"id\": " + std::to_string(node.id);
        out += std::string(", \"kind\": ") + (item ? "\"item\"" : "\"folder\"");
        out += ", \"score\": " + std::to_string(hit.score);
        out += ", \"name\": " + jsonString(nameOf(node));
        out += ", \"bibliography\": " + jsonString(item ? bibliographyOf(node) : std::string());
        if (item)
            out += ", \"ff_cc\": " + shortestDecimal(node.concentration);
        out += "}";
    }
    out += first ? "]\n}\n" : "\n  ]\n}\n";
    return out;
}

// ---- export ----

struct ExportWalk {
    bool json;
    std::vector<unsigned> folders;
    std::string path;
    std::string* out;
    size_t rows = 0;
};

void exportRow(ExportWalk& walk, const NodeRecord& item)
{
    std::string cc = shortestDecimal(item.concentration);
    std::string litre = timesThousandText(cc);
    std::string id = std::to_string(item.id);
    const SourceRecord* source = findSource(item.id);
    const SourceDetails* more = findSourceDetails(item.id);
    const char* fields[] = {source ? source->reference : "", more ? more->address : "",
                            more ? more->location : "", more ? more->published : "",
                            more ? more->conversion : ""};
    const char* names[] = {"reference", "address", "location", "published", "conversion"};
    if (walk.json) {
        *walk.out += walk.rows == 0 ? "\n" : ",\n";
        *walk.out += "  {\"id\": " + id + ", \"path\": " + jsonString(walk.path) +
                     ", \"name\": " + jsonString(nameOf(item)) + ", \"ff_cc\": " + cc +
                     ", \"ff_l\": " + litre + ", \"source\": " + jsonString(bibliographyOf(item)) +
                     ", \"status\": " + jsonString(statusOf(source)) +
                     ", \"checked\": " + (source ? (source->checked ? "true" : "false") : "null");
        for (int i = 0; i < 5; ++i)
            *walk.out += std::string(", \"") + names[i] + "\": " + jsonString(fields[i]);
        *walk.out += "}";
    } else {
        *walk.out += id + "," + csvField(walk.path) + "," + csvField(nameOf(item)) + "," + cc + "," +
                     litre + "," + csvField(bibliographyOf(item)) + "," + statusOf(source) + "," +
                     (source ? (source->checked ? "si" : "no") : "");
        for (const char* field : fields)
            *walk.out += "," + csvField(field);
        *walk.out += "\n";
    }
    ++walk.rows;
}

void walkExport(ExportWalk& walk, unsigned folderId)
{
    if (walk.folders.size() > MaxTreeDepth)
        return;
    for (const TreeChild& child : sortedChildren(folderId)) {
        const NodeRecord& node = *child.record;
        if (node.kind == Item) {
            exportRow(walk, node);
            continue;
        }
        bool looping = false;
        for (unsigned open : walk.folders)
            looping = looping || open == node.folderId;
        if (looping)
            continue;
        std::string saved = walk.path;
        walk.path += "->" + nameOf(node);
        walk.folders.push_back(node.folderId);
        walkExport(walk, node.folderId);
        walk.folders.pop_back();
        walk.path = saved;
    }
}

}  // namespace

int treeCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--depth", nullptr, true}, {"--unit", nullptr, true},
                                {"--ids", nullptr, false}},
                      &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    if (!noPositionals(context, options))
        return ExitUsage;
    TreeWalk walk{1000000, PerCc, options.has("--ids"), {RootFolderId}, &context.io.out};
    if (!unitOption(context, options, &walk.unit))
        return ExitUsage;
    if (const std::string* depth = options.value("--depth")) {
        if (!parseCount(*depth, &walk.maxDepth))
            return usageError(context, "--depth vuole un numero intero da 0 in su, non " +
                                           inQuotes(shownText(*depth)));
    }
    context.io.out += "Amianto\n";
    walkTree(walk, RootFolderId);
    return ExitOk;
}

int showCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--unit", nullptr, true}}, &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    DisplayUnit unit;
    if (!unitOption(context, options, &unit))
        return ExitUsage;
    if (options.positionals.size() != 1)
        return usageError(context, options.positionals.empty()
                                       ? "manca l'ID o il percorso dell'elemento"
                                       : "un solo ID o percorso (tra virgolette se contiene spazi)");
    std::string argument;
    if (!textArgument(context, context.args[options.positionals[0]].utf8, "il percorso", &argument))
        return ExitUsage;

    const NodeRecord* node = nullptr;
    if (isDecimalId(argument)) {
        long id;
        parseCount(argument, &id);
        node = id != 0 ? findNode(static_cast<unsigned>(id)) : nullptr;
        if (!node)
            return failure(context, "nessun elemento con ID " + argument);
    } else {
        bool root = false;
        int status = ExitOk;
        node = resolvePath(context, argument, &root, &status);
        if (root) {
            context.io.out += "Amianto\n";
            return ExitOk;
        }
        if (!node)
            return status;
    }
    if (panelTitlesOf(*node).empty())
        return failure(context, "l'elemento " + std::to_string(node->id) +
                                    " non è raggiungibile dalla radice Amianto");
    showNode(*node, options, unit, &context.io.out);
    return ExitOk;
}

int searchCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--and", nullptr, false}, {"--or", nullptr, false},
                                {"--not", nullptr, false}, {"--json", nullptr, false},
                                {"--copy", nullptr, false}},
                      &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    int criteria = options.has("--and") + options.has("--or") + options.has("--not");
    if (criteria > 1)
        return usageError(context, "scegliere un solo criterio tra --and, --or e --not");
    if (options.has("--json") && options.has("--copy"))
        return usageError(context, "--json e --copy non vanno insieme");
    if (options.positionals.empty())
        return usageError(context, "manca il testo da cercare");

    std::string utf8;
    for (size_t index : options.positionals)
        utf8 += (utf8.empty() ? "" : " ") + context.args[index].utf8;
    std::string text;
    if (!textArgument(context, utf8, "il testo da cercare", &text))
        return ExitUsage;
    if (text.size() > SearchTextSize - 1)
        return usageError(context, "il testo da cercare ha " + std::to_string(text.size()) +
                                       " caratteri: la casella di ricerca ne accetta al massimo 255");
    if (text.find('\0') != std::string::npos)
        return usageError(context, "il testo da cercare contiene un carattere nullo");

    const bool advanced = criteria == 1;
    SearchCriterion criterion = options.has("--or")    ? SearchCriterion::Or
                                : options.has("--not") ? SearchCriterion::Not
                                                       : SearchCriterion::And;
    SearchQuery query;
    char caption[SearchTextSize];
    if (!prepareSearch(text.c_str(), advanced, criterion, &query, caption, sizeof caption))
        return usageError(context, std::string(SearchTooShortText) + " (" + inQuotes(caption) + ")");

    SearchResults results;
    searchDatabase(query, &results);
    char counter[128];
    formatResultCounter(results.items, results.folders, counter, sizeof counter);

    if (options.has("--json")) {
        context.io.out += searchJson(text, advanced, criterion, counter, results);
    } else if (options.has("--copy")) {
        std::vector<std::string> labels, sources;
        std::vector<ResultLine> rows;
        for (const SearchHit& hit : results.hits) {
            labels.push_back(nameOf(*hit.record));
            sources.push_back(bibliographyOf(*hit.record));
        }
        for (size_t i = 0; i < results.hits.size(); ++i)
            rows.push_back({resultImage(*results.hits[i].record, results.hits[i].score),
                            labels[i].c_str(), sources[i].c_str()});
        ResultsHeader header{text.c_str(), advanced, criterion, counter};
        context.io.out += unixLines(searchResultsCopyText(header, rows.data(), rows.size()));
    } else {
        context.io.out += std::string(counter) + "\n";
        context.io.out += searchRows(results);
    }
    return results.hits.empty() ? ExitFailed : ExitOk;
}

int exportCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--csv", nullptr, false}, {"--json", nullptr, false}}, &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    if (!noPositionals(context, options))
        return ExitUsage;
    if (options.has("--csv") && options.has("--json"))
        return usageError(context, "scegliere --csv oppure --json, non entrambi");

    ExportWalk walk{options.has("--json"), {RootFolderId}, "Amianto", &context.io.out};
    context.io.out += walk.json ? "[" : "id,path,name,ff_cc,ff_l,source,status,checked,reference,address,"
                                        "location,published,conversion\n";
    walkExport(walk, RootFolderId);
    if (walk.json)
        context.io.out += walk.rows ? "\n]\n" : "]\n";
    return ExitOk;
}
