// history: a work history of periods summed into fibre-years, against the
// references that the assessment of a claim uses.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli/calc_shared.h"
#include "cli/cli_internal.h"
#include "cli/text_encoding.h"
#include "common/cp1252.h"
#include "common/ini.h"
#include "common/number_format.h"

namespace {

// ff/cc x years: the lung-cancer dose criterion of the Helsinki criteria and
// of the German BK 4104 (a doubled risk); mesothelioma has none.
constexpr double ReferenceFibreYears = 25;
// ff/cc: the annual mean (as 8-hour average) that the Italian asbestos
// pension benefits ask for, over at least ten years of exposure.
constexpr double ItalianAnnualMean = 0.1;
constexpr long ItalianYears = 10;
constexpr size_t MaxHistoryPeriods = 10000;

struct Period {
    int line;
    long from, to;  // months since year 0: year * 12 + month - 1, both included
    std::string fromText, toText;
    double f, t, g;
    std::string description;
    const NodeRecord* item = nullptr;  // the item F was taken from, if any
};

// "1975" or "1975-03"; a year alone starts in January (start) or ends in
// December (end).
bool parseMonth(const std::string& text, bool end, long* month)
{
    size_t dash = text.find('-');
    long year, number = end ? 12 : 1;
    if (!parseCount(text.substr(0, dash), &year) || year < 1900 || year > 2100)
        return false;
    if (dash != std::string::npos) {
        std::string part = text.substr(dash + 1);
        if (part.size() != 2 || !parseCount(part, &number) || number < 1 || number > 12)
            return false;
    }
    *month = year * 12 + number - 1;
    return true;
}

// Reads one line of a work history; false with the message in *error.
bool readPeriod(const std::string& line, int number, DisplayUnit unit, Period* period, std::string* error)
{
    std::vector<std::string> fields;
    size_t pos = 0;
    while (fields.size() < 5) {
        size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string::npos)
            break;
        size_t end = line.find_first_of(" \t", start);
        fields.push_back(line.substr(start, end == std::string::npos ? std::string::npos : end - start));
        pos = end == std::string::npos ? line.size() : end;
    }
    if (fields.size() < 5) {
        *error = "servono almeno cinque valori: inizio fine F t g [descrizione]";
        return false;
    }
    period->line = number;
    period->description = trimmed(line.substr(pos));
    const char* monthNames[] = {"inizio", "fine"};
    long* months[] = {&period->from, &period->to};
    for (int i = 0; i < 2; ++i) {
        if (!parseMonth(fields[i], i == 1, months[i])) {
            *error = std::string(monthNames[i]) + " " + inQuotes(fields[i]) +
                     " non valido: un anno dal 1900 al 2100, o anno-mese come 1975-03";
            return false;
        }
    }
    period->fromText = fields[0];
    period->toText = fields[1];
    if (period->to < period->from) {
        *error = "la fine " + fields[1] + " precede l'inizio " + fields[0];
        return false;
    }
    const char* valueNames[] = {"F", "t", "g"};
    double* values[] = {&period->f, &period->t, &period->g};
    for (int i = 0; i < 3; ++i) {
        const std::string& text = fields[2 + i];
        if (i == 0 && !text.empty() && text[0] == '@') {
            // An item id: its concentration, and its source with it.
            long id;
            const NodeRecord* item = parseCount(text.substr(1), &id) && id <= 65535
                                         ? findNode(static_cast<unsigned>(id)) : nullptr;
            if (!item || item->kind != Item) {
                *error = "F " + inQuotes(text) + ": nessuna voce con questo ID (vedere quorvel tree --ids)";
                return false;
            }
            period->item = item;
            period->f = concentrationInUnit(item->concentration, unit);
            if (period->description.empty())
                period->description = item->name;
            continue;
        }
        if (!isPlainNumber(text) || !parseNumber(text.c_str(), values[i])) {
            *error = std::string(valueNames[i]) + " " + inQuotes(text) + " non è un numero" +
                     (text.find(',') != std::string::npos
                          ? " (usare il punto come separatore decimale)" : "");
            return false;
        }
    }
    if (period->f < 0) {
        *error = "F " + inQuotes(fields[2]) + ": la concentrazione non può essere negativa";
        return false;
    }
    if (!HoursRange.contains(period->t)) {
        *error = "t " + inQuotes(fields[3]) + ": " + outOfRange(HoursRange);
        return false;
    }
    if (!DaysRange.contains(period->g)) {
        *error = "g " + inQuotes(fields[4]) + ": " + outOfRange(DaysRange);
        return false;
    }
    return true;
}

