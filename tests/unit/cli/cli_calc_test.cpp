// calc, check and history: the calculator's texts from values and from the
// example files, the file check on broken files, the work history.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#include "app/calculator/calculator.h"
#include "app/database/database.h"
#include "cli_test_support.h"

namespace {

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::path(QUORVEL_BINARY_DIR) / "cli_test_files" /
               ::testing::UnitTest::GetInstance()->current_test_info()->name();
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }

    std::string put(const std::string& name, const std::string& bytes)
    {
        std::string path = (dir_ / name).string();
        std::FILE* file = std::fopen(path.c_str(), "wb");
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
        return path;
    }

    std::filesystem::path dir_;
};

}  // namespace

TEST(CliCalc, SingleCalculationsGiveTheModelsTexts)
{
    struct Case {
        std::vector<std::string> args;
        const char* cc;
        const char* litre;
    } cases[] = {
        {{"-F", "0.3", "-t", "2", "-g", "120"}, "0.03750", "37.50"},
        {{"-F", "1"}, "1.00000", "1000.00"},  // t 8 and g 240 by default: E = F
        {{"-F", "0.05"}, "0.05000", "50.00"},
        {{"--fibre", "1", "--ore", "24", "--giorni", "365"}, "4.56250", "4562.50"},
        {{"--unit", "l", "-F", "300", "-t", "2", "-g", "120"}, "0.03750", "37.50"},
        {{"-F", "."}, "0.00000", "0.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.cc);
        std::vector<std::string> args = {"calc"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CliRun run = runQuorvel(args);
        EXPECT_EQ(0, run.status) << run.err;
        std::vector<std::string> lines = cliLines(run.out);
        ASSERT_EQ(5u, lines.size());
        EXPECT_EQ(std::string("Esposizione annuale (ff/cc): ") + c.cc, lines[3]);
        EXPECT_EQ(std::string("Esposizione annuale (ff/l): ") + c.litre, lines[4]);
    }
    EXPECT_EQ("Mescolatrice\nConcentrazione (ff/cc): 0.3\nOre/giorno: 2\nGiorni/anno: 120\n"
              "Esposizione annuale (ff/cc): 0.03750\nEsposizione annuale (ff/l): 37.50\n\nprova è\n",
              runQuorvel({"calc", "-F", "0.3", "-t", "2", "-g", "120", "-d", "Mescolatrice", "--note",
                          u8"prova è"}).out);
    EXPECT_EQ("Calcolo dell'esposizione media annuale a fibre d'amianto\n\n"
              "Concentrazione (ff/cc):\t1,5\nOre/giorno:\t8\nGiorni/anno:\t240\n"
              "Esposizione annuale (ff/cc):\t1,50000\nEsposizione annuale (ff/l):\t1500,00\nNote:\t\n",
              runQuorvel({"calc", "--csv", "-F", "1.5"}).out);
}

TEST(CliCalc, ValuesTheCalculatorWouldRefuse)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"-F", "0,3"}, "-F «0,3»: Inserimento carattere non valido: usare il punto come separatore decimale! (carattere «,»)"},
        {{"-F", "1.2.3"}, "(carattere «.»)"},
        {{"-F", "-1"}, "(carattere «-»)"},
        {{"-F", ""}, "Attenzione: inserire la concentrazione di fibre!"},
        {{"-F", "0.0000000000001234"}, "al massimo 15 caratteri"},
        {{"-F", "1", "-t", "24.01"}, "Attenzione: ore/giorno valore non valido!"},
        {{"-F", "1", "-t", "0"}, "Attenzione: ore/giorno valore non valido!"},
        {{"-F", "1", "-t", "."}, "Attenzione: ore/giorno valore non valido!"},
        {{"-F", "1", "-t", ""}, "Attenzione: inserire le ore/giorno!"},
        {{"-F", "1", "-g", "365.5"}, "Attenzione: giorni/anno valore non valido!"},
        {{"-t", "8"}, "manca la concentrazione"},
        {{"-F"}, "manca il valore dell'opzione «-F»"},
        {{"-F", "1", "--unit", "m3"}, "unità sconosciuta"},
        {{"-F", "1", "-d", std::string(256, 'x')}, "256 caratteri"},
        {{"-F", "1", "--note", u8"€ ok, 中 no"}, "U+4E2D"},
        {{"a.qvl", "b.qvl"}, "un solo file"},
        {{"a.qvl", "-F", "1"}, "non si usa con un file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        std::vector<std::string> args = {"calc"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        CliRun run = runQuorvel(args);
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
        EXPECT_EQ("", run.out);
    }
}

