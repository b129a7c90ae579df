// The "Bibliografia" help topic: every publication that the shipped items
// cite, once each, in dictionary order, with the number of items citing it.
#include "tools/helpbuild/helpbuild.h"

#include "common/cp1252.h"

#include <algorithm>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\xA0';
}

std::string folded(const std::string& text)
{
    std::string result(text);
    for (char& c : result) c = static_cast<char>(cp1252Lower(static_cast<unsigned char>(c)));
    return result;
}

std::string countText(int items)
{
    return std::to_string(items) + (items == 1 ? " voce" : " voci");
}

}  // namespace

std::string citedSource(const std::string& bibliography)
{
    static const std::string marker = "fonte:";
    size_t at = folded(bibliography).rfind(marker);
    if (at == std::string::npos) return std::string();

    std::string source;
    bool pendingBlank = false;
    for (size_t i = at + marker.size(); i < bibliography.size(); ++i) {
        char c = bibliography[i];
        if (isBlank(c)) {
            pendingBlank = !source.empty();
            continue;
        }
        if (pendingBlank) source.push_back(' ');
        pendingBlank = false;
        source.push_back(c);
    }
    // A closing full stop ends the sentence, not the citation ("et al." keeps
    // its own when it is not last).
    bool etAl = source.size() >= 3 && source.compare(source.size() - 3, 3, "al.") == 0;
    if (!source.empty() && source.back() == '.' && !etAl)
        source.pop_back();
    return source;
}

Bibliography collectBibliography(const std::vector<std::string>& itemBibliographies)
{
    Bibliography result;
    std::vector<std::string> keys;
    for (const std::string& text : itemBibliographies) {
        ++result.items;
        std::string source = citedSource(text);
        if (source.empty()) {
            ++result.itemsWithoutSource;
            continue;
        }
        std::string key = folded(source);
        auto found = std::find(keys.begin(), keys.end(), key);
        if (found != keys.end()) {
            ++result.sources[static_cast<size_t>(found - keys.begin())].items;
            continue;
        }
        keys.push_back(key);
        result.sources.push_back(BibliographyEntry{source, 1});
    }
    std::stable_sort(result.sources.begin(), result.sources.end(),
                     [](const BibliographyEntry& a, const BibliographyEntry& b) {
                         return cp1252Collate(a.source.c_str(), b.source.c_str()) < 0;
                     });
    return result;
}

std::string bibliographyPage(const Bibliography& bibliography)
{
    std::string page =
        "<html>\n<head>\n"
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1252\">\n"
        "<title>Bibliografia</title>\n"
        "<link rel=\"stylesheet\" type=\"text/css\" href=\"stile.css\">\n"
        "</head>\n<body>\n"
        "<h1>Bibliografia</h1>\n"
        "<p>Le pubblicazioni citate dalle voci della banca dati, in ordine alfabetico. Accanto a "
        "ogni fonte è indicato quante voci la citano. L'elenco è ricavato dai dati stessi quando "
        "il programma viene compilato: cambia se si cambiano i dati.</p>\n";

    page += "<p class=\"nota\">La banca dati fornita con Quorvel è un set di dati dimostrativo. ";
    if (bibliography.itemsWithoutSource > 0)
        page += "Delle " + std::to_string(bibliography.items) + " voci, " +
                std::to_string(bibliography.itemsWithoutSource) +
                (bibliography.itemsWithoutSource == 1 ? " non cita" : " non citano") +
                " alcuna pubblicazione: riportano un valore indicativo, non una misura. ";
    page += "Vedere <a href=\"dati_dimostrativi.htm\">Il set di dati dimostrativo</a>.</p>\n";

    if (bibliography.sources.empty()) {
        page += "<p>Nessuna voce della banca dati cita una pubblicazione.</p>\n";
    } else {
        page += "<ol>\n";
        for (const BibliographyEntry& entry : bibliography.sources)
            page += "<li>" + htmlEscape(entry.source) + " <i>(" + countText(entry.items) + ")</i></li>\n";
        page += "</ol>\n";
    }

    page += "<p class=\"vedi\">Vedere anche: <a href=\"valori_riferimento.htm\">Valori di "
            "riferimento</a>, <a href=\"albero.htm\">Consultare la banca dati</a>.</p>\n"
            "</body>\n</html>\n";
    return page;
}
