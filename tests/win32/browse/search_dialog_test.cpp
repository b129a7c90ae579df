// The real search dialog (resource 191) run modally over the real main
// window and driven from inside its loop: search, result rows, counter,
// criteria, copy, print, remembered settings, tooltips, help popups, and the
// choice of a hit that the main window then selects in its tree.
#include <windows.h>
#include <commctrl.h>
#include <htmlhelp.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "app/browse/search_dialog.h"
#include "app/browse/search_ids.h"
#include "app/calculator/calculator_dialog.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/shell/description_panel.h"
#include "app/shell/main_window.h"
#include "app/shell/startup.h"
#include "app/ui/app_state.h"
#include "common/win/html_help.h"
#include "common/win/tooltips.h"
#include "tests/win32/browse/dialog_driver.h"
#include "tests/win32/browse/print_fixture.h"
#include "tests/win32/support/main_window_fixture.h"

namespace {

const char DialogTitle[] = "Cerca in Quorvel";
const char TooShort[] = "Attenzione: il testo da cercare deve contenere almeno 4 caratteri!";
const char Legend[] = "Legenda: \r\nB=Bibliografia \r\nC=Cartella \r\nV=Voce \r\n"
                      "*=concentrazione superiore a 100 ff/litro\r\n";

struct HelpCall {
    std::string file;
    UINT command;
    DWORD_PTR data;
    std::string popupText;
    POINT popupAt;
};
std::vector<HelpCall> helpCalls;

HWND WINAPI recordHelp(HWND, LPCSTR file, UINT command, DWORD_PTR data)
{
    HelpCall call = {file ? file : "", command, data, "", {0, 0}};
    if (command == HH_DISPLAY_TEXT_POPUP) {
        const HH_POPUP* popup = reinterpret_cast<const HH_POPUP*>(data);
        call.popupText = popup->pszText ? popup->pszText : "";
        call.popupAt = popup->pt;
    }
    helpCalls.push_back(call);
    return nullptr;
}

struct Row {
    std::string label;
    std::string source;
    int image;
    LPARAM tag;
};

std::vector<Row> rowsOf(HWND dialog)
{
    HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
    std::vector<Row> rows;
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i) {
        char label[300] = "";
        char source[300] = "";
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
        item.iItem = i;
        item.pszText = label;
        item.cchTextMax = sizeof label;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        ListView_GetItemText(list, i, 1, source, sizeof source);
        rows.push_back({label, source, item.iImage, item.lParam});
    }
    return rows;
}

void click(HWND dialog, int id)
{
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void search(HWND dialog, const char* text)
{
    setControlText(dialog, IDC_SEARCH_TEXT, text);
    click(dialog, IDC_SEARCH_GO);
}

void close(HWND dialog)
{
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

int rowLabelled(HWND dialog, const char* label)
{
    const std::vector<Row> rows = rowsOf(dialog);
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].label == label)
            return static_cast<int>(i);
    return -1;
}

