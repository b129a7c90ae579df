// Copy and print of the shown element from the real main window, and page
// set-up, against a PostScript printer installed for the test run.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/browse/item_output.h"
#include "app/calculator/calculator_output.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "app/ui/clipboard.h"
#include "app/ui/printer.h"
#include "common/win/html_help.h"
#include "tests/win32/browse/dialog_driver.h"
#include "tests/win32/browse/print_fixture.h"
#include "tests/win32/support/import_patch.h"
#include "tests/win32/support/main_window_fixture.h"

namespace {

class PrinterEnvironment : public testing::Environment {
public:
    void SetUp() override { ASSERT_TRUE(installPostScriptPrinter()); }
};
testing::Environment* const printerEnvironment =
    testing::AddGlobalTestEnvironment(new PrinterEnvironment);

const char DecontaminationTitle[] =
    "Amianto->Ciclo di vita->Bonifica->Decontaminazione in edifici (valore massimo)";
const char DecontaminationSource[] =
    "Fonte bibliografica: Campionamento ambientale. Fonte: G. Ig. Ind. 14:207, 1989";

HWND WINAPI ignoreHelp(HWND, LPCSTR, UINT, DWORD_PTR)
{
    return nullptr;
}


// Expands the tree down the labels and selects the last one, as a user would.
HTREEITEM selectPath(HWND tree, const std::vector<const char*>& labels)
{
    HTREEITEM node = TreeView_GetRoot(tree);
    for (const char* label : labels) {
        TreeView_Expand(tree, node, TVE_EXPAND);
        HTREEITEM child = TreeView_GetChild(tree, node);
        while (child && treeLabel(tree, child) != label)
            child = TreeView_GetNextSibling(tree, child);
        if (!child)
            return nullptr;
        node = child;
    }
    TreeView_SelectItem(tree, node);
    return node;
}

// Positions of the needles in text, in order; npos where one is missing or
// out of order.
std::vector<size_t> positionsInOrder(const std::string& text, const std::vector<std::string>& needles)
{
    std::vector<size_t> at;
    size_t from = 0;
    for (const std::string& needle : needles) {
        const size_t found = text.find(needle, from);
        at.push_back(found);
        if (found == std::string::npos)
            break;
        from = found + needle.size();
    }
    return at;
}

// Compared without blanks and line breaks: the printed lines are wrapped.
void expectInOrder(const std::string& printed, const std::vector<std::string>& pieces)
{
    const std::string text = withoutSpaces(printed);
    std::vector<std::string> needles;
    for (const std::string& piece : pieces)
        needles.push_back(withoutSpaces(piece));
    const std::vector<size_t> at = positionsInOrder(text, needles);
    for (size_t i = 0; i < at.size(); ++i)
        EXPECT_NE(at[i], std::string::npos) << "missing or out of order: " << needles[i] << "\nin:\n" << text;
}

class ItemOutputTest : public WithMainWindow {
protected:
    void beforeStart() override { setHtmlHelpFunction(ignoreHelp); }
    void command(int id) { SendMessageA(window, WM_COMMAND, id, 0); }
    HTREEITEM selectDecontamination()
    {
        return selectPath(tree, {"Ciclo di vita", "Bonifica", "Decontaminazione in edifici (valore massimo)"});
    }
};

TEST_F(ItemOutputTest, CopyRightAfterStartIsTheRootAndFourLineBreaks)
{
    command(CMD_COPIA);
    EXPECT_EQ(clipboardText(), "Amianto\r\n\r\n\r\n\r\n");
}

TEST_F(ItemOutputTest, CopyCarriesThePathAndTheUnitInForceAtSelection)
{
    ASSERT_NE(selectPath(tree, {"Ciclo di vita", "Bonifica"}), nullptr);
    command(CMD_COPIA);
    EXPECT_EQ(clipboardText(), "Amianto->Ciclo di vita->Bonifica\r\n\r\n\r\n\r\n");

    ASSERT_NE(selectDecontamination(), nullptr);
    command(CMD_COPIA);
    EXPECT_EQ(clipboardText(), std::string(DecontaminationTitle) +
                                   "\r\n\r\nConcentrazione:   0.0570 ff/cc\r\n\r\n" +
                                   DecontaminationSource + "\r\n\r\n");

    // The unit is switched while the item is shown: the copy keeps the text
    // of the selection until the item is selected again.
    command(CMD_UNITA);
    command(CMD_COPIA);
    EXPECT_NE(clipboardText().find("0.0570 ff/cc"), std::string::npos);
    TreeView_SelectItem(tree, TreeView_GetRoot(tree));
    ASSERT_NE(selectDecontamination(), nullptr);
    command(CMD_COPIA);
    EXPECT_NE(clipboardText().find("Concentrazione:     57.0 ff/l\r\n"), std::string::npos) << clipboardText();
}

TEST_F(ItemOutputTest, CopyAndPrintWithoutPanelContent)
{
    // A window without the description panel stands for a panel that has no
    // content record.
    HWND bare = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(bare, nullptr);
    putClipboardText(window, "sentinel", 8);
    copyShownItem(bare);
    EXPECT_EQ(clipboardText(), "sentinel");

    MessageBoxCatcher catcher(IDOK);
    forgetPrintedFile();
    printShownItem(bare);
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].text, "Nessuna voce selezionata");
    EXPECT_EQ(catcher.caught()[0].caption, "Impossibile stampare");
    EXPECT_FALSE(somethingWasPrinted(300));
    DestroyWindow(bare);
}

