// Clipboard text and printed pages of the search results.
#include "app/browse/search_output.h"

namespace {

const char Title[] = "Risultati di ricerca in Quorvel";
const char CopyLegend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce \r\n"
                          "*=concentrazione superiore a 100 ff/litro\r\n";
const char PrintLegend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce\r\n"
                           "*=concentrazione superiore a 100 ff/litro\r\n";
const char FolderImageCode[] = "C";
const char ColumnHeadings[] = "Tipo\r\nDescrizione\r\nBibliografia\r\n";

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

void printSearchResults(PrintSurface& page, const ResultsHeader& header, const ResultLine* rows,
                        size_t count, int lineHeight, int pageWidth, int pageHeight)
{
    if (lineHeight <= 0)
        return;
    PageFlow flow(page, lineHeight, pageWidth, pageHeight, {Title});
    flow.write(Title);
    flow.write("Testo da cercare: ");
    flow.write(orEmpty(header.text));
    flow.write(std::string("Criterio di ricerca: ") + criterionName(header.advanced, header.criterion));
    flow.skip(1);
    flow.write(orEmpty(header.counterLabel));
    // The column headings head every page, under the title: a page read on
    // its own still says which line is the type, the description, the source.
    std::vector<std::string> heading = flow.wrap(ColumnHeadings);
    for (const std::string& line : heading)
        flow.write(line);
    flow.skip(2);
    heading.insert(heading.begin(), Title);
    flow.setHeading(heading);

    for (size_t i = 0; i < count; ++i) {
        const ResultLine& row = rows[i];
        std::string text = resultTypeCode(row.image);
        text += "\r\n";
        text += orEmpty(row.label);
        if (!isFolderRow(row)) {
            text += "\r\n";
            text += orEmpty(row.bibliography);
        }
        // A row stays on one page when it fits one; all of it is printed.
        const std::vector<std::string> lines = flow.wrap(text);
        flow.keepTogether(static_cast<int>(lines.size()));
        for (const std::string& line : lines)
            flow.write(line);
        flow.skip(2);
    }

    const std::vector<std::string> legend = flow.wrap(PrintLegend);
    flow.keepTogether(static_cast<int>(legend.size()));
    for (const std::string& line : legend)
        flow.write(line);
    flow.finish();
}
