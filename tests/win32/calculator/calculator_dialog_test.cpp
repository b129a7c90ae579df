// The calculator dialog in the real main window: pre-filling from an item,
// live results, the typed-character check, the list of activities, the
// remembered values, CMD_FORMULA, tooltips and help popups.
#include "tests/win32/calculator/calculator_fixture.h"

#include <functional>
#include <set>

#include "app/browse/search_dialog.h"
#include "app/calculator/calculator_commands.h"
#include "app/calculator/notes_pane.h"
#include "common/win/tooltips.h"

namespace {

using CalculatorDialogTest = CalculatorFixture;

// A control named twice in a table would hide the texts of its second row.
TEST(ControlTextTables, EachControlHasOneRowWithSomeText)
{
    for (const ControlTextTable* table : {&CalculatorDialogTexts, &NotesPaneTexts, &SearchDialogTexts}) {
        std::set<int> ids;
        for (size_t i = 0; i < table->count; ++i) {
            const ControlText& row = table->rows[i];
            SCOPED_TRACE(row.controlId);
            EXPECT_TRUE(ids.insert(row.controlId).second);
            EXPECT_TRUE(row.toolTip || row.help);
        }
    }
}

TEST_F(CalculatorDialogTest, ItemPrefillsFAndDescriptionInEitherUnit)
{
    const unsigned item = itemWithConcentration(0.057);
    ASSERT_NE(item, 0u);
    struct Case {
        DisplayUnit unit;
        const char* f;
        const char* label;
        const char* fHeader;
        const char* eHeader;
    } cases[] = {
        {PerCc, "0.05700", "ff/cc", "F (ff/cc)", "E (ff/cc)"},
        {PerLitre, "57.00", "ff/l", "F (ff/l)", "E (ff/l)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        appState.displayUnit = c.unit;
        ASSERT_TRUE(selectNode(item, true));
        onFormulaCommand(mainWindow, 0);
        calculator = liveCalculatorWindow();
        ASSERT_NE(calculator, nullptr);
        EXPECT_EQ(text(IDC_CALC_F), c.f);
        EXPECT_EQ(text(IDC_CALC_DESCRIPTION), findNode(item)->name);
        EXPECT_EQ(text(IDC_CALC_T), "8");
        EXPECT_EQ(text(IDC_CALC_G), "240");
        EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.05700");
        EXPECT_EQ(text(IDC_CALC_RESULT_L), "57.00");
        EXPECT_EQ(text(IDC_CALC_UNIT_F), c.label);
        EXPECT_EQ(header(1), c.fHeader);
        EXPECT_EQ(header(4), c.eHeader);
        EXPECT_EQ(statusText(), "Nessun file selezionato");
        EXPECT_FALSE(IsWindowVisible(control(IDC_CALC_LIST)));
        bool litre = true;
        EXPECT_FALSE(unitButtonsEnabled(&litre));
        EXPECT_FALSE(litre);
        DestroyWindow(calculator);
        EXPECT_EQ(appState.calculator.window, nullptr);
        EXPECT_FALSE(unitButtonsEnabled()) << "an item is still selected";
    }
    selectRoot();
    open();
    EXPECT_FALSE(unitButtonsEnabled());
    SendMessageA(calculator, WM_CLOSE, 0, 0);
    EXPECT_TRUE(unitButtonsEnabled()) << "a folder is selected";
}

TEST_F(CalculatorDialogTest, InvalidCharactersAreCutWithTheirTextAsCaption)
{
    open();
    MessageBoxCatcher catcher(IDOK);
    type(IDC_CALC_F, "0,");
    EXPECT_EQ(text(IDC_CALC_F), "0");

    // A paste arrives whole: the second point and what follows are refused.
    SendMessageA(control(IDC_CALC_T), EM_SETSEL, 0, -1);
    SendMessageA(control(IDC_CALC_T), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>("1.2.3"));
    EXPECT_EQ(text(IDC_CALC_T), "1.2");

    ASSERT_EQ(catcher.caught().size(), 2u);
    EXPECT_EQ(catcher.caught()[0].caption, ",");
    EXPECT_EQ(catcher.caught()[1].caption, ".3");
    for (const CaughtMessageBox& box : catcher.caught())
        EXPECT_EQ(box.text, "Inserimento carattere non valido: usare il punto come separatore decimale!");

    // Results follow every change: F 0, t 1.2 -> 0.
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.00000");
    setText(IDC_CALC_F, "0.3");
    setText(IDC_CALC_T, "2");
    setText(IDC_CALC_G, "120");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.03750");
    EXPECT_EQ(text(IDC_CALC_RESULT_L), "37.50");
    EXPECT_EQ(catcher.caught().size(), 2u);
}

TEST_F(CalculatorDialogTest, RowsAddUpAndFieldsShowTheActivityBeingTyped)
{
    open();
    setMultiple(true);
    EXPECT_TRUE(IsWindowVisible(control(IDC_CALC_LIST)));
    EXPECT_TRUE(IsWindowVisible(control(IDC_CALC_ADD)));
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.00000") << "an empty list totals 0";

    addRow("Mescolatrice: campionamento ambientale", "2.2", "4", "240");
    addRow("Pastigliatrici", "1.9", "2.5", "240");
    addRow("Preformazione ceppi", "1.8", "1", "120");
    const std::vector<std::vector<std::string>> expected = {
        {"Mescolatrice: campionamento ambientale", "2.20000", "4.00", "240.0", "1.10000"},
        {"Pastigliatrici", "1.90000", "2.50", "240.0", "0.59375"},
        {"Preformazione ceppi", "1.80000", "1.00", "120.0", "0.11250"},
    };
    EXPECT_EQ(rows(), expected);
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "1.80625");
    EXPECT_EQ(text(IDC_CALC_RESULT_L), "1806.25");

    setText(IDC_CALC_F, "2");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.12500") << "the activity in the fields: 2 x 1 x 120 / 1920";
    selectRow(2);
    command(IDC_CALC_MODIFY);
    EXPECT_EQ(rows()[2][1], "2.00000");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "1.81875") << "the total again";