TEST_F(ItemOutputTest, PrintPutsTheItemOnOnePage)
{
    ASSERT_NE(selectDecontamination(), nullptr);
    MessageBoxCatcher catcher(IDOK);
    forgetPrintedFile();
    command(CMD_STAMPA);
    EXPECT_TRUE(catcher.caught().empty());
    const std::string text = printedText("item-page");
    ASSERT_FALSE(text.empty()) << "nothing was printed";
    expectInOrder(text, {DecontaminationTitle, "Concentrazione: 0.0570 ff/cc", DecontaminationSource});
    // One page: pdftotext ends each page with a form feed.
    EXPECT_EQ(std::count(text.begin(), text.end(), '\f'), 1) << text;
}

TEST_F(ItemOutputTest, ItemTextStartsOneLineDownAtTheLeftEdgeAndRunsOnPastTheBottom)
{
    const int lineHeight = metafileLineHeight();
    ASSERT_GT(lineHeight, 0);

    const std::string text = std::string(DecontaminationTitle) + "\r\n\r\nConcentrazione:   0.0570 ff/cc";
    std::vector<TextRecord> records = metafileText([&](HDC dc) { drawItemPage(dc, text.c_str()); });
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0].x, 0);
    EXPECT_EQ(records[0].y, lineHeight);
    EXPECT_EQ(records.back().text, "Concentrazione:   0.0570 ff/cc");
    for (size_t i = 1; i < records.size(); ++i) {
        SCOPED_TRACE(records[i].text);
        EXPECT_EQ(records[i].x, 0);
        EXPECT_GT(records[i].y, records[i - 1].y);
    }

    // Far more lines than a page holds: every one is drawn, each within a page.
    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += "Riga " + std::to_string(i) + "\r\n";
    int pageHeight = 0;
    records = metafileText([&](HDC dc) {
        pageHeight = GetDeviceCaps(dc, VERTRES);
        drawItemPage(dc, longText.c_str());
    });
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records[0].text, "Riga 0");
    size_t next = 0;
    for (const TextRecord& record : records) {
        EXPECT_LT(record.y, pageHeight);
        if (next < 300 && record.text == "Riga " + std::to_string(next))
            ++next;
    }
    EXPECT_EQ(next, 300u) << "lines lost";
}

TEST_F(ItemOutputTest, WithoutPrinterPrintingDoesNothingAndSaysNothing)
{
    NoDefaultPrinter none;
    EXPECT_EQ(defaultPrinterDC(), nullptr);
    MessageBoxCatcher catcher(IDOK);
    forgetPrintedFile();
    command(CMD_STAMPA);
    EXPECT_TRUE(catcher.caught().empty());
    EXPECT_FALSE(somethingWasPrinted(300));
}