TEST(CliCalc, ExampleFilesAreRecomputedWithTheCalculatorsTexts)
{
    CliRun multiple = runQuorvel({"calc", cliFixture("Esempio3.qvl")});
    EXPECT_EQ(0, multiple.status);
    EXPECT_EQ("Esposizioni multiple\n"
              "Descrizione: Centrali elettriche a vapore: rimozione di guarnizioni di valvole\n"
              "Concentrazione (ff/l): 300.00\nOre/giorno: 2.000\nGiorni/anno: 120.0\n"
              "Esposizione parziale (ff/l): 37.50\n"
              "Descrizione: Turbinista in zona turbina\n"
              "Concentrazione (ff/l): 4.00\nOre/giorno: 5.500\nGiorni/anno: 120.0\n"
              "Esposizione parziale (ff/l): 1.38\n\n"
              "Esposizione annuale (ff/cc): 0.03888\nEsposizione annuale (ff/l): 38.88\n\n"
              "Esempio 3: due lavorazioni, valori in ff/l.\n",
              multiple.out);
    EXPECT_EQ("", multiple.err);

    EXPECT_EQ("Calcolo dell'esposizione media annuale a fibre d'amianto\n"
              "Esposizioni multiple:\t3\n"
              "Descrizione\tFibre\tOre\tGiorni\tEsposizione\n"
              "Mescolatrice: stima per l'ambiente\t2,20000\t4,000\t240,0\t1,10000\n"
              "Pastigliatrici\t1,90000\t2,500\t240,0\t0,59375\n"
              "Preformazione ceppi\t1,80000\t1,000\t120,0\t0,11250\n"
              "Esposizione annuale (ff/cc):\t1,80625\n"
              "Esposizione annuale (ff/l):\t1806,25\n"
              "Note:\tEsempio 4: tre lavorazioni, valori in fibre/cc.\n",
              runQuorvel({"calc", "--csv", cliFixture("Esempio4.qvl")}).out);

    std::vector<std::string> single = cliLines(runQuorvel({"calc", cliFixture("Esempio1.qvl")}).out);
    ASSERT_EQ(8u, single.size());
    EXPECT_EQ("Concentrazione (ff/cc): 0.3", single[1]);
    EXPECT_EQ("Esposizione annuale (ff/cc): 0.03750", single[4]);
}