    // Switching back to single mode shows the fields' exposure.
    setMultiple(false);
    EXPECT_FALSE(IsWindowVisible(control(IDC_CALC_LIST)));
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.12500");
}

TEST_F(CalculatorDialogTest, RowCommandsRefuseWithTheirMessages)
{
    open();
    setMultiple(true);
    MessageBoxCatcher catcher(IDOK);
    struct Case {
        const char* description;
        const char* t;
        const char* g;
        const char* message;
    } refused[] = {
        {"", "8", "240", "Attenzione: inserire la descrizione attività o lavorazione!"},
        {"Taglio", "24.01", "240", "Attenzione: ore/giorno valore non valido!"},
        {"Taglio", "", "240", "Attenzione: inserire le ore/giorno!"},
        {"Taglio", "8", "365.5", "Attenzione: giorni/anno valore non valido!"},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.message);
        addRow(c.description, "1", c.t, c.g);
        ASSERT_FALSE(catcher.caught().empty());
        EXPECT_EQ(catcher.caught().back().text, c.message);
        EXPECT_EQ(catcher.caught().back().caption, "Errore nell'inserimento dei dati");
    }
    EXPECT_TRUE(rows().empty());

    addRow("Taglio", "1", "24", "365");
    ASSERT_EQ(rows().size(), 1u);
    ListView_SetItemState(control(IDC_CALC_LIST), -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    for (int id : {IDC_CALC_MODIFY, IDC_CALC_DELETE}) {
        command(id);
        ASSERT_FALSE(catcher.caught().empty());
        EXPECT_EQ(catcher.caught().back().text, "Attenzione: nessun dato selezionato!");
        EXPECT_EQ(catcher.caught().back().caption, id == IDC_CALC_MODIFY ? "Modifica" : "Elimina");
    }

    selectRow(0);
    for (int answer : {IDNO, IDCANCEL}) {
        catcher.setButton(answer);
        command(IDC_CALC_DELETE);
        EXPECT_EQ(catcher.caught().back().caption, "Conferma operazione");
        EXPECT_EQ(catcher.caught().back().text, "Eliminare l'elemento selezionato nella lista?");
        EXPECT_EQ(rows().size(), 1u);
    }
    catcher.setButton(IDYES);
    command(IDC_CALC_DELETE);
    EXPECT_TRUE(rows().empty());
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.00000");
}