void selectRow(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
    ListView_SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

// A double click on the row's label, through the list's own mouse handling.
void doubleClickRow(HWND dialog, int row)
{
    HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
    RECT box = {};
    box.left = LVIR_LABEL;
    SendMessageA(list, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(&box));
    const LPARAM at = MAKELPARAM(box.left + 4, (box.top + box.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
}


class SearchDialogTest : public WithMainWindow {
protected:
    void beforeStart() override
    {
        searchSettings = SearchSettings{};
        helpCalls.clear();
        setHtmlHelpFunction(recordHelp);
    }
    void TearDown() override
    {
        cancelDialogScript();
        WithMainWindow::TearDown();
    }
    // Opens the dialog with script and returns its result.
    INT_PTR run(std::function<void(HWND)> script)
    {
        whenDialogShows(DialogTitle, std::move(script));
        const INT_PTR result = runSearchDialog(window);
        EXPECT_TRUE(dialogScriptRan());
        return result;
    }
};

TEST_F(SearchDialogTest, SerpentiniteListsTwoItemsWithTypesAndCounter)
{
    const NodeRecord* first = findNode(35);
    const NodeRecord* second = findNode(36);
    ASSERT_TRUE(first && second);
    std::string copied;
    const INT_PTR result = run([&](HWND dialog) {
        search(dialog, "serpentinite");
        const std::vector<Row> rows = rowsOf(dialog);
        EXPECT_EQ(controlText(dialog, IDC_SEARCH_COUNTER), "Elementi trovati: 2 voci, 0 cartelle");
        if (rows.size() == 2) {
            EXPECT_EQ(rows[0].label, "Cave di serpentinite, in atmosfera circostante");
            EXPECT_EQ(rows[0].image, 21);  // 0.18 ff/cc: warning mark
            EXPECT_EQ(rows[0].tag, 0x10000 + 35);
            EXPECT_EQ(rows[0].source, first->bibliography);
            EXPECT_EQ(rows[1].label, "Cave di serpentinite, in atmosfera circostante indoor/outdoor");
            EXPECT_EQ(rows[1].image, 20);
            EXPECT_EQ(rows[1].tag, 0x10000 + 36);
        } else {
            ADD_FAILURE() << rows.size() << " rows";
        }
        click(dialog, CMD_COPIA);
        copied = clipboardText();
        pumpDialog(dialog, 200);
        saveWindowPicture(dialog, "search-dialog-simple");
        close(dialog);
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(copied, std::string("Risultati di ricerca in Quorvel\r\n"
                                  "Testo da cercare:\tserpentinite\r\n"
                                  "Criterio di ricerca:\tnessuno\r\n"
                                  "Elementi trovati: 2 voci, 0 cartelle\r\n"
                                  "Tipo\tDescrizione\tBibliografia\r\n"
                                  "V *\tCave di serpentinite, in atmosfera circostante\t") +
                          first->bibliography +
                          "\r\nV\tCave di serpentinite, in atmosfera circostante indoor/outdoor\t" +
                          second->bibliography + "\r\n" + Legend);
}

TEST_F(SearchDialogTest, FoldersAndItemsAreListedInLabelOrder)
{
    run([&](HWND dialog) {
        search(dialog, "Cemento Amianto");
        EXPECT_EQ(controlText(dialog, IDC_SEARCH_COUNTER), "Elementi trovati: 5 voci, 10 cartelle");
        const std::vector<Row> rows = rowsOf(dialog);
        ASSERT_EQ(rows.size(), 15u);
        int folders = 0;
        for (size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i].label);
            const bool folder = (rows[i].tag >> 16) == 0;
            folders += folder;
            if (folder) {
                EXPECT_EQ(rows[i].image, 7);
                EXPECT_EQ(rows[i].source, "");
            } else {
                EXPECT_TRUE(rows[i].image == 9 || rows[i].image == 13 || rows[i].image == 20 ||
                            rows[i].image == 21);
            }
            if (i > 0) {
                EXPECT_LE(lstrcmpiA(rows[i - 1].label.c_str(), rows[i].label.c_str()), 0);
            }
        }
        EXPECT_EQ(folders, 10);
        close(dialog);
    });
}

TEST_F(SearchDialogTest, ShortTextOrWordShowsTheMessageAndKeepsTheList)
{
    MessageBoxCatcher catcher(IDOK);
    run([&](HWND dialog) {
        search(dialog, "serpentinite");
        search(dialog, "ami");
        EXPECT_EQ(rowsOf(dialog).size(), 2u);
        search(dialog, "amia");
        EXPECT_GT(rowsOf(dialog).size(), 2u);
        click(dialog, IDC_SEARCH_ADVANCED);
        search(dialog, "serpentinite");
        search(dialog, "amianto tra");
        EXPECT_EQ(rowsOf(dialog).size(), 2u);
        close(dialog);
    });
    ASSERT_EQ(catcher.caught().size(), 2u);
    EXPECT_EQ(catcher.caught()[0].caption, "ami");
    EXPECT_EQ(catcher.caught()[0].text, TooShort);
    EXPECT_EQ(catcher.caught()[1].caption, "tra");
}

TEST_F(SearchDialogTest, AdvancedModeShowsAndMarksTheCriterion)
{
    run([&](HWND dialog) {
        for (int id = IDC_SEARCH_AND; id <= IDC_SEARCH_NOT; ++id)
            EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, id)));
        click(dialog, IDC_SEARCH_ADVANCED);
        EXPECT_TRUE(searchSettings.advanced);
        struct Step {
            int button;
            SearchCriterion criterion;
            const char* labels[3];
            const char* counter;
        } steps[] = {
            {IDC_SEARCH_AND, SearchCriterion::And, {">-AND-<", "OR", "NOT"}, "Elementi trovati: 864 voci, 112 cartelle"},
            {IDC_SEARCH_OR, SearchCriterion::Or, {"AND", ">-OR-<", "NOT"}, "Elementi trovati: 0 voci, 0 cartelle"},
            {IDC_SEARCH_NOT, SearchCriterion::Not, {"AND", "OR", ">-NOT-<"}, "Elementi trovati: 864 voci, 112 cartelle"},
            {IDC_SEARCH_AND, SearchCriterion::And, {">-AND-<", "OR", "NOT"}, "Elementi trovati: 864 voci, 112 cartelle"},
        };
        for (const Step& step : steps) {
            SCOPED_TRACE(step.button);
            click(dialog, step.button);
            EXPECT_EQ(searchSettings.criterion, step.criterion);
            EXPECT_EQ(IsDlgButtonChecked(dialog, step.button), BST_CHECKED);
            for (int i = 0; i < 3; ++i) {
                EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, IDC_SEARCH_AND + i)));
                EXPECT_EQ(controlText(dialog, IDC_SEARCH_AND + i), step.labels[i]);
            }
            // Only separators: no words, so every record passes And and Not.
            search(dialog, "    ");
            EXPECT_EQ(controlText(dialog, IDC_SEARCH_COUNTER), step.counter);
        }
        click(dialog, IDC_SEARCH_OR);
        search(dialog, "serpentinite, indoor");
        pumpDialog(dialog, 200);
        saveWindowPicture(dialog, "search-dialog-advanced");
        click(dialog, IDC_SEARCH_ADVANCED);
        EXPECT_FALSE(searchSettings.advanced);
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dialog, IDC_SEARCH_OR)));
        close(dialog);
    });
}