// Sums of floating-point parts may miss an exact total by the last bits.
bool nearlyEqual(double a, double b)
{
    return std::fabs(a - b) <= 1e-9 * std::max(std::fabs(a), std::fabs(b));
}

// Where the period's F comes from, for the last column.
std::string periodSource(const Period& period)
{
    return period.item ? itemOriginText(period.item->id) : std::string();
}

// "3 anni e 4 mesi", "1 anno e 1 mese".
std::string durationText(long months)
{
    long years = months / 12, rest = months % 12;
    return std::to_string(years) + (years == 1 ? " anno" : " anni") + " e " + std::to_string(rest) +
           (rest == 1 ? " mese" : " mesi");
}

// Months of exposure whose annual mean reaches the Italian criterion. Each
// period counts for the months it lasts, at its own annual mean (overlapping
// periods add up): a short high period is not a whole year, and a period that
// straddles New Year counts in full.
long qualifyingMonths(const std::vector<Period>& periods, const std::vector<double>& exposures)
{
    long first = periods[0].from, last = periods[0].to;
    for (const Period& period : periods) {
        first = std::min(first, period.from);
        last = std::max(last, period.to);
    }
    std::vector<double> means(static_cast<size_t>(last - first + 1), 0.0);
    for (size_t i = 0; i < periods.size(); ++i)
        for (long m = periods[i].from; m <= periods[i].to; ++m)
            means[static_cast<size_t>(m - first)] += exposures[i];
    long count = 0;
    for (double mean : means)
        count += mean > ItalianAnnualMean || nearlyEqual(mean, ItalianAnnualMean);
    return count;
}

// "la riga 3" / "le righe 3 e 7", for warnings that name periods.
std::string linesText(const std::vector<int>& lines)
{
    std::string text = lines.size() == 1 ? "la riga " : "le righe ";
    for (size_t i = 0; i < lines.size(); ++i)
        text += (i == 0 ? "" : i + 1 == lines.size() ? " e " : ", ") + std::to_string(lines[i]);
    return text;
}

}  // namespace