TEST_F(CliFiles, CalcOnBrokenFilesWarnsOrRefuses)
{
    CliRun comma = runQuorvel({"calc", put("virgola.qvl", "[QUORVEL]\r\nFIBRE=0,3\r\nORE=8\r\nGIORNI=240\r\n"
                                                           "ESPOSIZIONE=0.30000\r\n")});
    EXPECT_EQ(0, comma.status);
    EXPECT_NE(std::string::npos, comma.out.find("Concentrazione (ff/cc): 0\n"));
    EXPECT_NE(std::string::npos, comma.out.find("Esposizione annuale (ff/cc): 0.00000\n"));
    EXPECT_NE(std::string::npos, comma.err.find("FIBRE=«0,3»: Inserimento carattere non valido"));
    EXPECT_NE(std::string::npos, comma.err.find("ESPOSIZIONE=«0.30000», il ricalcolo dà 0.00000"));

    struct Case {
        std::string path;
        const char* message;
    } cases[] = {
        {(dir_ / "assente.qvl").string(), "impossibile leggere il file"},
        {dir_.string(), "impossibile leggere il file"},
        {put("testo.qvl", "solo testo\r\n"), "non è un file di calcolo"},
        {put("vuoto.qvl", ""), "manca la sezione [QUORVEL]"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        CliRun run = runQuorvel({"calc", c.path});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
}

TEST(CliCheck, ExampleFilesAndTheirFolderAreClean)
{
    CliRun run = runQuorvel({"check", cliFixture("Esempio1.qvl"), cliFixture("Esempio3.qvl")});
    EXPECT_EQ(0, run.status);
    EXPECT_EQ(cliFixture("Esempio1.qvl") + ": OK\n" + cliFixture("Esempio3.qvl") + ": OK\n", run.out);
    CliRun folder = runQuorvel({"check", "--quiet", std::string(QUORVEL_SOURCE_DIR) + "/tests/unit/cli/fixtures"});
    EXPECT_EQ(0, folder.status);
    EXPECT_EQ("", folder.out);
    EXPECT_EQ(2, runQuorvel({"check"}).status);
}

TEST_F(CliFiles, CheckReportsWhatTheProgramWouldRefuseOrCut)
{
    const std::string head = "[QUORVEL]\r\nMULTI=0\r\nLAVORAZIONE=x\r\n";
    const std::string results = "ESPOSIZIONE=0.03750\r\nESPOSIZIONE_FL=37.50\r\nUNIT=0\r\n";
    const std::string multi = "[QUORVEL]\r\nMULTI=1\r\nITEMS=1\r\nESPOSIZIONE=0.11250\r\n"
                              "ESPOSIZIONE_FL=112.50\r\nUNIT=0\r\n[EXPO_0]\r\nVOCE=Ceppi\r\n";
    struct Case {
        const char* name;
        std::string content;
        const char* problem;
    } cases[] = {
        {"comma", head + "FIBRE=0,3\r\nORE=2\r\nGIORNI=120\r\n" + results,
         "FIBRE=«0,3»: carattere non valido «,», il programma mostra «Inserimento carattere non valido: "
         "usare il punto come separatore decimale!» e tiene «0»"},
        {"long number", head + "FIBRE=0.3000000000000001\r\nORE=2\r\nGIORNI=120\r\n" + results,
         "FIBRE=«0.3000000000000001»: il calcolatore legge solo i primi 15 caratteri, «0.3000000000000»"},
        {"hours", head + "FIBRE=0.3\r\nORE=30\r\nGIORNI=120\r\n" + results,
         "ORE=«30»: ore/giorno fuori dall'intervallo"},
        {"days", head + "FIBRE=0.3\r\nORE=2\r\nGIORNI=366\r\n" + results,
         "GIORNI=«366»: giorni/anno fuori dall'intervallo"},
        {"missing", head + "ORE=2\r\nGIORNI=120\r\n" + results, "FIBRE mancante"},
        {"long text", "[QUORVEL]\r\nLAVORAZIONE=" + std::string(300, 'a') +
                          "\r\nFIBRE=0.3\r\nORE=2\r\nGIORNI=120\r\n" + results,
         "LAVORAZIONE: 300 caratteri, il programma legge solo i primi 255"},
        {"stored result", head + "FIBRE=0.3\r\nORE=2\r\nGIORNI=240\r\n" + results,
         "ESPOSIZIONE=0.03750 non concorda con il ricalcolo, 0.07500"},
        {"stored text", head + "FIBRE=0.3\r\nORE=2\r\nGIORNI=120\r\nESPOSIZIONE=circa 0.04\r\n"
                                "ESPOSIZIONE_FL=37.50\r\n",
         "ESPOSIZIONE=«circa 0.04» non è un numero: il ricalcolo dà 0.03750"},
        {"unit", head + "FIBRE=0.3\r\nORE=2\r\nGIORNI=120\r\nESPOSIZIONE=0.03750\r\nESPOSIZIONE_FL=37.50\r\nUNIT=2\r\n",
         "UNIT=«2» non è 0 o 1: letto come 2 (ff/l)"},
        {"no section", "[ALTRO]\r\nFIBRE=1\r\n", "manca la sezione [QUORVEL]"},
        {"missing row", "[QUORVEL]\r\nMULTI=1\r\nITEMS=2\r\nESPOSIZIONE=0.11250\r\nESPOSIZIONE_FL=112.50\r\n"
                        "[EXPO_0]\r\nVOCE=Ceppi\r\nFIBRE=1.80000\r\nORE=1.000\r\nGIORNI=120.0\r\n",
         "sezione [EXPO_1] mancante"},
        {"rounded", multi + "FIBRE=1.800004\r\nORE=1.000\r\nGIORNI=120.0\r\n",
         "[EXPO_0] FIBRE=1.800004 è arrotondato a 1.80000 nella lista"},
        {"row comma", multi + "FIBRE=1,8\r\nORE=1.000\r\nGIORNI=120.0\r\n",
         "[EXPO_0] FIBRE=«1,8» non è un numero: letto come 1 (usare il punto"},
        {"row hours", multi + "FIBRE=1.8\r\nORE=25\r\nGIORNI=120.0\r\n",
         "[EXPO_0] ORE=25: ore/giorno fuori dall'intervallo"},
        {"no description", "[QUORVEL]\r\nMULTI=1\r\nITEMS=1\r\nESPOSIZIONE=0.11250\r\nESPOSIZIONE_FL=112.50\r\n"
                           "[EXPO_0]\r\nFIBRE=1.8\r\nORE=1\r\nGIORNI=120\r\n",
         "[EXPO_0] VOCE vuota"},
        {"items text", "[QUORVEL]\r\nMULTI=1\r\nITEMS=due\r\nESPOSIZIONE=0.00000\r\nESPOSIZIONE_FL=0.00\r\n",
         "ITEMS=«due» non è un numero di righe: letto come 0"},
        {"items missing", "[QUORVEL]\r\nMULTI=1\r\nESPOSIZIONE=0.00000\r\nESPOSIZIONE_FL=0.00\r\n[EXPO_0]\r\nVOCE=a\r\n",
         "ITEMS mancante"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = put("f.qvl", c.content);
        CliRun run = runQuorvel({"check", path});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.out.find(std::string("\n  ") + c.problem)) << run.out;
    }
    // The well-formed neighbour of these cases is clean.
    EXPECT_EQ(0, runQuorvel({"check", put("f.qvl", multi + "FIBRE=1.80000\r\nORE=1.000\r\nGIORNI=120.0\r\n")}).status);
}

TEST_F(CliFiles, CheckOfAFolderTakesItsQvlFilesInNameOrder)
{
    put("b.QVL", "[QUORVEL]\r\nFIBRE=1\r\nORE=8\r\nGIORNI=240\r\nESPOSIZIONE=1.00000\r\nESPOSIZIONE_FL=1000.00\r\n");
    put("a.qvl", "[QUORVEL]\r\nFIBRE=1\r\nORE=8\r\nGIORNI=240\r\nESPOSIZIONE=2.00000\r\nESPOSIZIONE_FL=1000.00\r\n");
    put("note.txt", "not a calculation");
    CliRun run = runQuorvel({"check", dir_.string()});
    EXPECT_EQ(1, run.status);
    std::vector<std::string> lines = cliLines(run.out);
    ASSERT_EQ(3u, lines.size());
    EXPECT_EQ((dir_ / "a.qvl").string() + ": 1 problema", lines[0]);
    EXPECT_EQ((dir_ / "b.QVL").string() + ": OK", lines[2]);

    std::filesystem::create_directories(dir_ / "vuota");
    CliRun empty = runQuorvel({"check", (dir_ / "vuota").string()});
    EXPECT_EQ(1, empty.status);
    EXPECT_NE(std::string::npos, empty.out.find("nessun file .qvl"));
}

TEST_F(CliFiles, HistorySumsFibreYearsAgainstTheReference)
{
    std::string path = put("storia.txt", u8"# lavoro\n1975 1982 2.2 4 240 Mescolatrice è\n\n"
                                         "1983 1990 0.5 8 220   Manutenzione  # freni\r\n");
    CliRun run = runQuorvel({"history", path});
    EXPECT_EQ(0, run.status) << run.err;
    EXPECT_EQ("Periodo\tAnni\tF (ff/cc)\tt\tg\tE (ff/cc)\tff/cc × anni\tDescrizione\tFonte\n"
              "1975-1982\t8\t2.20000\t4.00\t240.0\t1.10000\t8.800\tMescolatrice è\t\n"
              "1983-1990\t8\t0.50000\t8.00\t220.0\t0.45833\t3.667\tManutenzione\t\n"
              "Esposizione cumulativa: 12.467 ff/cc × anni\n"
              "Criterio di dose per il tumore del polmone: 25 ff/cc × anni (BK 4104 in Germania, criteri di "
              "Helsinki), la dose alla quale il rischio di tumore del polmone è circa raddoppiato. È una delle "
              "vie per il riconoscimento della malattia professionale, non una soglia di sicurezza: il rischio "
              "non si annulla sotto questa dose. Non vale per il mesotelioma. L'esposizione cumulativa "
              "calcolata non raggiunge questa dose; il riconoscimento resta possibile per le altre vie.\n"
              "Durata dell'esposizione con media annua pari o superiore a 100 ff/l: 16 anni e 0 mesi "
              "(criterio italiano dei benefici previdenziali, art. 47 D.L. 269/2003 e D.M. 27 ottobre 2004: "
              "almeno 10 anni)\n"
              "Il criterio riferisce la media annua delle esposizioni giornaliere su 8 ore all'orario di "
              "lavoro contrattuale; E la riferisce a un anno fisso di 1920 ore (8 × 240): il conteggio è "
              "un'approssimazione. Solo l'INAIL certifica l'esposizione, con un proprio accertamento delle "
              "mansioni, dei periodi e delle concentrazioni.\n",
              run.out);
    EXPECT_EQ("", run.err);

    // The 25 fibre-year dose is a criterion, not a threshold to score against.
    struct Dose {
        const char* unit;
        const char* history;
        const char* verdict;
    } doses[] = {
        {"l", "2000 2024 1100 8 240\n", "calcolata raggiunge questa dose."},  // 27.5 fibre-years
        {"cc", "2000 2024 1 8 240\n", "calcolata raggiunge questa dose."},
        // 0.01 + 24.99 fibre-years: the floating sum is 25.000000000000004.
        {"cc", "2000 2000 0.01 8 240\n2001 2003 8.33 8 240\n", "calcolata raggiunge questa dose."},
        {"cc", "2000 2001 1 8 240\n", "calcolata non raggiunge questa dose; il riconoscimento resta possibile"},
    };
    for (const Dose& d : doses) {
        SCOPED_TRACE(d.history);
        CliRun dose = runQuorvel({"history", "--unit", d.unit, put("d.txt", d.history)});
        EXPECT_NE(std::string::npos, dose.out.find(d.verdict)) << dose.out;
        EXPECT_EQ(std::string::npos, dose.out.find('%'));
    }

    // The Italian criterion counts the months a period lasts at its annual
    // mean: a short high period is not a whole year, a period across New Year
    // counts in full. F may be an item, whose source then closes the line.
    struct Duration {
        const char* history;
        const char* duration;
    } durations[] = {
        {"1995-01 1995-02 3 8 240\n", "100 ff/l: 0 anni e 2 mesi "},
        {"1990-07 1991-06 0.15 8 240\n", "100 ff/l: 1 anno e 0 mesi "},
        {"1990-01 1990-06 0.15 8 240\n1991 1991 0.1 8 240\n1992-03 1992-04 @541 8 240\n",
         "100 ff/l: 1 anno e 8 mesi "},
        {"1980 1989 0.05 8 240\n1985 1994 0.05 8 240\n", "100 ff/l: 5 anni e 0 mesi "},  // overlap adds up
        {"1980 1999 0.09 8 240\n", "100 ff/l: 0 anni e 0 mesi "},
    };
    for (const Duration& d : durations) {
        SCOPED_TRACE(d.history);
        CliRun months = runQuorvel({"history", put("m.txt", d.history)});
        EXPECT_EQ(0, months.status) << months.err;
        EXPECT_NE(std::string::npos, months.out.find(d.duration)) << months.out;
    }
    EXPECT_NE(std::string::npos,
              runQuorvel({"history", put("i.txt", "1992-03 1992-04 @541 8 240\n")}).out.find(
                  "1992-03/1992-04\t0.17\t10.64000\t8.00\t240.0\t10.64000\t1.773\t"
                  "Fabbricazione di manufatti in cemento amianto (media stimata, convertita)\t" +
                  itemOriginText(541) + "\n"));

    CliRun overlap = runQuorvel({"history", put("o.txt", "2000 2004 1 8 240\n2004 2006 1 8 240\n")});
    EXPECT_EQ(0, overlap.status);
    EXPECT_NE(std::string::npos, overlap.err.find("righe 1 e 2 si sovrappongono"));
}

// An indicative item is named on the totals and on the error stream, and
// --cited-only refuses it.
TEST_F(CliFiles, HistoryMarksIndicativeValues)
{
    unsigned indicative = 0, cited = 0;
    for (int i = 0; i < nodeCount(); ++i) {
        const NodeRecord& node = *nodeAt(i);
        if (node.kind == Item && !indicative && !findSource(node.id))
            indicative = node.id;
        if (node.kind == Item && !cited && findSource(node.id))
            cited = node.id;
    }
    std::string history = put("h.txt", "1975 1984 @" + std::to_string(cited) + " 8 240\n1985 1994 @" +
                                           std::to_string(indicative) + " 8 240\n");
    CliRun run = runQuorvel({"history", history});
    EXPECT_EQ(0, run.status);
    const char* caution = "la riga 2 usa valori indicativi della banca dati, non misure pubblicate";
    EXPECT_NE(std::string::npos, run.out.find(std::string("Esposizione cumulativa: ")));
    EXPECT_NE(std::string::npos, run.out.find(std::string("ff/cc × anni\nAttenzione: ") + caution)) << run.out;
    EXPECT_NE(std::string::npos, run.err.find(caution)) << run.err;
    EXPECT_NE(std::string::npos, run.out.find("\t" + itemOriginText(indicative) + "\n"));

    CliRun refused = runQuorvel({"history", "--cited-only", history});
    EXPECT_EQ(2, refused.status);
    EXPECT_NE(std::string::npos, refused.err.find(":2: la voce " + std::to_string(indicative) +
                                                  " ha un valore indicativo"))
        << refused.err;
    EXPECT_EQ("", refused.out);
    CliRun citedOnly = runQuorvel({"history", "--cited-only", put("c.txt", "1975 1984 @" + std::to_string(cited) +
                                                                          " 8 240\n1985 1994 0.2 8 240\n")});
    EXPECT_EQ(0, citedOnly.status);
    EXPECT_EQ(std::string::npos, citedOnly.out.find("Attenzione"));
}

// -F @ID takes the item's concentration as the calculator does, and the
// output names its source or calls it indicative.
TEST_F(CliFiles, CalcOnAnItemNamesItsSource)
{
    unsigned indicative = 0;
    for (int i = 0; i < nodeCount() && !indicative; ++i)
        if (nodeAt(i)->kind == Item && !findSource(nodeAt(i)->id))
            indicative = nodeAt(i)->id;
    CliRun cited = runQuorvel({"calc", "-F", "@541", "-t", "2", "--unit", "l"});
    EXPECT_EQ(0, cited.status) << cited.err;
    EXPECT_EQ("Fabbricazione di manufatti in cemento amianto (media stimata, convertita)\n"
              "Concentrazione (ff/l): 10640.00\nOre/giorno: 2\nGiorni/anno: 240\n"
              "Fonte: " + itemOriginText(541) + "\n"
              "Esposizione annuale (ff/cc): 2.66000\nEsposizione annuale (ff/l): 2660.00\n",
              cited.out);
    EXPECT_EQ("", cited.err);

    const std::string id = std::to_string(indicative);
    CliRun csv = runQuorvel({"calc", "--csv", "-F", "@" + id, "-d", "Mia"});
    EXPECT_NE(std::string::npos, csv.out.find("\nMia\n"));
    EXPECT_NE(std::string::npos, csv.out.find("\nFonte:\tvoce " + id + ", valore indicativo")) << csv.out;
    EXPECT_NE(std::string::npos, csv.err.find("la voce " + id + " ha un valore indicativo"));
    for (const char* bad : {"@950", "@1", "@x", "@"}) {
        SCOPED_TRACE(bad);
        CliRun refused = runQuorvel({"calc", "-F", bad});
        EXPECT_EQ(2, refused.status);
        EXPECT_NE(std::string::npos, refused.err.find("nessuna voce con questo ID"));
    }

    // A file's rows carry their item in ID_VOCE.
    std::string file = put("v.qvl", "[QUORVEL]\r\nMULTI=1\r\nITEMS=2\r\nUNIT=0\r\n[EXPO_0]\r\nVOCE=A\r\n"
                                    "FIBRE=10.64000\r\nORE=8\r\nGIORNI=240\r\nID_VOCE=541\r\n[EXPO_1]\r\n"
                                    "VOCE=B\r\nFIBRE=1\r\nORE=8\r\nGIORNI=240\r\nID_VOCE=541\r\n");
    std::string out = runQuorvel({"calc", file}).out;
    EXPECT_NE(std::string::npos, out.find("(ff/cc): 10.64000\nFonte: " + itemOriginText(541) + "\nDescrizione: B"))
        << out;
    EXPECT_EQ(std::string::npos, out.find("1.00000\nFonte:"));  // F was changed: not the item's
}

TEST_F(CliFiles, HistoryRefusesBadLinesNamingFileAndLine)
{
    struct Case {
        const char* content;
        const char* message;
    } cases[] = {
        {"1975 1982 2,2 4 240\n", ":1: F «2,2» non è un numero (usare il punto come separatore decimale)"},
        {"\n1982 1975 1 4 240\n", ":2: la fine 1975 precede l'inizio 1982"},
        {"1982-05 1982-04 1 4 240\n", ":1: la fine 1982-04 precede l'inizio 1982-05"},
        {"1982-13 1983 1 4 240\n", ":1: inizio «1982-13» non valido"},
        {"1982 1983 @950 4 240\n", ":1: F «@950»: nessuna voce con questo ID"},
        {"1975 1982 1 25 240\n", ":1: t «25»: ore/giorno fuori"},
        {"1975 1982 1 8 0\n", ":1: g «0»: giorni/anno fuori"},
        {"1975 1982 1 8\n", ":1: servono almeno cinque valori"},
        {"75 82 1 8 240\n", ":1: inizio «75» non valido"},
        {"1975 1982 -1 8 240\n", ":1: F «-1»: la concentrazione non può essere negativa"},
        {u8"1975 1982 1 8 240 中\n", ":1: il carattere U+4E2D non esiste in Windows-1252"},
        {"# solo commenti\n", "non contiene periodi di lavoro"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CliRun run = runQuorvel({"history", put("h.txt", c.content)});
        EXPECT_EQ(1, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
    CliRun missing = runQuorvel({"history", (dir_ / "assente.txt").string()});
    EXPECT_EQ(1, missing.status);
    EXPECT_NE(std::string::npos, missing.err.find("impossibile leggere il file"));
    EXPECT_EQ(2, runQuorvel({"history"}).status);
}

TEST(CliProgram, HelpInBothLanguagesAndGlobalRefusals)
{
    for (const char* command : {"", "tree", "show", "search", "calc", "check", "export", "history"}) {
        SCOPED_TRACE(command);
        std::vector<std::string> args;
        if (*command)
            args = {command, "--help"};
        else
            args = {"--help"};
        CliRun italian = runQuorvel(args);
        args.push_back("--lang=en");
        CliRun english = runQuorvel(args);
        EXPECT_EQ(0, italian.status);
        EXPECT_EQ(0u, italian.out.find("NOME\n    quorvel"));
        EXPECT_NE(std::string::npos, italian.out.find("SINTASSI"));
        EXPECT_EQ(0u, english.out.find("NAME\n    quorvel"));
        EXPECT_NE(std::string::npos, english.out.find("SYNOPSIS"));
    }
    EXPECT_EQ(runQuorvel({"calc", "--help"}).out, runQuorvel({"help", "calc"}).out);
    EXPECT_NE(std::string::npos, runQuorvel({"history", "--help"}).out.find("25 ff/cc × anni"));

    struct Case {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{}, "SINTASSI"},
        {{"prova"}, "comando sconosciuto «prova»"},
        {{"help", "prova"}, "comando sconosciuto «prova»"},
        {{"--lang", "fr", "--help"}, "valore «fr» non valido per --lang"},
        {{"--encoding", "latin9", "tree"}, "valore «latin9» non valido per --encoding"},
        {{"tree", "--lang"}, "manca il valore dell'opzione «--lang»"},
        {{"tree", "--depth=1", "--depth=2"}, "opzione ripetuta «--depth»"},
        {{"export", "--csv=yes"}, "«--csv» non prende valori"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        CliRun run = runQuorvel(c.args);
        EXPECT_EQ(2, run.status);
        EXPECT_NE(std::string::npos, run.err.find(c.message)) << run.err;
    }
    CliStreams io;
    EXPECT_EQ(0, runCli(utf8Arguments({"--encoding", "windows-1252", "--version"}), io));
    EXPECT_EQ(OutputEncoding::Cp1252, io.encoding);
}

TEST_F(CliFiles, LargestFileTheProgramReadsIsCheckedWhole)
{
    std::string text = "[QUORVEL]\r\nMULTI=1\r\nITEMS=10001\r\nESPOSIZIONE=5.20833\r\n"
                       "ESPOSIZIONE_FL=5208.33\r\nUNIT=0\r\n";
    for (int i = 0; i < 10001; ++i)
        text += "[EXPO_" + std::to_string(i) + "]\r\nVOCE=Riga\r\nFIBRE=1.00000\r\nORE=1.000\r\n"
                "GIORNI=1.0\r\nPARZIALE=0.00052\r\n";
    std::string path = put("grande.qvl", text);
    CliRun check = runQuorvel({"check", path});
    EXPECT_EQ(1, check.status);
    // Only the row count is wrong: 10000 rows are read, so the total is 10000 / 1920.
    EXPECT_EQ(path + ": 1 problema\n  ITEMS=10001: il programma legge al massimo 10000 righe\n", check.out);
    EXPECT_NE(std::string::npos,
              runQuorvel({"calc", path}).out.find("Esposizione annuale (ff/cc): 5.20833\n"));
}

TEST_F(CliFiles, OddArgumentsNeverGoUnanswered)
{
    const std::string binary = put("binario.qvl", std::string("\0\xff[QUORVEL\0]\r\n=\r\n[", 18));
    const std::vector<std::string> odd = {"", "-", "--", "---", "--=", "=", "\xff\xfe", "-F",
                                          std::string(100000, 'x'), binary, dir_.string()};
    for (const char* command : {"tree", "show", "search", "calc", "check", "export", "history"}) {
        for (const std::string& arg : odd) {
            SCOPED_TRACE(std::string(command) + " " + arg.substr(0, 20));
            CliRun run = runQuorvel({command, arg});
            EXPECT_TRUE(run.status >= 0 && run.status <= 2);
            if (run.status != 0) {
                EXPECT_FALSE(run.err.empty() && run.out.empty());
            }
        }
    }
}