TEST_F(SearchDialogTest, EnterInTheEditRunsTheSearch)
{
    run([&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, IDC_SEARCH_TEXT);
        setControlText(dialog, IDC_SEARCH_TEXT, "serpentinite");
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
        pumpDialog(dialog);
        EXPECT_EQ(rowsOf(dialog).size(), 2u);
        EXPECT_TRUE(IsWindowVisible(dialog));
        close(dialog);
    });
}

TEST_F(SearchDialogTest, EscKeepsTheSettingsAndReopeningSearchesAgain)
{
    INT_PTR result = run([&](HWND dialog) {
        click(dialog, IDC_SEARCH_ADVANCED);
        click(dialog, IDC_SEARCH_OR);
        setControlText(dialog, IDC_SEARCH_TEXT, "serpentinite, indoor");
        HWND edit = GetDlgItem(dialog, IDC_SEARCH_TEXT);
        SetFocus(edit);
        PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        pumpDialog(dialog);
    });
    EXPECT_EQ(result, 0);
    EXPECT_STREQ(searchSettings.lastText, "serpentinite, indoor");

    result = run([&](HWND dialog) {
        EXPECT_EQ(controlText(dialog, IDC_SEARCH_TEXT), "serpentinite, indoor");
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SEARCH_ADVANCED), BST_CHECKED);
        EXPECT_EQ(IsDlgButtonChecked(dialog, IDC_SEARCH_OR), BST_CHECKED);
        EXPECT_EQ(controlText(dialog, IDC_SEARCH_OR), ">-OR-<");
        EXPECT_FALSE(rowsOf(dialog).empty());  // searched at once
        EXPECT_NE(controlText(dialog, IDC_SEARCH_COUNTER), "Elementi trovati");
        close(dialog);
    });
    EXPECT_EQ(result, 0);
}

