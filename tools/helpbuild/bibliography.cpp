// The "Bibliografia" help topic: every publication of the sources table,
// once each, in dictionary order, with its address and the number of items
// citing it.
#include "tools/helpbuild/helpbuild.h"

#include "common/cp1252.h"

#include <algorithm>

namespace {

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

// What one citing item's row says about its figure: where it was measured,
// how, which statistic, and what of the publication was read.
std::string rowText(const CitedSource& row)
{
    std::string text = "voce " + std::to_string(row.item) + ": " + row.country + ", " + row.method + ", " +
                       row.statistic + ", ";
    if (!row.checked || row.readIn.empty()) return text + "non letta";
    if (row.readIn == "riassunto") return text + "letta nel riassunto";
    if (row.readIn == "tabella") return text + "letta in una tabella";
    return text + "letta nel " + row.readIn;
}

int readCount(const Bibliography& bibliography, const char* part)
{
    auto found = bibliography.readIn.find(part);
    return found == bibliography.readIn.end() ? 0 : found->second;
}

}  // namespace

Bibliography collectBibliography(const std::vector<CitedSource>& rows, int items)
{
    Bibliography result;
    result.items = items;
    std::vector<std::string> keys;
    for (const CitedSource& row : rows) {
        ++result.cited;
        result.checked += row.checked;
        if (row.checked) ++result.readIn[row.readIn];
        std::string key = folded(row.reference);
        auto found = std::find(keys.begin(), keys.end(), key);
        if (found != keys.end()) {
            BibliographyEntry& entry = result.sources[static_cast<size_t>(found - keys.begin())];
            ++entry.items;
            entry.checked = entry.checked && row.checked;
            entry.rows.push_back(row);
            continue;
        }
        keys.push_back(key);
        result.sources.push_back(BibliographyEntry{row.reference, row.address, row.checked, 1, {row}});
    }
    std::stable_sort(result.sources.begin(), result.sources.end(),
                     [](const BibliographyEntry& a, const BibliographyEntry& b) {
                         return cp1252Collate(a.reference.c_str(), b.reference.c_str()) < 0;
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
        "<p>Le pubblicazioni citate dalle voci della banca dati, in ordine alfabetico, con il loro "
        "indirizzo (DOI o pagina web). Accanto a ogni fonte è indicato quante voci la citano. "
        "L'elenco è ricavato dalla tabella delle fonti quando il programma viene compilato: cambia "
        "se si cambiano i dati. Sotto ogni fonte sono elencate le voci che la citano, ciascuna con il "
        "paese della misura, il metodo di conteggio (PCM, TEM, SEM o altro, anche quando la "
        "pubblicazione non lo indica), la statistica pubblicata (media, mediana, estremo di un "
        "intervallo, TWA, singolo campione o non rilevato) e che cosa è stato letto: il testo "
        "completo, una tabella o il solo riassunto. La tabella delle fonti dice anche in quale pagina "
        "o tabella si trova il dato, il valore come pubblicato e l'eventuale conversione in "
        "ff/cc.</p>\n";

    page += "<p class=\"nota\">Delle " + std::to_string(bibliography.items) + " voci della banca dati, " +
            std::to_string(bibliography.cited) + " citano una pubblicazione; di queste " +
            std::to_string(bibliography.checked) +
            " riportano un valore letto nella pubblicazione o nel suo riassunto (" +
            std::to_string(readCount(bibliography, "testo completo")) + " nel testo completo, " +
            std::to_string(readCount(bibliography, "tabella")) + " in una tabella, " +
            std::to_string(readCount(bibliography, "riassunto")) +
            " nel solo riassunto), le altre una fonte non ancora verificata. Le restanti " +
            std::to_string(bibliography.items - bibliography.cited) +
            " voci riportano un valore indicativo, non una misura. Vedere <a href=\"dati_dimostrativi.htm\">"
            "Il set di dati dimostrativo</a>.</p>\n";

    if (bibliography.sources.empty()) {
        page += "<p>Nessuna voce della banca dati cita una pubblicazione.</p>\n";
    } else {
        page += "<ol>\n";
        for (const BibliographyEntry& entry : bibliography.sources) {
            page += "<li>" + htmlEscape(entry.reference);
            // The address as text: the help viewer works offline and its links
            // must resolve inside the help file.
            if (entry.address.compare(0, 4, "http") == 0)
                page += ". " + htmlEscape(entry.address);
            page += " <i>(" + countText(entry.items) + (entry.checked ? "" : ", fonte non verificata") + ")</i>";
            for (const CitedSource& row : entry.rows) page += "<br>\n" + htmlEscape(rowText(row));
            page += "</li>\n";
        }
        page += "</ol>\n";
    }

    page += "<p class=\"vedi\">Vedere anche: <a href=\"valori_riferimento.htm\">Valori di "
            "riferimento</a>, <a href=\"albero.htm\">Consultare la banca dati</a>.</p>\n"
            "</body>\n</html>\n";
    return page;
}