// The calculator's print shares the paging of the printer helpers: a list
// far longer than a page comes out whole, the title and page number on
// every page.
TEST_F(ItemOutputTest, FortyRowCalculationPrintsWholeOnNumberedPages)
{
    Calculation calculation;
    calculation.multiple = true;
    for (int i = 1; i <= 40; ++i) {
        RowValues values = {"Lavorazione " + std::to_string(i), 0.1 * i, 2, 120, 0};
        calculation.rows.push_back(writeRow(values, PerCc));
    }
    recomputeResults(calculation, PerCc);
    calculation.notes = "Nota finale";
    const char title[] = "Calcolo dell'esposizione annuale a fibre";
    forgetPrintedFile();
    HDC dc = defaultPrinterDC();
    ASSERT_NE(dc, nullptr);
    printCalculationOn(dc, calculation, PerCc, title);
    const std::string text = printedText("calculation-40");
    ASSERT_FALSE(text.empty()) << "nothing was printed";

    std::vector<std::string> expected;
    for (int i = 1; i <= 40; ++i) {
        expected.push_back("Descrizione: Lavorazione " + std::to_string(i));
        expected.push_back("Esposizione parziale (ff/cc): " + calculation.rows[i - 1].columns[ColumnPartial]);
    }
    expected.push_back("Esposizione annuale (ff/cc): " + calculation.resultCc);
    expected.push_back("Esposizione annuale (ff/l): " + calculation.resultL);
    expected.push_back("Nota finale");
    size_t from = 0;
    for (const std::string& line : expected) {
        const size_t at = text.find(line, from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << line << "\n" << text;
        from = at + line.size();
    }
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t feed = text.find('\f'); feed != std::string::npos; feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    ASSERT_GT(pages.size(), 1u);
    for (size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_NE(pages[p].find(title), std::string::npos);
        EXPECT_NE(pages[p].find("Pagina " + std::to_string(p + 1)), std::string::npos);
    }
}

TEST_F(ItemOutputTest, DefaultPrinterComesFromTheProfileLine)
{
    HDC dc = defaultPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_STREQ(appState.printerDevice, "Quorvel PS,wineps.drv,LPT1:");
    TEXTMETRICA metrics = {};
    ASSERT_TRUE(GetTextMetricsA(dc, &metrics));
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    const int points = (metrics.tmHeight - metrics.tmInternalLeading) * 72 / dpi;
    EXPECT_EQ(printerFontHeight(dc, metrics), -(points * dpi / 72));
    DeleteDC(dc);

    // A line without a port names no printer.
    char saved[256];
    GetProfileStringA("windows", "device", "", saved, sizeof saved);
    WriteProfileStringA("windows", "device", "Quorvel PS,wineps.drv");
    EXPECT_EQ(defaultPrinterDC(), nullptr);
    WriteProfileStringA("windows", "device", saved);
}

TEST_F(ItemOutputTest, PageSetUpEditsTheDefaultPrintersSettings)
{
    MessageBoxCatcher catcher(IDOK);
    std::string shownTitle;
    whenDialogShows(nullptr, [&](HWND properties) {
        char title[256] = "";
        GetWindowTextA(properties, title, sizeof title);
        shownTitle = title;
        PostMessageA(properties, WM_COMMAND, IDOK, 0);
    }, window);
    command(CMD_IMPOSTA_PAGINA);
    EXPECT_TRUE(dialogScriptRan()) << "no document-properties dialog was shown";
    for (const CaughtMessageBox& box : catcher.caught())
        ADD_FAILURE() << box.caption << ": " << box.text;
    std::printf("document properties dialog: \"%s\"\n", shownTitle.c_str());

    // Without a default printer there is nothing to set up, and no message.
    NoDefaultPrinter none;
    whenDialogShows(nullptr, [](HWND properties) { PostMessageA(properties, WM_COMMAND, IDCANCEL, 0); }, window);
    EXPECT_EQ(printerSetup(window), 1);
    EXPECT_FALSE(dialogScriptRan());
    cancelDialogScript();
    for (const CaughtMessageBox& box : catcher.caught())
        ADD_FAILURE() << box.caption << ": " << box.text;
}

// The program's calls of DocumentPropertiesA, seen through its import
// table. Wine's PostScript driver answers IDOK to its prompt even when the
// prompt is cancelled, so the prompt is answered here as a driver that
// reports the user's choice would answer it: OK after turning the page.
using DocumentPropertiesFunction = LONG(WINAPI*)(HWND, HANDLE, LPSTR, PDEVMODEA, PDEVMODEA, DWORD);
DocumentPropertiesFunction realDocumentProperties;
std::vector<DWORD> documentPropertiesModes;
LONG promptAnswer;
short chosenOrientation = DMORIENT_LANDSCAPE;

LONG WINAPI recordDocumentProperties(HWND owner, HANDLE printer, LPSTR name, PDEVMODEA out, PDEVMODEA in,
                                     DWORD mode)
{
    documentPropertiesModes.push_back(mode);
    if (!(mode & DM_IN_PROMPT))
        return realDocumentProperties(owner, printer, name, out, in, mode);
    if (realDocumentProperties(owner, printer, name, out, in, mode & ~DM_IN_PROMPT) < 0)
        return -1;
    if (promptAnswer == IDOK && out) {
        out->dmOrientation = chosenOrientation;
        out->dmFields |= DM_ORIENTATION;
    }
    return promptAnswer;
}

bool landscape(HDC dc)
{
    const bool wide = dc && GetDeviceCaps(dc, HORZRES) > GetDeviceCaps(dc, VERTRES);
    if (dc)
        DeleteDC(dc);
    return wide;
}

// On NT the printer's own settings are the administrator's: the choice made
// with OK holds for the prints of this run, without writing the printer's.
TEST_F(ItemOutputTest, PageSetUpChoiceReachesTheFollowingPrints)
{
    realDocumentProperties = replaceImport("winspool.drv", "DocumentPropertiesA", recordDocumentProperties);
    ASSERT_NE(realDocumentProperties, nullptr);
    // Turned against what the printer has (an earlier run may have set it).
    const bool printerLandscape = landscape(defaultPrinterDC());
    chosenOrientation = printerLandscape ? DMORIENT_PORTRAIT : DMORIENT_LANDSCAPE;
    for (const LONG answer : {IDCANCEL, IDOK}) {
        SCOPED_TRACE(answer == IDOK ? "OK" : "Cancel");
        documentPropertiesModes.clear();
        promptAnswer = answer;
        command(CMD_IMPOSTA_PAGINA);
        const bool prompted = std::any_of(documentPropertiesModes.begin(), documentPropertiesModes.end(),
                                          [](DWORD mode) { return (mode & DM_IN_PROMPT) != 0; });
        const bool printerWritten = std::any_of(documentPropertiesModes.begin(), documentPropertiesModes.end(),
                                                [](DWORD mode) { return (mode & DM_UPDATE) != 0; });
        EXPECT_TRUE(prompted);
        EXPECT_FALSE(printerWritten);
        EXPECT_EQ(landscape(defaultPrinterDC()) != printerLandscape, answer == IDOK);
    }
    replaceImport("winspool.drv", "DocumentPropertiesA", realDocumentProperties);

    // The print set-up of the Ctrl prints starts from the same choice.
    whenDialogShows(nullptr, [](HWND setup) { PostMessageA(setup, WM_COMMAND, IDOK, 0); }, window);
    EXPECT_NE(landscape(chosenPrinterDC(window)), printerLandscape);
    EXPECT_TRUE(dialogScriptRan());
}

// A standard user may use a printer, not administer it.
using OpenPrinterFunction = BOOL(WINAPI*)(LPSTR, LPHANDLE, LPPRINTER_DEFAULTSA);
OpenPrinterFunction realOpenPrinter;

BOOL WINAPI openPrinterAsUser(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    if (defaults && (defaults->DesiredAccess & (PRINTER_ACCESS_ADMINISTER | WRITE_DAC | WRITE_OWNER | DELETE))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    return realOpenPrinter(name, printer, defaults);
}

TEST_F(ItemOutputTest, PageSetUpWorksForAStandardUser)
{
    realOpenPrinter = replaceImport("winspool.drv", "OpenPrinterA", openPrinterAsUser);
    ASSERT_NE(realOpenPrinter, nullptr);
    MessageBoxCatcher catcher(IDOK);
    whenDialogShows(nullptr, [](HWND properties) { PostMessageA(properties, WM_COMMAND, IDOK, 0); }, window);
    command(CMD_IMPOSTA_PAGINA);
    replaceImport("winspool.drv", "OpenPrinterA", realOpenPrinter);
    EXPECT_TRUE(dialogScriptRan()) << "no document-properties dialog was shown";
    cancelDialogScript();
    for (const CaughtMessageBox& box : catcher.caught())
        ADD_FAILURE() << box.caption << ": " << box.text;
}

// Printer names of 68 characters and more are ordinary on NT.
TEST_F(ItemOutputTest, LongPrinterNamePrintsAndSetsUp)
{
    // A comma would end the name in the profile line: Windows allows none.
    const std::string name = "Stampante PostScript del secondo piano - ufficio tecnico - "
                             "stanza 214 (ingresso lato cortile)";
    ASSERT_GT(name.size(), 80u);
    ASSERT_TRUE(installPostScriptPrinter(name.c_str()));
    forgetPrintedFile();
    command(CMD_STAMPA);
    const bool printed = somethingWasPrinted(3000);

    MessageBoxCatcher catcher(IDOK);
    whenDialogShows(nullptr, [](HWND properties) { PostMessageA(properties, WM_COMMAND, IDOK, 0); }, window);
    command(CMD_IMPOSTA_PAGINA);
    const bool setUp = dialogScriptRan();
    cancelDialogScript();
    ASSERT_TRUE(installPostScriptPrinter());

    EXPECT_TRUE(printed) << "nothing was printed";
    EXPECT_TRUE(setUp) << "no document-properties dialog was shown";
    for (const CaughtMessageBox& box : catcher.caught())
        ADD_FAILURE() << box.caption << ": " << box.text;
}

}  // namespace