TEST_F(SearchDialogTest, DoubleClickOnAHitInFolder117SelectsItInTheTree)
{
    whenDialogShows(DialogTitle, [&](HWND dialog) {
        search(dialog, "Esterno infermeria");
        const int row = rowLabelled(dialog, "Esterno infermeria");
        ASSERT_GE(row, 0);
        // Without a chosen row a double click does nothing.
        doubleClickRow(dialog, row + 100);
        pumpDialog(dialog);
        ASSERT_TRUE(IsWindowVisible(dialog));
        selectRow(dialog, row);
        doubleClickRow(dialog, row);
        pumpDialog(dialog);
        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
            ADD_FAILURE() << "the double click did not close the dialog";
            close(dialog);
        }
    });
    SendMessageA(window, WM_COMMAND, CMD_CERCA, 0);
    ASSERT_TRUE(dialogScriptRan());

    EXPECT_EQ(appState.locatePath.ids[0], 951);
    LPARAM tag = 0;
    HTREEITEM selected = TreeView_GetSelection(tree);
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(treeLabel(tree, selected, &tag), "Esterno infermeria");
    EXPECT_EQ(tag, 0x10000 + 951);
    EXPECT_EQ(treeLabel(tree, TreeView_GetParent(tree, selected)), "Ambienti vicini al cantiere: ipotesi");
    EXPECT_EQ(GetFocus(), tree);
    const PanelContent* panel = panelContent(GetDlgItem(window, IDC_PANEL));
    ASSERT_NE(panel, nullptr);
    const std::string title = panel->title;
    EXPECT_EQ(title.rfind("Amianto->", 0), 0u) << title;
    EXPECT_NE(title.find("->Ambienti vicini al cantiere: ipotesi->Esterno infermeria"), std::string::npos) << title;
}

TEST_F(SearchDialogTest, SpaceOnASharedFolderSelectsItUnderItsFirstParent)
{
    whenDialogShows(DialogTitle, [&](HWND dialog) {
        search(dialog, "Industria mineraria");
        const int row = rowLabelled(dialog, "Industria mineraria");
        ASSERT_GE(row, 0);
        selectRow(dialog, row);
        HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
        SetFocus(list);
        SendMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
        pumpDialog(dialog);
        if (IsWindow(dialog) && IsWindowVisible(dialog)) {
            ADD_FAILURE() << "SPACE did not close the dialog";
            close(dialog);
        }
    });
    SendMessageA(window, WM_COMMAND, CMD_CERCA, 0);
    HTREEITEM selected = TreeView_GetSelection(tree);
    LPARAM tag = 0;
    EXPECT_EQ(treeLabel(tree, selected, &tag), "Industria mineraria");
    EXPECT_EQ(tag >> 16, 0);
    HTREEITEM parent = TreeView_GetParent(tree, selected);
    EXPECT_EQ(treeLabel(tree, parent), "Estrazione");
    EXPECT_EQ(treeLabel(tree, TreeView_GetParent(tree, parent)), "Ciclo di vita");
}

TEST_F(SearchDialogTest, CancelledSearchOnlyFocusesTheTree)
{
    HTREEITEM before = TreeView_GetSelection(tree);
    SetFocus(window);
    whenDialogShows(DialogTitle, [&](HWND dialog) { close(dialog); });
    SendMessageA(window, WM_COMMAND, CMD_CERCA, 0);
    EXPECT_TRUE(dialogScriptRan());
    EXPECT_EQ(TreeView_GetSelection(tree), before);
    EXPECT_EQ(GetFocus(), tree);
}