TEST_F(CalculatorDialogTest, DoubleClickPutsARowBackIntoTheFields)
{
    open();
    setMultiple(true);
    addRow("Mescolatrice", "2.2", "4", "240");
    addRow("Pastigliatrici", "1.9", "2.5", "240");
    setText(IDC_CALC_DESCRIPTION, "");

    HWND list = control(IDC_CALC_LIST);
    RECT r;
    ASSERT_TRUE(ListView_GetItemRect(list, 1, &r, LVIR_LABEL));
    const LPARAM at = MAKELPARAM(r.left + 2, (r.top + r.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    SendMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    pumpMessages();

    EXPECT_EQ(text(IDC_CALC_DESCRIPTION), "Pastigliatrici");
    EXPECT_EQ(text(IDC_CALC_F), "1.90000");
    EXPECT_EQ(text(IDC_CALC_T), "2.50");
    EXPECT_EQ(text(IDC_CALC_G), "240.0");
    EXPECT_EQ(text(IDC_CALC_RESULT_CC), "0.59375");
}

TEST_F(CalculatorDialogTest, InPlaceEditRewritesOnlyTheDescription)
{
    open();
    setMultiple(true);
    addRow("Mescolatrice", "0.123456", "24", "240");
    HWND list = control(IDC_CALC_LIST);
    NMLVDISPINFOA edit = {};
    edit.hdr.hwndFrom = list;
    edit.hdr.idFrom = IDC_CALC_LIST;
    edit.hdr.code = LVN_ENDLABELEDITA;
    edit.item.iItem = 0;
    std::string longName(300, 'x');
    edit.item.pszText = &longName[0];
    SendMessageA(calculator, WM_NOTIFY, IDC_CALC_LIST, reinterpret_cast<LPARAM>(&edit));
    ASSERT_EQ(rows().size(), 1u);
    EXPECT_EQ(rows()[0][0], std::string(255, 'x'));
    EXPECT_EQ(rows()[0][4], "0.37038") << "partial recomputed from the shown 0.12346, not 0.123456";

    edit.item.pszText = nullptr;  // cancelled
    SendMessageA(calculator, WM_NOTIFY, IDC_CALC_LIST, reinterpret_cast<LPARAM>(&edit));
    EXPECT_EQ(rows()[0][0], std::string(255, 'x'));
}

TEST_F(CalculatorDialogTest, ClosingRemembersModeHoursAndDaysButReplacingDoesNot)
{
    open();
    setMultiple(true);
    addRow("Taglio", "1", "8", "240");
    setText(IDC_CALC_T, "6");
    setText(IDC_CALC_G, "200");
    {
        MessageBoxCatcher catcher(IDYES);  // the added row is given up
        SendMessageA(calculator, WM_COMMAND, IDCANCEL, 0);  // Esc posts the close request
        pumpMessages();
        EXPECT_EQ(catcher.caught().size(), 1u);
    }
    EXPECT_EQ(liveCalculatorWindow(), nullptr);

    open();
    EXPECT_EQ(text(IDC_CALC_T), "6");
    EXPECT_EQ(text(IDC_CALC_G), "200");
    EXPECT_EQ(IsDlgButtonChecked(calculator, IDC_CALC_MULTIPLE), BST_CHECKED);
    EXPECT_TRUE(IsWindowVisible(control(IDC_CALC_LIST)));
    EXPECT_TRUE(rows().empty());

    // Replaced by the main window: the closing step does not run.
    setText(IDC_CALC_T, "3");
    const unsigned item = itemWithConcentration(0.057);
    ASSERT_TRUE(selectNode(item, true));
    onFormulaCommand(mainWindow, 0);
    calculator = liveCalculatorWindow();
    EXPECT_EQ(text(IDC_CALC_T), "6");

    // Enter does nothing.
    SendMessageA(calculator, WM_COMMAND, IDOK, 0);
    pumpMessages();
    EXPECT_EQ(liveCalculatorWindow(), calculator);
}

TEST_F(CalculatorDialogTest, UnsavedWorkIsGivenUpOnlyAfterYes)
{
    open();
    setMultiple(true);
    addRow("Taglio", "1", "8", "240");
    const unsigned item = itemWithConcentration(0.057);
    ASSERT_TRUE(selectNode(item, true));

    // Esc, "Formula..." on a selected item, closing the main window: each
    // asks, and anything but Yes keeps the calculator with its row.
    const std::function<void()> ways[] = {
        [&] { SendMessageA(calculator, WM_COMMAND, IDCANCEL, 0); },
        [&] { onFormulaCommand(mainWindow, 0); },
        [&] { SendMessageA(mainWindow, WM_CLOSE, 0, 0); },
    };
    for (const auto& way : ways) {
        for (int answer : {IDNO, IDCANCEL}) {
            MessageBoxCatcher catcher(answer);
            way();
            pumpMessages();
            ASSERT_EQ(catcher.caught().size(), 1u);
            EXPECT_EQ(catcher.caught()[0].caption, "Conferma operazione");
            EXPECT_EQ(liveCalculatorWindow(), calculator);
            EXPECT_TRUE(IsWindow(mainWindow));
            EXPECT_EQ(rows().size(), 1u);
        }
    }
    MessageBoxCatcher catcher(IDYES);
    onFormulaCommand(mainWindow, 0);
    EXPECT_EQ(catcher.caught().size(), 1u);
    EXPECT_FALSE(IsWindow(calculator));
    calculator = liveCalculatorWindow();
    ASSERT_NE(calculator, nullptr);

    // The new calculator is as opened: it goes without a question.
    SendMessageA(calculator, WM_COMMAND, IDCANCEL, 0);
    pumpMessages();
    EXPECT_EQ(liveCalculatorWindow(), nullptr);
    EXPECT_EQ(catcher.caught().size(), 1u);
}

TEST_F(CalculatorDialogTest, TabSkipsTheResultFields)
{
    open();
    for (int id : {IDC_CALC_RESULT_CC, IDC_CALC_RESULT_L}) {
        SCOPED_TRACE(id);
        EXPECT_FALSE(GetWindowLongPtrA(control(id), GWL_STYLE) & WS_TABSTOP);
    }
    // From G the next stop is the check box, not a result field.
    for (HWND at = control(IDC_CALC_G);;) {
        at = GetNextDlgTabItem(calculator, at, FALSE);
        ASSERT_NE(at, control(IDC_CALC_RESULT_CC));
        ASSERT_NE(at, control(IDC_CALC_RESULT_L));
        if (at == control(IDC_CALC_G) || at == control(IDC_CALC_NOTES))
            break;
    }
}

TEST_F(CalculatorDialogTest, FormulaFocusesOrReplaces)
{
    selectRoot();
    onFormulaCommand(mainWindow, reinterpret_cast<LPARAM>(toolbar));
    HWND first = liveCalculatorWindow();
    ASSERT_NE(first, nullptr);
    calculator = first;
    EXPECT_EQ(text(IDC_CALC_F), "");

    SetFocus(mainWindow);
    onFormulaCommand(mainWindow, 0);
    EXPECT_EQ(liveCalculatorWindow(), first) << "a folder selected: only the focus moves";
    EXPECT_TRUE(first == GetFocus() || IsChild(first, GetFocus()));

    const std::string path = writeFile("Esempio3.qvl", Esempio3);
    onFormulaCommand(mainWindow, reinterpret_cast<LPARAM>(path.c_str()));
    HWND second = liveCalculatorWindow();
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(IsWindow(first));
    calculator = second;
    EXPECT_EQ(rows().size(), 2u) << "the file opened";

    const unsigned item = itemWithConcentration(0.057);
    ASSERT_TRUE(selectNode(item, true));
    onFormulaCommand(mainWindow, reinterpret_cast<LPARAM>(path.c_str()));
    calculator = liveCalculatorWindow();
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(text(IDC_CALC_DESCRIPTION), findNode(item)->name) << "the selected item wins over the file";

    // A name of 260 characters or more is refused, not cut.
    const std::string tooLong(300, 'a');
    HWND before = liveCalculatorWindow();
    onFormulaCommand(mainWindow, reinterpret_cast<LPARAM>(tooLong.c_str()));
    EXPECT_EQ(liveCalculatorWindow(), before);
}

std::string className(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK collectWindow(HWND window, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

TEST_F(CalculatorDialogTest, EveryNonStaticControlIsATipWithItsText)
{
    open();
    ASSERT_NE(toolTips.tooltipWindow, nullptr);
    EXPECT_EQ(toolTips.toolOwner, calculator);

    std::vector<HWND> descendants;
    EnumChildWindows(calculator, collectWindow, reinterpret_cast<LPARAM>(&descendants));
    std::vector<HWND> expected;
    for (HWND window : descendants)
        if (lstrcmpiA(className(window).c_str(), "Static") != 0)
            expected.push_back(window);
    std::vector<HWND> tools;
    const int count = static_cast<int>(SendMessageA(toolTips.tooltipWindow, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;
        ASSERT_TRUE(SendMessageA(toolTips.tooltipWindow, TTM_ENUMTOOLSA, i, reinterpret_cast<LPARAM>(&tool)));
        tools.push_back(reinterpret_cast<HWND>(tool.uId));
    }
    std::sort(expected.begin(), expected.end());
    std::sort(tools.begin(), tools.end());
    EXPECT_EQ(tools, expected);
    EXPECT_NE(std::find(tools.begin(), tools.end(), control(IDC_CALC_STATUS)), tools.end());

    struct Case {
        int id;
        const char* text;
    } cases[] = {
        {IDC_CALC_PRINT, "Selezionare per stampare i dati presenti a schermo (CTRL per cambiare stampante)"},
        {IDC_CALC_T, "Digitare il numero di ore al giorno di esposizione (separare i decimali con il punto)"},
        {IDC_CALC_STATUS, ""},  // no file yet
        {IDC_CALC_NOTES_LABEL, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        NMTTDISPINFOA request = {};
        request.hdr.hwndFrom = toolTips.tooltipWindow;
        request.hdr.idFrom = reinterpret_cast<UINT_PTR>(control(c.id));
        request.hdr.code = TTN_NEEDTEXTA;
        request.uFlags = TTF_IDISHWND;
        SendMessageA(calculator, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&request));
        EXPECT_STREQ(request.lpszText ? request.lpszText : "", c.text);
    }
}

TEST_F(CalculatorDialogTest, RightClickAndF1ShowOnePopupWithTheControlsText)
{
    open();
    SendMessageA(calculator, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control(IDC_CALC_MULTIPLE)),
                 MAKELPARAM(321, 234));
    ASSERT_EQ(helpCalls().size(), 1u);
    EXPECT_EQ(helpCalls()[0].command, static_cast<UINT>(HH_DISPLAY_TEXT_POPUP));
    EXPECT_EQ(helpCalls()[0].popupText,
              "Selezionare questo flag per calcolare l'esposizione a più di un'attività/lavorazione, "
              "deselezionarlo per calcolare l'esposizione ad un'attività/lavorazione singola.");
    EXPECT_EQ(helpCalls()[0].popupAt.x, 321);
    EXPECT_EQ(helpCalls()[0].popupAt.y, 234);

    // A control without a text shows nothing.
    SendMessageA(calculator, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control(IDC_CALC_UNIT_L)),
                 MAKELPARAM(1, 1));
    EXPECT_EQ(helpCalls().size(), 1u);

    HELPINFO f1 = {};
    f1.cbSize = sizeof f1;
    f1.iContextType = HELPINFO_WINDOW;
    f1.iCtrlId = IDC_CALC_STATUS;
    f1.hItemHandle = control(IDC_CALC_STATUS);
    f1.MousePos = {10, 20};
    SendMessageA(calculator, WM_HELP, 0, reinterpret_cast<LPARAM>(&f1));
    ASSERT_EQ(helpCalls().size(), 2u);
    EXPECT_EQ(helpCalls()[1].popupText, "Visualizza il nome del file correntemente aperto.");

    command(IDC_CALC_HELP);
    ASSERT_EQ(helpCalls().size(), 3u);
    EXPECT_EQ(helpCalls()[2].command, static_cast<UINT>(HH_HELP_CONTEXT));
    EXPECT_EQ(helpCalls()[2].data, 100690u);
    EXPECT_EQ(helpCalls()[2].file, appState.helpFile);
}

// Mended: F kept its typed text across a change of unit, labelled with the
// new unit, and Aggiungi added it 1000 times off.
TEST_F(CalculatorDialogTest, TypedFAndTheListFollowEveryChangeOfUnit)
{
    const std::string inLitres = writeFile("litri.qvl", Esempio3);
    const std::string inCc = writeFile("cc.qvl",
                                       "[QUORVEL]\r\nMULTI=1\r\nITEMS=1\r\nUNIT=0\r\n[EXPO_0]\r\n"
                                       "VOCE=Pastigliatrici\r\nFIBRE=1.90000\r\nORE=2.500\r\nGIORNI=240.0\r\n");
    struct Case {
        const char* way;
        DisplayUnit before;
        const char* typed;
        std::function<void()> change;
        const char* shown;   // F after the change
        const char* added;   // the F column of the row Aggiungi then adds
    } cases[] = {
        {"menu", PerCc, "0.5", [&] { SendMessageA(mainWindow, WM_COMMAND, CMD_UNITA, 0); }, "500", "500.00"},
        {"menu back", PerLitre, "500", [&] { SendMessageA(mainWindow, WM_COMMAND, CMD_UNITA, 0); }, "0.500",
         "0.50000"},
        {"file in ff/l", PerCc, "0.5", [&] { readCalculationIntoDialog(calculator, inLitres.c_str()); }, "500",
         "500.00"},
        {"file in ff/cc", PerLitre, "500", [&] { readCalculationIntoDialog(calculator, inCc.c_str()); }, "0.500",
         "0.50000"},
        {"activation", PerCc, "0.5",
         [&] {
             appState.displayUnit = PerLitre;
             SendMessageA(calculator, WM_ACTIVATE, WA_CLICKACTIVE, 0);
         },
         "500", "500.00"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.way);
        appState.displayUnit = c.before;
        open();
        setMultiple(true);
        addRow("Taglio", c.typed, "8", "240");
        setText(IDC_CALC_F, c.typed);
        c.change();
        EXPECT_NE(appState.displayUnit, c.before);
        EXPECT_EQ(text(IDC_CALC_UNIT_F), appState.displayUnit == PerLitre ? "ff/l" : "ff/cc");
        EXPECT_EQ(text(IDC_CALC_F), c.shown);
        if (std::string(c.way).find("file") == std::string::npos) {
            EXPECT_EQ(rows()[0][1], c.added) << "the row typed before, converted";
        }
        setText(IDC_CALC_DESCRIPTION, "Aggiunta");
        command(IDC_CALC_ADD);
        EXPECT_EQ(rows().back()[1], c.added);
        DestroyWindow(calculator);
    }
}

TEST_F(CalculatorDialogTest, ActivationShowsTheCurrentUnit)
{
    open();
    appState.displayUnit = PerLitre;
    SendMessageA(calculator, WM_ACTIVATE, WA_CLICKACTIVE, 0);
    EXPECT_EQ(text(IDC_CALC_UNIT_F), "ff/l");
    EXPECT_EQ(header(1), "F (ff/l)");
    appState.displayUnit = PerCc;
    SendMessageA(calculator, WM_ACTIVATE, WA_INACTIVE, 0);
    EXPECT_EQ(text(IDC_CALC_UNIT_F), "ff/l") << "not on deactivation";
}

}  // namespace
