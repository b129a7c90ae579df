// Clipboard text and printed pages of the search results.
#include "app/browse/search_output.h"

namespace {

const char Title[] = "Risultati di ricerca in Quorvel";
const char CopyLegend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce \r\n"
                          "*=concentrazione superiore a 100 ff/litro\r\n";
const char PrintLegend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce\r\n"
                           "*=concentrazione superiore a 100 ff/litro\r\n";
const char FolderImageCode[] = "C";

bool isFolderRow(const ResultLine& row)
{
    return std::string(resultTypeCode(row.image)) == FolderImageCode;
}

const char* orEmpty(const char* text)
{
    return text ? text : "";
}

}  // namespace

std::string searchResultsCopyText(const ResultsHeader& header, const ResultLine* rows,
                                  size_t count)
{
    std::string out;
    out += Title;
    out += "\r\n";
    out += "Testo da cercare:\t";
    out += orEmpty(header.text);
    out += "\r\n";
    out += "Criterio di ricerca:\t";
    out += criterionName(header.advanced, header.criterion);
    out += "\r\n";
    out += orEmpty(header.counterLabel);
    out += "\r\n";
    out += "Tipo\tDescrizione\tBibliografia\r\n";
    for (size_t i = 0; i < count; ++i) {
        const ResultLine& row = rows[i];
        out += resultTypeCode(row.image);
        out += '\t';
        out += orEmpty(row.label);
        out += '\t';
        if (!isFolderRow(row))
            out += orEmpty(row.bibliography);
        out += "\r\n";
    }
    out += CopyLegend;
    return out;
}

void printSearchResults(ResultsPage& page, const ResultsHeader& header, const ResultLine* rows,
                        size_t count, int lineHeight, int pageHeight)
{
    if (lineHeight <= 0)
        return;
    const int L = lineHeight;
    int n = 0;
    auto line = [&](const std::string& text, int advance) {
        page.drawLine((n + 1) * L, text.c_str());
        n += advance;
    };
    // A box from line n + 1 that is `lines` high; the text's height moves on.
    auto box = [&](const std::string& text, int lines) {
        int height = page.drawBox((n + 1) * L, (n + 1 + lines) * L, text.c_str());
        n += (height > 0 ? height / L : 0) + 2;
    };
    auto fitOrNewPage = [&](int lines) {
        if ((n + lines) * L > pageHeight) {
            page.newPage();
            n = 0;
        }
    };

    line(Title, 1);
    line("Testo da cercare: ", 1);
    line(orEmpty(header.text), 1);
    line(std::string("Criterio di ricerca: ") + criterionName(header.advanced, header.criterion), 2);
    line(orEmpty(header.counterLabel), 1);
    box("Tipo\r\nDescrizione\r\nBibliografia\r\n", 3);

    for (size_t i = 0; i < count; ++i) {
        const ResultLine& row = rows[i];
        std::string text = resultTypeCode(row.image);
        text += "\r\n";
        text += orEmpty(row.label);
        if (!isFolderRow(row)) {
            text += "\r\n";
            text += orEmpty(row.bibliography);
        }
        fitOrNewPage(7);
        box(text, 6);
    }

    fitOrNewPage(6);
    page.drawBox((n + 1) * L, (n + 6) * L, PrintLegend);
}