TEST_F(SearchDialogTest, PrintedResultsKeepRowsWholeAcrossPages)
{
    MessageBoxCatcher catcher(IDYES);
    std::vector<Row> rows;
    forgetPrintedFile();
    run([&](HWND dialog) {
        search(dialog, "cemento");
        rows = rowsOf(dialog);
        click(dialog, CMD_STAMPA);
        close(dialog);
    });
    ASSERT_EQ(catcher.caught().size(), 1u);
    EXPECT_EQ(catcher.caught()[0].text, "Stampare i dati contenuti nella finestra?");
    EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
    const std::string text = printedText("search-results");
    ASSERT_FALSE(text.empty()) << "nothing was printed";
    ASSERT_GT(rows.size(), 20u);

    // Header, then every row's label in list order, then the legend.
    std::vector<std::string> expected = {"Risultati di ricerca in Quorvel", "Testo da cercare:", "cemento",
                                         "Criterio di ricerca: nessuno", "Elementi trovati:", "Tipo",
                                         "Descrizione", "Bibliografia"};
    for (const Row& row : rows)
        expected.push_back(row.label);
    expected.push_back("Legenda:");
    expected.push_back("*=concentrazione superiore a 100 ff/litro");
    // Compared without blanks and line breaks: the rows are word-wrapped.
    const std::string squeezed = withoutSpaces(text);
    size_t from = 0;
    for (const std::string& piece : expected) {
        const size_t at = squeezed.find(withoutSpaces(piece), from);
        ASSERT_NE(at, std::string::npos) << "missing or out of order: " << piece << "\n" << text;
        from = at + withoutSpaces(piece).size();
    }

    // Several pages, each after the first starting with the repeated title,
    // the column headings and then a row's type code: a page read on its own.
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t feed = text.find('\f'); feed != std::string::npos; feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    ASSERT_GT(pages.size(), 1u) << text;
    const std::string title = "Risultati di ricerca in Quorvel";
    for (size_t p = 1; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        const size_t heading = pages[p].find(title);
        ASSERT_NE(heading, std::string::npos) << pages[p].substr(0, 80);
        const std::string below = withoutSpaces(pages[p].substr(heading + title.size()));
        const std::string columns = "TipoDescrizioneBibliografia";
        ASSERT_EQ(below.compare(0, columns.size(), columns), 0) << pages[p].substr(0, 120);
        const std::string code = below.substr(columns.size(), 1);
        EXPECT_TRUE(code == "C" || code == "V" || code == "B" || code == "L") << pages[p].substr(0, 120);
    }
}

TEST_F(SearchDialogTest, ThreeHundredHitsPrintWholeOnNumberedPages)
{
    MessageBoxCatcher catcher(IDYES);
    std::vector<Row> rows;
    forgetPrintedFile();
    run([&](HWND dialog) {
        search(dialog, "valore");
        rows = rowsOf(dialog);
        click(dialog, CMD_STAMPA);
        close(dialog);
    });
    ASSERT_GE(rows.size(), 300u);
    const std::string text = printedText("search-300");
    ASSERT_FALSE(text.empty()) << "nothing was printed";
    std::vector<std::string> pages;
    size_t start = 0;
    for (size_t feed = text.find('\f'); feed != std::string::npos; feed = text.find('\f', start)) {
        pages.push_back(text.substr(start, feed - start));
        start = feed + 1;
    }
    ASSERT_GT(pages.size(), 2u);
    // Every label and source, in order; the legend last.
    const std::string squeezed = withoutSpaces(text);
    size_t from = 0;
    for (const Row& row : rows)
        for (const std::string& piece : {row.label, row.source}) {
            const size_t at = squeezed.find(withoutSpaces(piece), from);
            ASSERT_NE(at, std::string::npos) << "missing or out of order: " << piece;
            from = at + withoutSpaces(piece).size();
        }
    EXPECT_NE(squeezed.find("*=concentrazionesuperiorea100ff/litro", from), std::string::npos);
    for (size_t p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_NE(pages[p].find("Risultati di ricerca in Quorvel"), std::string::npos);
        EXPECT_NE(pages[p].find("Pagina " + std::to_string(p + 1)), std::string::npos);
    }
}