int historyCommand(CommandContext& context)
{
    ParsedOptions options;
    if (!parseOptions(context, {{"--unit", nullptr, true}, {"--cited-only", nullptr, false}}, &options))
        return ExitUsage;
    if (options.help)
        return showHelp(context);
    DisplayUnit unit;
    if (!unitOption(context, options, &unit))
        return ExitUsage;
    if (options.positionals.size() != 1)
        return usageError(context, "serve un solo file con la storia lavorativa");
    const CliArgument& argument = context.args[options.positionals[0]];
    std::string name = shownPath(argument.path);
    std::string text;
    errno = 0;
    if (!readWholeFile(argument.path.c_str(), &text))
        return failure(context, "impossibile leggere il file " + inQuotes(name) + " (" +
                                    (errno != 0 ? shownPath(std::strerror(errno)) : "errore di lettura") + ")");
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0)
        text.erase(0, 3);
    // UTF-8 files (the usual on Linux) convert; others are Windows-1252 already.
    const bool utf8 = isUtf8(text);

    std::vector<Period> periods;
    size_t pos = 0;
    int number = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
        pos = end == std::string::npos ? text.size() : end + 1;
        ++number;
        size_t hash = line.find('#');
        if (hash != std::string::npos)
            line.erase(hash);
        if (trimmed(line).empty())
            continue;
        std::string converted;
        std::string bad;
        if (utf8 && !utf8ToCp1252(line, &converted, &bad))
            return failure(context, name + ":" + std::to_string(number) + ": il carattere " + bad +
                                        " non esiste in Windows-1252");
        Period period;
        std::string error;
        if (!readPeriod(utf8 ? converted : line, number, unit, &period, &error))
            return failure(context, name + ":" + std::to_string(number) + ": " + error);
        if (options.has("--cited-only") && period.item && !isCitedItem(period.item->id))
            return usageError(context, name + ":" + std::to_string(number) + ": la voce " +
                                           std::to_string(period.item->id) +
                                           " ha un valore indicativo, non una misura pubblicata "
                                           "(--cited-only accetta solo voci citate)");
        if (periods.size() >= MaxHistoryPeriods)
            return failure(context, name + ": più di " + std::to_string(MaxHistoryPeriods) + " periodi");
        periods.push_back(period);
    }
    if (periods.empty())
        return failure(context, inQuotes(name) + " non contiene periodi di lavoro");

    int overlaps = 0;
    for (size_t i = 0; i < periods.size() && overlaps < 5; ++i)
        for (size_t j = i + 1; j < periods.size() && overlaps < 5; ++j)
            if (periods[i].from <= periods[j].to && periods[j].from <= periods[i].to) {
                warning(context, "i periodi delle righe " + std::to_string(periods[i].line) + " e " +
                                     std::to_string(periods[j].line) +
                                     " si sovrappongono: le loro esposizioni si sommano");
                ++overlaps;
            }

    std::string& out = context.io.out;
    out += std::string("Periodo\tAnni\tF (") + unitLabel(unit) + ")\tt\tg\tE (ff/cc)\tff/cc × anni\tDescrizione\tFonte\n";
    double total = 0;
    std::vector<double> exposures;  // annual mean of each period, ff/cc
    std::vector<int> indicative;    // lines whose F is an indicative item
    std::vector<std::string> methods;
    for (const Period& period : periods) {
        long length = period.to - period.from + 1;
        double exposure = annualExposure(period.f, period.t, period.g);
        if (unit == PerLitre)
            exposure = perThousand(exposure);
        exposures.push_back(exposure);
        double fibreYears = exposure * static_cast<double>(length) / 12;
        total += fibreYears;
        if (period.item && !isCitedItem(period.item->id))
            indicative.push_back(period.line);
        if (period.item)
            methods.push_back(itemMethod(period.item->id));
        std::string years = length % 12 == 0 ? std::to_string(length / 12)
                                             : fixedText(static_cast<double>(length) / 12, 2);
        // "1975-1982" as before; with months "1990-01/1990-06", which a dash would blur.
        bool months = period.fromText.find('-') != std::string::npos ||
                      period.toText.find('-') != std::string::npos;
        out += period.fromText + (months ? "/" : "-") + period.toText + "\t" + years + "\t" + unitValueText(period.f, unit) +
               "\t" + fixedText(period.t, 2) + "\t" + fixedText(period.g, 1) + "\t" + fixedText(exposure, 5) +
               "\t" + fixedText(fibreYears, 3) + "\t" + period.description + "\t" + periodSource(period) + "\n";
    }
    out += "Esposizione cumulativa: " + fixedText(total, 3) + " ff/cc × anni\n";
    // What weakens the totals, on both streams: a warning read only on the
    // terminal would be lost when the output goes into a report.
    std::vector<std::string> cautions;
    if (!indicative.empty())
        cautions.push_back(linesText(indicative) + (indicative.size() == 1 ? " usa" : " usano") +
                           " valori indicativi della banca dati, non misure pubblicate: i totali "
                           "non si basano su misure");
    if (mixesMicroscopy(methods))
        cautions.push_back("i periodi mescolano conteggi in microscopia ottica a contrasto di fase (PCM) e "
                           "in microscopia elettronica (TEM/SEM), che contano fibre diverse: la somma li "
                           "tratta come una sola misura");
    for (const std::string& caution : cautions) {
        out += "Attenzione: " + caution + "\n";
        warning(context, caution);
    }
    const bool reached = total > ReferenceFibreYears || nearlyEqual(total, ReferenceFibreYears);
    out += std::string("Criterio di dose per il tumore del polmone: 25 ff/cc × anni (BK 4104 in Germania, "
                       "criteri di Helsinki), la dose alla quale il rischio di tumore del polmone è "
                       "circa raddoppiato. È una delle vie per il riconoscimento della malattia "
                       "professionale, non una soglia di sicurezza: il rischio non si annulla sotto questa "
                       "dose. Non vale per il mesotelioma. L'esposizione cumulativa calcolata ") +
           (reached ? "raggiunge questa dose.\n"
                    : "non raggiunge questa dose; il riconoscimento resta possibile per le altre vie.\n");
    long qualifying = qualifyingMonths(periods, exposures);
    out += "Durata dell'esposizione con media annua pari o superiore a 100 ff/l: " + durationText(qualifying) +
           " (criterio italiano dei benefici previdenziali, art. 47 D.L. 269/2003 e D.M. 27 ottobre 2004: "
           "almeno " + std::to_string(ItalianYears) + " anni)\n";
    out += "Il criterio riferisce la media annua delle esposizioni giornaliere su 8 ore all'orario di "
           "lavoro contrattuale; E la riferisce a un anno fisso di 1920 ore (8 × 240): il conteggio è "
           "un'approssimazione. Solo l'INAIL certifica l'esposizione, con un proprio accertamento delle "
           "mansioni, dei periodi e delle concentrazioni.\n";
    return ExitOk;
}
