// The calculator dialog: start-up, commands, list notifications, colours,
// drops, closing. The numbers and texts come from the exposure model; this
// file only moves them between the controls and the model.
#include "app/calculator/calculator_dialog.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "app/calculator/calculator_ids.h"
#include "app/calculator/calculator_output.h"
#include "app/calculator/file_dialogs.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/ui/app_state.h"
#include "app/ui/display_unit.h"
#include "common/bounded_text.h"
#include "common/win/context_help.h"
#include "common/win/html_help.h"
#include "common/win/tooltips.h"
#include "common/win/windows_profile.h"

namespace {

const int HelpCalculatorTopic = 100690;
const COLORREF Cyan = RGB(0, 255, 255);
const COLORREF DarkBlue = RGB(0, 0, 160);

struct CalculatorData {
    HBRUSH cyan;
    char currentFile[MAX_PATH];
    Calculation baseline;  // as last opened or saved, to know unsaved work
    unsigned itemId;       // the database item the F field was filled from, or 0
    DisplayUnit unit;      // the unit the F field and the rows are in
};

const char* const MissingFileMessage = "Il file non esiste: nessun calcolo è stato aperto.";
const char* const NotACalculationMessage =
    "Il file non contiene un calcolo di Quorvel: nessun calcolo è stato aperto.";
const char* const UnsavedMessage =
    "Il calcolo contiene modifiche non salvate: chiudere e perdere le modifiche?";

const int ListButtons[] = {IDC_CALC_ADD, IDC_CALC_MODIFY, IDC_CALC_DELETE};

// readCalculationIntoDialog, after asking about unsaved work when askFirst:
// the paths that replace the calculation in place (Apri, a drop).
bool readCalculation(HWND dialog, const char* path, bool askFirst);

struct IconButton {
    int id;
    int slot;  // in appState.smallIcons
} const IconButtons[] = {
    {IDC_CALC_OPEN, 0}, {IDC_CALC_SAVE, 1}, {IDC_CALC_PRINT, 2}, {IDC_CALC_COPY, 3}, {IDC_CALC_HELP, 5},
};

CalculatorData* dataOf(HWND dialog)
{
    return reinterpret_cast<CalculatorData*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

DisplayUnit currentUnit()
{
    return appState.displayUnit;
}

std::string controlText(HWND dialog, int id)
{
    char buffer[TextLimit + 1] = "";
    GetDlgItemTextA(dialog, id, buffer, sizeof buffer);
    return buffer;
}

void setControlText(HWND dialog, int id, const std::string& text)
{
    SetDlgItemTextA(dialog, id, text.c_str());
}

INT_PTR dialogResult(HWND dialog, LRESULT result)
{
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

// ---- list rows ----

HWND listOf(HWND dialog)
{
    return GetDlgItem(dialog, IDC_CALC_LIST);
}

ExposureRow readListRow(HWND list, int index)
{
    ExposureRow row;
    for (int column = 0; column < RowColumnCount; ++column) {
        char text[TextLimit + 1] = "";
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
        row.columns[column] = text;
    }
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    if (SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        row.itemId = static_cast<unsigned>(item.lParam);
    return row;
}

void setListRow(HWND list, int index, const ExposureRow& row)
{
    for (int column = 0; column < RowColumnCount; ++column) {
        LVITEMA item = {};
        item.iSubItem = column;
        item.pszText = const_cast<char*>(row.columns[column].c_str());
        SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&item));
    }
    // The row's item travels in the list item's data.
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = static_cast<LPARAM>(row.itemId);
    SendMessageA(list, LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void appendListRow(HWND list, const ExposureRow& row)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(row.columns[ColumnDescription].c_str());
    const int index = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (index >= 0)
        setListRow(list, index, row);
}

// The row that is both selected and focused, or -1.
int selectedRow(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_SELECTED | LVNI_FOCUSED);
}

void setColumnHeader(HWND list, int column, const std::string& text)
{
    LVCOLUMNA header = {};
    header.mask = LVCF_TEXT;
    header.pszText = const_cast<char*>(text.c_str());
    SendMessageA(list, LVM_SETCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
}

void insertColumns(HWND list)
{
    ListView_SetExtendedListViewStyleEx(list, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    RECT client;
    GetClientRect(list, &client);
    const int width = client.right - client.left;
    const char* const headers[RowColumnCount] = {"Descrizione", "F", "t", "g", "E"};
    for (int column = 0; column < RowColumnCount; ++column) {
        LVCOLUMNA header = {};
        header.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        header.pszText = const_cast<char*>(headers[column]);
        header.cx = column == ColumnDescription ? width / 2 : width / 8;
        header.iSubItem = column;
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&header));
    }
}

// ---- state shown in the dialog and the main window ----

HWND mainWindowOf(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    return owner ? owner : appState.mainWindow;
}

void showUnitLabels(HWND dialog)
{
    const DisplayUnit unit = currentUnit();
    SetDlgItemTextA(dialog, IDC_CALC_UNIT_F, unitLabel(unit));
    HWND list = listOf(dialog);
    setColumnHeader(list, ColumnF, concentrationHeader(unit));
    setColumnHeader(list, ColumnPartial, exposureHeader(unit));
}

void showMultiple(HWND dialog, bool multiple)
{
    CheckDlgButton(dialog, IDC_CALC_MULTIPLE, multiple ? BST_CHECKED : BST_UNCHECKED);
    const int show = multiple ? SW_SHOW : SW_HIDE;
    ShowWindow(listOf(dialog), show);
    for (int id : ListButtons)
        ShowWindow(GetDlgItem(dialog, id), show);
}

bool multipleChecked(HWND dialog)
{
    return IsDlgButtonChecked(dialog, IDC_CALC_MULTIPLE) == BST_CHECKED;
}

void showStatus(HWND dialog, const char* text)
{
    SendDlgItemMessageA(dialog, IDC_CALC_STATUS, SB_SETTEXTA, 0, reinterpret_cast<LPARAM>(text));
}

void showResults(HWND dialog, const Calculation& calculation)
{
    setControlText(dialog, IDC_CALC_RESULT_CC, calculation.resultCc);
    setControlText(dialog, IDC_CALC_RESULT_L, calculation.resultL);
}

// The list's total (multiple) or the fields' exposure (single).
void recompute(HWND dialog)
{
    Calculation calculation = calculatorContents(dialog);
    appState.calculator.multiple = calculation.multiple;
    recomputeResults(calculation, currentUnit());
    showResults(dialog, calculation);
}

// What the calculator shows, into the display unit when that changed
// since: F and every row converted (or F cleared), so that nothing is added
// in a unit other than the one it was typed in. The unsaved-work check
// compares in the same unit.
void followUnit(HWND dialog)
{
    CalculatorData* data = dataOf(dialog);
    const DisplayUnit unit = currentUnit();
    if (data && data->unit != unit) {
        Calculation calculation = calculatorContents(dialog);
        convertCalculation(calculation, data->unit, unit);
        convertCalculation(data->baseline, data->unit, unit);
        data->unit = unit;
        HWND list = listOf(dialog);
        for (size_t i = 0; i < calculation.rows.size(); ++i)
            setListRow(list, static_cast<int>(i), calculation.rows[i]);
        setControlText(dialog, IDC_CALC_F, calculation.fText);  // the field-change rule follows
        if (calculation.multiple)
            recompute(dialog);
    }
    showUnitLabels(dialog);
}

void fieldChanged(HWND dialog)
{
    Calculation calculation = calculatorContents(dialog);
    applyFieldChange(calculation, currentUnit());
    showResults(dialog, calculation);
}

// The character check of F, t and g: the text is cut before the first
// character that is not a digit or the first point.
void checkField(HWND dialog, int id)
{
    const TypedNumberCheck check = checkTypedNumber(controlText(dialog, id));
    if (check.accepted)
        return;
    MessageBoxA(dialog, InvalidCharacterMessage, check.caption.c_str(), MB_OK | MB_ICONERROR);
    setControlText(dialog, id, check.keptText);
}

// ---- start-up ----

void prefillFromItem(HWND dialog, unsigned itemId)
{
    const NodeRecord* node = findNode(itemId);
    if (!node)
        return;
    setControlText(dialog, IDC_CALC_F, concentrationText(node->concentration, currentUnit()));
    SetDlgItemTextA(dialog, IDC_CALC_DESCRIPTION, node->name);
    if (CalculatorData* data = dataOf(dialog))
        data->itemId = node->kind == Item ? node->id : 0;
}

BOOL onInitDialog(HWND dialog, const CalculatorRequest& request)
{
    CalculatorData* data = new CalculatorData{};
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(data));
    appState.calculator.window = dialog;

    HWND list = listOf(dialog);
    insertColumns(list);
    showMultiple(dialog, appState.calculator.multiple);
    enableUnitButtons(mainWindowOf(dialog), false);
    data->currentFile[0] = '\0';
    data->unit = currentUnit();

    const CalculatorState& state = appState.calculator;
    SetDlgItemTextA(dialog, IDC_CALC_T, state.valuesRemembered ? state.hoursText : "8");
    SetDlgItemTextA(dialog, IDC_CALC_G, state.valuesRemembered ? state.daysText : "240");

    SendDlgItemMessageA(dialog, IDC_CALC_NOTES, EM_LIMITTEXT, TextLimit, 0);
    SendDlgItemMessageA(dialog, IDC_CALC_DESCRIPTION, EM_LIMITTEXT, TextLimit, 0);
    if (request.kind == CalculatorRequest::Item)
        prefillFromItem(dialog, request.itemId);

    CreateStatusWindowA(WS_CHILD | WS_VISIBLE, "Nessun file selezionato", dialog, IDC_CALC_STATUS);
    if (request.kind == CalculatorRequest::File)
        readCalculationIntoDialog(dialog, request.path);

    for (const IconButton& button : IconButtons)
        SendDlgItemMessageA(dialog, button.id, BM_SETIMAGE, IMAGE_ICON,
                            reinterpret_cast<LPARAM>(appState.smallIcons[button.slot]));
    showUnitLabels(dialog);
    registerDialogTools(dialog);
    SetFocus(GetDlgItem(dialog, IDC_CALC_NOTES));
    data->cyan = CreateSolidBrush(Cyan);
    data->baseline = calculatorContents(dialog);
    return FALSE;  // the focus is set
}

// ---- commands ----

// The list row that the fields describe; false, after the row check's
// message, when they do not make one.
bool rowFromFields(HWND dialog, ExposureRow* row)
{
    const RowInputCheck check =
        validateRowInput(controlText(dialog, IDC_CALC_DESCRIPTION), controlText(dialog, IDC_CALC_F),
                         controlText(dialog, IDC_CALC_T), controlText(dialog, IDC_CALC_G));
    if (check.message) {
        MessageBoxA(dialog, check.message, RowInputCaption, MB_OK | MB_ICONINFORMATION);
        return false;
    }
    RowValues record = check.record;
    *row = writeRow(record, currentUnit());
    if (CalculatorData* data = dataOf(dialog))
        row->itemId = keptItemId(data->itemId, readRow(*row).f, currentUnit());
    return true;
}

void addRow(HWND dialog)
{
    ExposureRow row;
    if (!rowFromFields(dialog, &row))
        return;
    appendListRow(listOf(dialog), row);
    recompute(dialog);
}

void modifyRow(HWND dialog)
{
    HWND list = listOf(dialog);
    const int row = selectedRow(list);
    if (row < 0) {
        MessageBoxA(dialog, "Attenzione: nessun dato selezionato!", "Modifica", MB_OK | MB_ICONINFORMATION);
        return;
    }
    ExposureRow values;
    if (!rowFromFields(dialog, &values))
        return;
    setListRow(list, row, values);
    recompute(dialog);
}

void deleteRow(HWND dialog)
{
    HWND list = listOf(dialog);
    const int row = selectedRow(list);
    if (row < 0) {
        MessageBoxA(dialog, "Attenzione: nessun dato selezionato!", "Elimina", MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (MessageBoxA(dialog, "Eliminare l'elemento selezionato nella lista?", "Conferma operazione",
                    MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    ListView_DeleteItem(list, row);
    recompute(dialog);
}

void openFile(HWND dialog)
{
    char path[TextLimit + 1] = "";
    if (chooseCalculationFile(dialog, path, sizeof path, nullptr, calculatorCurrentFile(dialog)))
        readCalculation(dialog, path, true);
}

bool saveAs(HWND dialog)
{
    char notes[TextLimit + 1] = "";
    GetDlgItemTextA(dialog, IDC_CALC_NOTES, notes, sizeof notes);
    char path[TextLimit + 1] = "";
    if (!chooseCalculationFile(dialog, path, sizeof path, notes, calculatorCurrentFile(dialog)))
        return false;
    SetDlgItemTextA(dialog, IDC_CALC_NOTES, notes);
    return writeCalculationFromDialog(dialog, path);
}

void save(HWND dialog)
{
    CalculatorData* data = dataOf(dialog);
    // A file of the program's folder (a shipped example) is not written over
    // in place: where the program is installed the user may not write, and
    // the next installation would replace it.
    if (data && data->currentFile[0] && !isInProgramFolder(data->currentFile)) {
        char path[MAX_PATH];
        copyBounded(path, sizeof path, data->currentFile);
        writeCalculationFromDialog(dialog, path);
    } else {
        saveAs(dialog);
    }
}

void print(HWND dialog)
{
    const bool choosePrinter = GetKeyState(VK_CONTROL) < 0;
    if (!choosePrinter && MessageBoxA(dialog, "Stampare i dati contenuti nella finestra?", "Conferma operazione",
                                      MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
        return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    printCalculation(dialog, choosePrinter);
    SetCursor(previous);
}

void onCommand(HWND dialog, int id, int notification)
{
    switch (id) {
    case IDCANCEL:         PostMessageA(dialog, WM_CLOSE, 0, 0); break;
    case IDC_CALC_F:
    case IDC_CALC_T:
    case IDC_CALC_G:
        if (notification == EN_UPDATE)
            checkField(dialog, id);
        else if (notification == EN_CHANGE)
            fieldChanged(dialog);
        break;
    case IDC_CALC_MULTIPLE:
        showMultiple(dialog, multipleChecked(dialog));
        recompute(dialog);
        break;
    case IDC_CALC_ADD:     addRow(dialog); break;
    case IDC_CALC_MODIFY:  modifyRow(dialog); break;
    case IDC_CALC_DELETE:  deleteRow(dialog); break;
    case IDC_CALC_OPEN:    openFile(dialog); break;
    case IDC_CALC_SAVE:    save(dialog); break;
    case IDC_CALC_SAVE_AS: saveAs(dialog); break;
    case IDC_CALC_PRINT:   print(dialog); break;
    case IDC_CALC_COPY:    copyCalculationCsv(dialog); break;
    case IDC_CALC_HELP:
        htmlHelp(dialog, appState.helpFile, HH_HELP_CONTEXT, HelpCalculatorTopic);
        break;
    }
}

// ---- notifications ----

const char* toolTipText(HWND dialog, int id)
{
    if (id == IDC_CALC_STATUS) {
        CalculatorData* data = dataOf(dialog);
        return data ? data->currentFile : "";
    }
    const char* text = CalculatorDialogTexts.toolTipOf(id);
    return text ? text : "";
}

int toolControlId(const NMHDR* header, UINT flags)
{
    if (flags & TTF_IDISHWND)
        return GetDlgCtrlID(reinterpret_cast<HWND>(header->idFrom));
    return static_cast<int>(header->idFrom);
}

void listGotFocus(HWND list)
{
    if (ListView_GetItemCount(list) == 0)
        return;
    int row = selectedRow(list);
    if (row < 0)
        row = 0;
    ListView_SetItemState(list, row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

void rowIntoFields(HWND dialog)
{
    HWND list = listOf(dialog);
    const int row = selectedRow(list);
    if (row < 0)
        return;
    const ExposureRow values = readListRow(list, row);
    const FieldTexts texts = rowFieldTexts(values, currentUnit());
    if (CalculatorData* data = dataOf(dialog))
        data->itemId = values.itemId;
    setControlText(dialog, IDC_CALC_DESCRIPTION, texts.description);
    setControlText(dialog, IDC_CALC_F, texts.fText);
    setControlText(dialog, IDC_CALC_T, texts.tText);
    setControlText(dialog, IDC_CALC_G, texts.gText);
}

void descriptionEdited(HWND list, const NMLVDISPINFOA* edit)
{
    if (!edit->item.pszText)  // cancelled
        return;
    ExposureRow row = readListRow(list, edit->item.iItem);
    editRowDescription(row, edit->item.pszText, currentUnit());
    setListRow(list, edit->item.iItem, row);
}

INT_PTR onNotify(HWND dialog, NMHDR* header)
{
    if (header->code == TTN_NEEDTEXTA) {
        NMTTDISPINFOA* request = reinterpret_cast<NMTTDISPINFOA*>(header);
        request->lpszText = const_cast<char*>(toolTipText(dialog, toolControlId(header, request->uFlags)));
        request->hinst = nullptr;
        return TRUE;
    }
    if (header->code == TTN_NEEDTEXTW) {
        static WCHAR wide[MAX_PATH];
        NMTTDISPINFOW* request = reinterpret_cast<NMTTDISPINFOW*>(header);
        const char* text = toolTipText(dialog, toolControlId(header, request->uFlags));
        if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, MAX_PATH))
            wide[0] = 0;
        request->lpszText = wide;
        request->hinst = nullptr;
        return TRUE;
    }
    if (header->idFrom != IDC_CALC_LIST)
        return FALSE;
    HWND list = header->hwndFrom;
    switch (header->code) {
    case NM_SETFOCUS:
        listGotFocus(list);
        return TRUE;
    case NM_DBLCLK:
        rowIntoFields(dialog);
        return TRUE;
    case LVN_BEGINLABELEDITA:
        if (HWND edit = ListView_GetEditControl(list))
            SendMessageA(edit, EM_LIMITTEXT, TextLimit, 0);
        return dialogResult(dialog, FALSE);
    case LVN_ENDLABELEDITA:
        descriptionEdited(list, reinterpret_cast<NMLVDISPINFOA*>(header));
        return dialogResult(dialog, FALSE);  // the row is already rewritten
    }
    return FALSE;
}

// ---- painting, drops, closing ----

void onPaint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client;
    GetClientRect(dialog, &client);
    CalculatorData* data = dataOf(dialog);
    if (data && data->cyan)
        FillRect(dc, &client, data->cyan);
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    if (HBITMAP ant = static_cast<HBITMAP>(LoadImageA(instance, MAKEINTRESOURCEA(IDB_ANT), IMAGE_BITMAP, 0, 0, 0))) {
        BITMAP size;
        GetObjectA(ant, sizeof size, &size);
        if (HDC memory = CreateCompatibleDC(dc)) {
            HGDIOBJ previous = SelectObject(memory, ant);
            BitBlt(dc, client.right - 1 - size.bmWidth, client.bottom - 2 * size.bmHeight - 1,
                   size.bmWidth, size.bmHeight, memory, 0, 0, SRCCOPY);
            SelectObject(memory, previous);
            DeleteDC(memory);
        }
        DeleteObject(ant);
    }
    EndPaint(dialog, &paint);
}

INT_PTR onColourStatic(HWND dialog, HDC dc)
{
    CalculatorData* data = dataOf(dialog);
    if (!data || !data->cyan)
        return FALSE;
    SetBkColor(dc, Cyan);
    SetTextColor(dc, DarkBlue);
    return reinterpret_cast<INT_PTR>(data->cyan);
}

void onDropFiles(HWND dialog, HDROP drop)
{
    std::string name;
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) == 1) {
        const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
        name.assign(length + 1, '\0');
        name.resize(DragQueryFileA(drop, 0, &name[0], length + 1));
    }
    DragFinish(drop);
    if (name.empty() || !isCalculationFileName(name.c_str()))
        return;
    if (readCalculation(dialog, name.c_str(), true))
        recompute(dialog);
}

void onClose(HWND dialog)
{
    if (!calculatorMayBeDiscarded(dialog))
        return;
    CalculatorState& state = appState.calculator;
    state.multiple = multipleChecked(dialog);
    GetDlgItemTextA(dialog, IDC_CALC_T, state.hoursText, sizeof state.hoursText);
    GetDlgItemTextA(dialog, IDC_CALC_G, state.daysText, sizeof state.daysText);
    state.valuesRemembered = true;
    DestroyWindow(dialog);
}

void onDestroy(HWND dialog)
{
    HWND mainWindow = mainWindowOf(dialog);
    if (mainWindow && appState.selectedItem == 0)
        enableUnitButtons(mainWindow, true);
    CalculatorData* data = dataOf(dialog);
    SetWindowLongPtrA(dialog, DWLP_USER, 0);
    if (data) {
        if (data->cyan)
            DeleteObject(data->cyan);
        delete data;
    }
    if (appState.calculator.window == dialog)
        appState.calculator.window = nullptr;
}

BOOL answerHelp(HWND dialog, HELPINFO* request)
{
    return showControlHelp(dialog, request, CalculatorDialogTexts);
}

}  // namespace

INT_PTR CALLBACK calculatorDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        return onInitDialog(dialog, *reinterpret_cast<const CalculatorRequest*>(lParam));
    case WM_COMMAND:
        onCommand(dialog, LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_NOTIFY:
        return onNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
    case WM_PAINT:
        onPaint(dialog);
        return TRUE;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORDLG:
        return onColourStatic(dialog, reinterpret_cast<HDC>(wParam));
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            followUnit(dialog);
        return FALSE;
    case WM_HELP:
        return answerHelp(dialog, reinterpret_cast<HELPINFO*>(lParam));
    case WM_CONTEXTMENU:
        return contextHelpFromMenu(dialog, reinterpret_cast<HWND>(wParam), LOWORD(lParam), HIWORD(lParam),
                                   answerHelp);
    case WM_DROPFILES:
        onDropFiles(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case UnitChangedMessage:
        followUnit(dialog);
        return TRUE;
    case WM_CLOSE:
        onClose(dialog);
        return TRUE;
    case WM_DESTROY:
        onDestroy(dialog);
        return TRUE;
    }
    return FALSE;
}

HWND openCalculatorDialog(HWND owner, const CalculatorRequest& request)
{
    HINSTANCE instance = appState.instance ? appState.instance : GetModuleHandleA(nullptr);
    HWND dialog = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_CALCULATOR), owner,
                                     calculatorDialogProc, reinterpret_cast<LPARAM>(&request));
    appState.calculator.window = dialog;
    return dialog;
}

Calculation calculatorContents(HWND dialog)
{
    Calculation calculation;
    calculation.multiple = multipleChecked(dialog);
    calculation.description = controlText(dialog, IDC_CALC_DESCRIPTION);
    calculation.fText = controlText(dialog, IDC_CALC_F);
    calculation.tText = controlText(dialog, IDC_CALC_T);
    calculation.gText = controlText(dialog, IDC_CALC_G);
    HWND list = listOf(dialog);
    const int count = ListView_GetItemCount(list);
    for (int i = 0; i < count; ++i)
        calculation.rows.push_back(readListRow(list, i));
    calculation.resultCc = controlText(dialog, IDC_CALC_RESULT_CC);
    calculation.resultL = controlText(dialog, IDC_CALC_RESULT_L);
    calculation.notes = controlText(dialog, IDC_CALC_NOTES);
    calculation.currentFile = calculatorCurrentFile(dialog);
    if (CalculatorData* data = dataOf(dialog))
        calculation.itemId = data->itemId;
    return calculation;
}

void showCalculatorUnit(HWND dialog)
{
    followUnit(dialog);
}

Calculation calculatorOutput(HWND dialog)
{
    Calculation calculation = calculatorContents(dialog);
    resultsForOutput(calculation, currentUnit());
    return calculation;
}

bool readCalculationIntoDialog(HWND dialog, const char* path)
{
    return readCalculation(dialog, path, false);
}

namespace {

bool readCalculation(HWND dialog, const char* path, bool askFirst)
{
    CalculatorData* data = dataOf(dialog);
    if (!data || !path || std::strlen(path) > PathLimit)
        return false;
    WindowsProfile profile(path);
    const char* name = profile.path()[0] ? profile.path() : path;
    // Read blindly, a foreign file would show as an empty calculation and
    // become the file that "Salva" writes into.
    const DWORD attributes = GetFileAttributesA(name);
    const char* refusal = nullptr;
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        refusal = MissingFileMessage;
    else if (!isCalculationProfile(profile))
        refusal = NotACalculationMessage;
    if (refusal) {
        MessageBoxA(dialog, refusal, name, MB_OK | MB_ICONERROR);
        return false;
    }
    // Asked once the file is known to hold a calculation: a refused file
    // costs the user nothing.
    if (askFirst && !calculatorMayBeDiscarded(dialog))
        return false;
    const CalculationFile file = readCalculationFile(profile);
    Calculation calculation = calculatorContents(dialog);
    DisplayUnit unit = data->unit;
    if (!applyCalculationFile(file, name, calculation, &unit))
        return false;

    data->itemId = calculation.itemId;
    // The calculation is already in the file's unit: the change of unit
    // must not convert it again.
    data->unit = unit;
    setDisplayUnit(mainWindowOf(dialog), unit);
    showUnitLabels(dialog);  // also when the dialog is not yet the live one

    appState.calculator.multiple = calculation.multiple;
    showMultiple(dialog, calculation.multiple);
    // Multiple: the file's rows; single: the hidden rows, now in the file's unit.
    HWND list = listOf(dialog);
    ListView_DeleteAllItems(list);
    for (const ExposureRow& row : calculation.rows)
        appendListRow(list, row);
    if (!calculation.multiple) {
        // As typed: each field passes through the character check, with its
        // message, and the field-change rule.
        setControlText(dialog, IDC_CALC_DESCRIPTION, file.description);
        setControlText(dialog, IDC_CALC_F, file.fText);
        setControlText(dialog, IDC_CALC_T, file.tText);
        setControlText(dialog, IDC_CALC_G, file.gText);
    } else {
        setControlText(dialog, IDC_CALC_F, calculation.fText);  // now in the file's unit
    }
    setControlText(dialog, IDC_CALC_RESULT_CC, calculation.resultCc);
    setControlText(dialog, IDC_CALC_RESULT_L, calculation.resultL);
    setControlText(dialog, IDC_CALC_NOTES, calculation.notes);

    copyBounded(data->currentFile, sizeof data->currentFile, calculation.currentFile.c_str());
    showStatus(dialog, data->currentFile);
    data->baseline = calculatorContents(dialog);
    if (calculation.multiple) {
        const std::string rejected = rejectedRowsText(calculation);
        if (!rejected.empty())
            MessageBoxA(dialog, (std::string(RejectedRowsMessage) + "\r\n" + rejected).c_str(),
                        RowInputCaption, MB_OK | MB_ICONWARNING);
    }
    return true;
}

// A file name beside target for the new content, or false.
bool temporaryBeside(const char* target, char* temporary)
{
    char folder[MAX_PATH];
    copyBounded(folder, sizeof folder, target);
    char* slash = std::strrchr(folder, '\\');
    if (char* other = std::strrchr(folder, '/'))
        slash = !slash || other > slash ? other : slash;
    if (slash)
        slash[1] = '\0';
    else
        copyBounded(folder, sizeof folder, ".");
    return GetTempFileNameA(folder, "qvl", 0, temporary) != 0;
}

// The calculation goes into a copy of the file beside it, which then
// replaces the file in one step: a write that fails part-way leaves the
// original as it was.
bool writeReplacing(const char* target, Calculation& calculation, DisplayUnit unit)
{
    char temporary[MAX_PATH];
    if (!temporaryBeside(target, temporary))
        return false;
    // Keys and sections of the old file that are not written stay.
    const bool existed = GetFileAttributesA(target) != INVALID_FILE_ATTRIBUTES;
    bool ok = !existed || CopyFileA(target, temporary, FALSE);
    if (ok) {
        WindowsProfile profile(temporary);
        ok = writeCalculationFile(profile, target, calculation, unit);
        WritePrivateProfileStringA(nullptr, nullptr, nullptr, temporary);  // flush the cache
    }
    ok = ok && MoveFileExA(temporary, target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok)
        DeleteFileA(temporary);
    return ok;
}

}  // namespace

bool writeCalculationFromDialog(HWND dialog, const char* path)
{
    CalculatorData* data = dataOf(dialog);
    if (!data || !path)
        return false;
    Calculation calculation = calculatorOutput(dialog);
    WindowsProfile resolved(path);
    const std::string target = resolved.path()[0] ? resolved.path() : path;
    // The replacing move would drop the attribute along with the file.
    const DWORD attributes = GetFileAttributesA(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) &&
        !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (MessageBoxA(dialog, ReadOnlyFileMessage, path, MB_YESNO | MB_ICONWARNING) == IDYES)
            return saveAs(dialog);
        return false;
    }
    if (target.size() > PathLimit || !writeReplacing(target.c_str(), calculation, currentUnit())) {
        MessageBoxA(dialog, WriteFailedMessage, path, MB_OK | MB_ICONERROR);
        return false;
    }
    copyBounded(data->currentFile, sizeof data->currentFile, calculation.currentFile.c_str());
    showStatus(dialog, data->currentFile);
    data->baseline = calculatorContents(dialog);
    return true;
}

bool calculatorMayBeDiscarded(HWND dialog)
{
    CalculatorData* data = dataOf(dialog);
    if (!data || sameCalculation(calculatorContents(dialog), data->baseline))
        return true;
    return MessageBoxA(dialog, UnsavedMessage, "Conferma operazione", MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES;
}

const char* calculatorCurrentFile(HWND dialog)
{
    CalculatorData* data = dataOf(dialog);
    return data ? data->currentFile : "";
}