TEST_F(SearchDialogTest, PrintedLinesSitOnTheirLineSteps)
{
    const int L = metafileLineHeight();
    ASSERT_GT(L, 0);
    std::vector<TextRecord> records;
    run([&](HWND dialog) {
        search(dialog, "serpentinite");
        records = metafileText([&](HDC dc) { drawSearchResults(dialog, dc, false); });
        close(dialog);
    });
    struct Expected {
        int line;
        const char* text;
    } expected[] = {
        {1, "Risultati di ricerca in Quorvel"},
        {2, "Testo da cercare: "},
        {3, "serpentinite"},
        {4, "Criterio di ricerca: nessuno"},
        {6, "Elementi trovati: 2 voci, 0 cartelle"},
        {7, "Tipo"},
    };
    ASSERT_GE(records.size(), 6u);
    for (size_t i = 0; i < 6; ++i) {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(records[i].text, expected[i].text);
        EXPECT_EQ(records[i].x, 0);
        EXPECT_EQ(records[i].y, expected[i].line * L);
    }
    // The rows follow in order, the first one with its type code.
    std::vector<std::string> texts;
    for (const TextRecord& record : records)
        texts.push_back(record.text);
    const auto code = std::find(texts.begin(), texts.end(), "V *");
    ASSERT_NE(code, texts.end());
    EXPECT_EQ(*(code + 1), "Cave di serpentinite, in atmosfera circostante");
    EXPECT_EQ(records.back().text, "*=concentrazione superiore a 100 ff/litro");
}

TEST_F(SearchDialogTest, PrintAnsweredNoOrWithoutPrinterPrintsNothing)
{
    MessageBoxCatcher catcher(IDNO);
    forgetPrintedFile();
    run([&](HWND dialog) {
        search(dialog, "serpentinite");
        click(dialog, CMD_STAMPA);
        catcher.setButton(IDYES);
        NoDefaultPrinter none;
        click(dialog, CMD_STAMPA);
        close(dialog);
    });
    EXPECT_EQ(catcher.caught().size(), 2u);
    EXPECT_FALSE(somethingWasPrinted(300));
}

TEST_F(SearchDialogTest, CtrlPrintAsksForThePrinterInsteadOfConfirming)
{
    MessageBoxCatcher catcher(IDYES);
    forgetPrintedFile();
    bool setupShown = false;
    run([&](HWND dialog) {
        search(dialog, "serpentinite");
        BYTE keys[256];
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        SetKeyboardState(keys);
        // Cancelled: nothing printed.
        whenDialogShows(nullptr, [&](HWND setup) {
            setupShown = true;
            PostMessageA(setup, WM_COMMAND, IDCANCEL, 0);
        }, dialog);
        click(dialog, CMD_STAMPA);
        EXPECT_TRUE(setupShown);
        EXPECT_FALSE(somethingWasPrinted(200));
        // Confirmed: printed on the printer chosen there.
        setupShown = false;
        whenDialogShows(nullptr, [&](HWND setup) {
            setupShown = true;
            PostMessageA(setup, WM_COMMAND, IDOK, 0);
        }, dialog);
        click(dialog, CMD_STAMPA);
        EXPECT_TRUE(setupShown);
        keys[VK_CONTROL] = 0;
        SetKeyboardState(keys);
        close(dialog);
    });
    EXPECT_TRUE(catcher.caught().empty());
    const std::string text = printedText("search-ctrl");
    EXPECT_NE(text.find("Cave di serpentinite"), std::string::npos) << text;
}

TEST_F(SearchDialogTest, TemplateControlsIconsAndColours)
{
    run([&](HWND dialog) {
        RECT expected = {0, 0, 400, 238};
        MapDialogRect(dialog, &expected);
        RECT client;
        GetClientRect(dialog, &client);
        EXPECT_EQ(client.right, expected.right);
        EXPECT_EQ(client.bottom, expected.bottom);
        EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);

        HWND list = GetDlgItem(dialog, IDC_SEARCH_LIST);
        const LONG style = GetWindowLongA(list, GWL_STYLE);
        EXPECT_EQ(style & LVS_TYPEMASK, LVS_REPORT);
        EXPECT_TRUE(style & LVS_SINGLESEL);
        EXPECT_TRUE(style & LVS_SORTASCENDING);
        EXPECT_TRUE(style & LVS_NOSORTHEADER);
        const DWORD extended = ListView_GetExtendedListViewStyle(list);
        EXPECT_TRUE(extended & LVS_EX_FULLROWSELECT);
        EXPECT_TRUE(extended & LVS_EX_INFOTIP);
        char title[32];
        LVCOLUMNA column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH;
        column.pszText = title;
        column.cchTextMax = sizeof title;
        RECT listClient;
        GetClientRect(list, &listClient);
        const char* titles[2] = {"Descrizione", "Bibliografia"};
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(SendMessageA(list, LVM_GETCOLUMNA, i, reinterpret_cast<LPARAM>(&column)));
            EXPECT_STREQ(title, titles[i]);
            EXPECT_EQ(column.cx, listClient.right / 2);
        }
        EXPECT_NE(ListView_GetImageList(list, LVSIL_SMALL), nullptr);
        EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_SEARCH_TEXT, EM_GETLIMITTEXT, 0, 0), 255);
        EXPECT_EQ(SendMessageA(dialog, DM_GETDEFID, 0, 0), MAKELONG(IDC_SEARCH_GO, DC_HASDEFID));

        struct Icon {
            int id, slot;
        } icons[] = {{IDC_SEARCH_GO, 4}, {CMD_STAMPA, 2}, {CMD_COPIA, 3}, {CMD_HELP, 5}};
        for (const Icon& icon : icons) {
            SCOPED_TRACE(icon.id);
            EXPECT_NE(appState.smallIcons[icon.slot], nullptr);
            EXPECT_EQ(reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, icon.id, BM_GETIMAGE, IMAGE_ICON, 0)),
                      appState.smallIcons[icon.slot]);
        }

        HDC dc = CreateCompatibleDC(nullptr);
        HBRUSH brush = reinterpret_cast<HBRUSH>(SendMessageA(
            dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
            reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_SEARCH_COUNTER))));
        LOGBRUSH colour = {};
        ASSERT_TRUE(GetObjectA(brush, sizeof colour, &colour));
        EXPECT_EQ(colour.lbColor, RGB(255, 255, 226));
        EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 160));
        EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 226));
        DeleteDC(dc);
        close(dialog);
    });
}

TEST_F(SearchDialogTest, AfterTheCalculatorOnlyTheSearchControlsAreTools)
{
    HWND calculator = openCalculatorDialog(window, CalculatorRequest());
    ASSERT_NE(calculator, nullptr);
    EXPECT_EQ(toolTips.toolOwner, calculator);
    DestroyWindow(calculator);
    pumpMessages();
    run([&](HWND dialog) {
        const LRESULT count = SendMessageA(toolTips.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0);
        int nonStatic = 0;
        for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            char className[64];
            GetClassNameA(child, className, sizeof className);
            nonStatic += lstrcmpiA(className, "STATIC") != 0;
        }
        for (LRESULT i = 0; i < count; ++i) {
            SCOPED_TRACE(i);
            TOOLINFOA tool = {};
            tool.cbSize = TTTOOLINFOA_V1_SIZE;
            ASSERT_TRUE(SendMessageA(toolTips.tooltipWindow, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)));
            HWND control = reinterpret_cast<HWND>(tool.uId);
            EXPECT_EQ(tool.hwnd, dialog);
            EXPECT_TRUE(IsChild(dialog, control));
            char className[64];
            GetClassNameA(control, className, sizeof className);
            EXPECT_NE(lstrcmpiA(className, "STATIC"), 0);
        }
        // Every non-static control is there (children of children may add more).
        EXPECT_GE(count, nonStatic);
        close(dialog);
    });
}

TEST_F(SearchDialogTest, TooltipsAndHelpPopups)
{
    run([&](HWND dialog) {
        // Every non-static control is a tool of the shared tooltip.
        EXPECT_EQ(toolTips.toolOwner, dialog);
        const LRESULT tools = SendMessageA(toolTips.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0);
        EXPECT_GE(tools, 10);

        struct Tip {
            int id;
            const char* text;
        } tips[] = {
            {IDC_SEARCH_TEXT, "Digitare il testo da cercare, con almeno 4 caratteri per parola"},
            {CMD_STAMPA, "Selezionare per stampare i dati presenti a schermo (CTRL per cambiare stampante)"},
            {IDC_SEARCH_NOT, "Selezionare per utilizzare il criterio di ricerca NOT (nessuna delle parole)"},
            {IDC_SEARCH_LIST, "Fare doppio clic su un elemento per visualizzarlo nella finestra principale"},
            {IDC_SEARCH_COUNTER, nullptr},
        };
        for (const Tip& tip : tips) {
            SCOPED_TRACE(tip.id);
            NMTTDISPINFOA request = {};
            request.hdr.hwndFrom = toolTips.tooltipWindow;
            request.hdr.idFrom = reinterpret_cast<UINT_PTR>(GetDlgItem(dialog, tip.id));
            request.hdr.code = TTN_NEEDTEXTA;
            request.uFlags = TTF_IDISHWND;
            SendMessageA(dialog, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
            if (tip.text)
                EXPECT_STREQ(request.lpszText, tip.text);
            else
                EXPECT_EQ(request.lpszText, nullptr);
        }

        // F1 (WM_HELP) and a right click give the same popup at the mouse.
        HELPINFO help = {};
        help.cbSize = sizeof help;
        help.iContextType = HELPINFO_WINDOW;
        help.iCtrlId = CMD_COPIA;
        help.hItemHandle = GetDlgItem(dialog, CMD_COPIA);
        help.MousePos = {40, 50};
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        SendMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(GetDlgItem(dialog, IDC_SEARCH_OR)),
                     MAKELPARAM(70, 80));
        RECT counter;
        GetWindowRect(GetDlgItem(dialog, IDC_SEARCH_COUNTER), &counter);
        SendMessageA(dialog, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(dialog),
                     MAKELPARAM(counter.left + 3, counter.top + 3));
        help.iCtrlId = 0xFFFF;  // the static label has no popup
        SendMessageA(dialog, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
        click(dialog, CMD_HELP);
        close(dialog);
    });
    ASSERT_EQ(helpCalls.size(), 4u);
    EXPECT_EQ(helpCalls[0].command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
    EXPECT_EQ(helpCalls[0].popupText,
              "Copia nella Clipboard di Windows i dati numerici e le note correntemente presenti a video.\r\n"
              "La copia viene fatta in formato CSV, per poter inserire facilmente i dati in un foglio "
              "elettronico.");
    EXPECT_EQ(helpCalls[0].popupAt.x, 40);
    EXPECT_EQ(helpCalls[0].popupAt.y, 50);
    EXPECT_EQ(helpCalls[1].popupText.rfind("Selezionare questo pulsante per utilizzare il criterio di ricerca OR.\r\n", 0), 0u);
    EXPECT_EQ(helpCalls[1].popupAt.x, 70);
    EXPECT_EQ(helpCalls[2].popupText.rfind("La lista riporta l\x92" "elenco delle cartelle", 0), 0u)
        << helpCalls[2].popupText;
    EXPECT_EQ(helpCalls[3].command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(helpCalls[3].data, 100790u);
}

TEST_F(SearchDialogTest, AnyTextUpTo255CharactersSearchesOrExplains)
{
    MessageBoxCatcher catcher(IDOK);
    const std::string texts[] = {
        std::string(300, 'x'),
        std::string("\xC8 ") + std::string(250, '\xC0'),  // accented capitals
        ",,,,\t\t  ",
    };
    run([&](HWND dialog) {
        for (const std::string& text : texts) {
            for (int advanced = 0; advanced < 2; ++advanced) {
                if ((IsDlgButtonChecked(dialog, IDC_SEARCH_ADVANCED) == BST_CHECKED) != (advanced == 1))
                    click(dialog, IDC_SEARCH_ADVANCED);
                search(dialog, text.c_str());
                EXPECT_EQ(controlText(dialog, IDC_SEARCH_COUNTER).rfind("Elementi trovati", 0), 0u);
            }
        }
        close(dialog);
    });
    // "È" is a one-letter word in advanced mode.
    ASSERT_FALSE(catcher.caught().empty());
    EXPECT_EQ(catcher.caught()[0].caption, "\xE8");
}

}  // namespace
