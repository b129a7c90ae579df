// The search dialog: its controls, the search into the result list, copy,
// print, the criterion buttons, tooltips and help popups, and the choice of
// a hit. The search, the texts and the page layout are portable
// (search_engine.h, search_output.h); this file moves data between them and
// the controls.
#include "app/browse/search_dialog.h"

#include <commctrl.h>
#include <htmlhelp.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/browse/search_ids.h"
#include "app/browse/search_output.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/ui/app_state.h"
#include "app/ui/clipboard.h"
#include "app/ui/printer.h"
#include "common/win/context_help.h"
#include "common/win/html_help.h"
#include "common/win/tooltips.h"

SearchSettings searchSettings;

namespace {

const int HelpSearchTopic = 100790;
const COLORREF DialogColour = RGB(255, 255, 226);
const COLORREF StaticTextColour = RGB(0, 0, 160);
const COLORREF StripTransparent = RGB(192, 192, 192);
const char ResultsDocumentName[] = "Risultati di ricerca in Quorvel";

// smallIcons slots of the icon buttons.
const int SearchIcon = 4;
const int PrintIcon = 2;
const int CopyIcon = 3;
const int HelpIcon = 5;

const size_t LabelCapacity = NodeNameSize;
const size_t SourceCapacity = NodeBibliographySize;
const size_t CounterCapacity = 128;

// Per-dialog resources, made at WM_INITDIALOG and released at WM_DESTROY.
// The dialog is modal, so one set at a time.
HBRUSH dialogBrush;
HIMAGELIST resultImages;

HWND resultList(HWND dialog)
{
    return GetDlgItem(dialog, IDC_SEARCH_LIST);
}

void relabelCriterion(HWND dialog)
{
    const SearchCriterion current = searchSettings.criterion;
    SetDlgItemTextA(dialog, IDC_SEARCH_AND, criterionButtonLabel(SearchCriterion::And, current));
    SetDlgItemTextA(dialog, IDC_SEARCH_OR, criterionButtonLabel(SearchCriterion::Or, current));
    SetDlgItemTextA(dialog, IDC_SEARCH_NOT, criterionButtonLabel(SearchCriterion::Not, current));
}

void showCriterionButtons(HWND dialog)
{
    const bool advanced = searchSettings.advanced;
    for (int id = IDC_SEARCH_AND; id <= IDC_SEARCH_NOT; ++id)
        ShowWindow(GetDlgItem(dialog, id), advanced ? SW_SHOW : SW_HIDE);
    if (advanced) {
        CheckRadioButton(dialog, IDC_SEARCH_AND, IDC_SEARCH_NOT,
                         IDC_SEARCH_AND + static_cast<int>(searchSettings.criterion));
        relabelCriterion(dialog);
    }
}

void onAdvanced(HWND dialog)
{
    searchSettings.advanced = IsDlgButtonChecked(dialog, IDC_SEARCH_ADVANCED) == BST_CHECKED;
    showCriterionButtons(dialog);
}

void onCriterion(HWND dialog, int id)
{
    if (IsDlgButtonChecked(dialog, id) != BST_CHECKED)
        return;
    searchSettings.criterion = static_cast<SearchCriterion>(id - IDC_SEARCH_AND);
    relabelCriterion(dialog);
}

void insertRow(HWND list, const SearchHit& hit)
{
    const NodeRecord& record = *hit.record;
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    item.iItem = ListView_GetItemCount(list);
    item.pszText = const_cast<char*>(record.name);
    item.iImage = resultImage(record, hit.score);
    item.lParam = static_cast<LPARAM>(resultTag(record));
    const int row = static_cast<int>(SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    if (row < 0 || record.kind != Item)
        return;
    LVITEMA source = {};
    source.iSubItem = 1;
    source.pszText = const_cast<char*>(record.bibliography);
    SendMessageA(list, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&source));
}

void runSearch(HWND dialog)
{
    char text[SearchTextSize] = "";
    GetDlgItemTextA(dialog, IDC_SEARCH_TEXT, text, sizeof text);
    SearchQuery query;
    char caption[SearchTextSize] = "";
    if (!prepareSearch(text, searchSettings.advanced, searchSettings.criterion, &query, caption,
                       sizeof caption)) {
        MessageBoxA(dialog, SearchTooShortText, caption, MB_OK | MB_ICONERROR);
        return;
    }

    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND list = resultList(dialog);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    SetDlgItemTextA(dialog, IDC_SEARCH_COUNTER, "Elementi trovati");

    SearchResults results;
    searchDatabase(query, &results);
    for (const SearchHit& hit : results.hits)
        insertRow(list, hit);

    char counter[CounterCapacity];
    formatResultCounter(results.items, results.folders, counter, sizeof counter);
    SetDlgItemTextA(dialog, IDC_SEARCH_COUNTER, counter);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    SetCursor(previous);
}

// The list's rows in list order, with the storage their texts live in.
struct ListedRows {
    std::vector<std::string> labels;
    std::vector<std::string> sources;
    std::vector<ResultLine> lines;
};

void readRows(HWND list, ListedRows* rows)
{
    const int count = ListView_GetItemCount(list);
    rows->labels.resize(static_cast<size_t>(count > 0 ? count : 0));
    rows->sources.resize(rows->labels.size());
    rows->lines.resize(rows->labels.size());
    for (int row = 0; row < count; ++row) {
        const size_t at = static_cast<size_t>(row);
        char label[LabelCapacity] = "";
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = row;
        item.pszText = label;
        item.cchTextMax = sizeof label;
        SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        char source[SourceCapacity] = "";
        LVITEMA column = {};
        column.iSubItem = 1;
        column.pszText = source;
        column.cchTextMax = sizeof source;
        SendMessageA(list, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&column));
        rows->labels[at] = label;
        rows->sources[at] = source;
        rows->lines[at].image = item.iImage;
    }
    // Pointers are taken once the strings no longer move.
    for (size_t at = 0; at < rows->lines.size(); ++at) {
        rows->lines[at].label = rows->labels[at].c_str();
        rows->lines[at].bibliography = rows->sources[at].c_str();
    }
}

// What copy and print show above the rows: the controls as they are now.
struct HeaderTexts {
    char text[SearchTextSize];
    char counter[CounterCapacity];
    ResultsHeader header;
};

void readHeader(HWND dialog, HeaderTexts* out)
{
    out->text[0] = '\0';
    out->counter[0] = '\0';
    GetDlgItemTextA(dialog, IDC_SEARCH_TEXT, out->text, sizeof out->text);
    GetDlgItemTextA(dialog, IDC_SEARCH_COUNTER, out->counter, sizeof out->counter);
    out->header.text = out->text;
    out->header.advanced = IsDlgButtonChecked(dialog, IDC_SEARCH_ADVANCED) == BST_CHECKED;
    out->header.criterion = searchSettings.criterion;
    out->header.counterLabel = out->counter;
}

void copyResults(HWND dialog)
{
    HeaderTexts header;
    readHeader(dialog, &header);
    ListedRows rows;
    readRows(resultList(dialog), &rows);
    const std::string text = searchResultsCopyText(header.header, rows.lines.data(), rows.lines.size());
    putClipboardText(dialog, text.c_str(), text.size());
}

void printResults(HWND dialog)
{
    HDC dc = confirmedPrinterDC(dialog);
    if (!dc)
        return;
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    printDocument(dc, ResultsDocumentName, [&](HDC page) { drawSearchResults(dialog, page, true); });
    SetCursor(previous);
}

// The row that is both focused and selected, or -1.
int chosenRow(HWND list)
{
    return ListView_GetNextItem(list, -1, LVNI_FOCUSED | LVNI_SELECTED);
}

void chooseHit(HWND dialog)
{
    HWND list = resultList(dialog);
    const int row = chosenRow(list);
    if (row < 0)
        return;
    LVITEMA item = {};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    if (!SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item)))
        return;
    uint16_t path[LocatePathSize];
    const unsigned nodeId = static_cast<unsigned>(item.lParam) & 0xFFFFu;
    // A hit that cannot be traced to the root keeps the dialog open rather
    // than send the tree down a broken path.
    if (buildLocatePath(nodeId, path, LocatePathSize) == 0)
        return;
    static_assert(sizeof appState.locatePath.ids == sizeof path, "LocatePath holds 32 ids");
    std::memcpy(appState.locatePath.ids, path, sizeof path);
    EndDialog(dialog, 1);
}

void focusChosenRow(HWND list)
{
    int row = chosenRow(list);
    if (row < 0)
        row = 0;
    if (row >= ListView_GetItemCount(list))
        return;
    ListView_SetItemState(list, row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
}

LRESULT onListNotify(HWND dialog, NMHDR* header)
{
    switch (header->code) {
    case LVN_KEYDOWN:
        if (reinterpret_cast<NMLVKEYDOWN*>(header)->wVKey == VK_SPACE)
            chooseHit(dialog);
        return 0;
    case NM_SETFOCUS:
        focusChosenRow(header->hwndFrom);
        return 0;
    case NM_DBLCLK:
        chooseHit(dialog);
        return 0;
    }
    return 0;
}

LRESULT onToolTipText(NMTTDISPINFOA* info)
{
    if (!(info->uFlags & TTF_IDISHWND))
        return 0;
    const int id = GetDlgCtrlID(reinterpret_cast<HWND>(info->hdr.idFrom));
    if (const char* text = SearchDialogTexts.toolTipOf(id))
        info->lpszText = const_cast<char*>(text);
    return 1;
}

BOOL onNotify(HWND dialog, NMHDR* header)
{
    LRESULT result = 0;
    if (header->code == TTN_NEEDTEXTA)
        result = onToolTipText(reinterpret_cast<NMTTDISPINFOA*>(header));
    else if (header->idFrom == IDC_SEARCH_LIST)
        result = onListNotify(dialog, header);
    SetWindowLongPtrA(dialog, DWLP_MSGRESULT, result);
    return TRUE;
}

BOOL onHelp(HWND dialog, HELPINFO* request)
{
    return showControlHelp(dialog, request, SearchDialogTexts);
}

BOOL onContextMenu(HWND dialog, HWND window, LPARAM position)
{
    const int x = static_cast<short>(LOWORD(position));
    const int y = static_cast<short>(HIWORD(position));
    // Static texts pass the click on to the dialog; the counter has a popup,
    // so look for the control under the mouse.
    if (window == dialog) {
        POINT at = {x, y};
        ScreenToClient(dialog, &at);
        HWND child = ChildWindowFromPointEx(dialog, at, CWP_SKIPINVISIBLE);
        if (child)
            window = child;
    }
    return contextHelpFromMenu(dialog, window, x, y, onHelp);
}

void setButtonIcon(HWND dialog, int id, int slot)
{
    SendDlgItemMessageA(dialog, id, BM_SETIMAGE, IMAGE_ICON,
                        reinterpret_cast<LPARAM>(appState.smallIcons[slot]));
}

HINSTANCE programInstance()
{
    return appState.instance ? appState.instance : GetModuleHandleA(nullptr);
}

void setUpList(HWND list)
{
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
    RECT client;
    GetClientRect(list, &client);
    const int half = (client.right - client.left) / 2;
    const char* titles[2] = {"Descrizione", "Bibliografia"};
    for (int i = 0; i < 2; ++i) {
        LVCOLUMNA column = {};
        column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = LVCFMT_LEFT;
        column.cx = half;
        column.pszText = const_cast<char*>(titles[i]);
        column.iSubItem = i;
        SendMessageA(list, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
    // One strip serves as small and state images; the list shares it
    // (LVS_SHAREIMAGELISTS) and the dialog destroys it once.
    resultImages = ImageList_LoadImageA(programInstance(), MAKEINTRESOURCEA(IDB_STRIP), 16, 0,
                                        StripTransparent, IMAGE_BITMAP, 0);
    if (resultImages) {
        ListView_SetImageList(list, resultImages, LVSIL_SMALL);
        ListView_SetImageList(list, resultImages, LVSIL_STATE);
    }
}

BOOL onInitDialog(HWND dialog)
{
    setUpList(resultList(dialog));
    CheckDlgButton(dialog, IDC_SEARCH_ADVANCED, searchSettings.advanced ? BST_CHECKED : BST_UNCHECKED);
    showCriterionButtons(dialog);

    registerDialogTools(dialog);
    setButtonIcon(dialog, IDC_SEARCH_GO, SearchIcon);
    setButtonIcon(dialog, CMD_STAMPA, PrintIcon);
    setButtonIcon(dialog, CMD_COPIA, CopyIcon);
    setButtonIcon(dialog, CMD_HELP, HelpIcon);
    HWND edit = GetDlgItem(dialog, IDC_SEARCH_TEXT);
    SendMessageA(edit, EM_LIMITTEXT, SearchTextSize - 1, 0);
    searchSettings.lastText[SearchTextSize - 1] = '\0';
    SetWindowTextA(edit, searchSettings.lastText);
    dialogBrush = CreateSolidBrush(DialogColour);
    SetFocus(edit);

    if (std::strlen(searchSettings.lastText) >= SearchMinLength)
        runSearch(dialog);
    return FALSE;  // the focus is set
}

BOOL onCommand(HWND dialog, int id)
{
    switch (id) {
    case IDOK:
    case IDC_SEARCH_GO:       runSearch(dialog); return TRUE;
    case IDC_SEARCH_ADVANCED: onAdvanced(dialog); return TRUE;
    case IDC_SEARCH_AND:
    case IDC_SEARCH_OR:
    case IDC_SEARCH_NOT:      onCriterion(dialog, id); return TRUE;
    case CMD_STAMPA:          printResults(dialog); return TRUE;
    case CMD_COPIA:           copyResults(dialog); return TRUE;
    case CMD_HELP:            htmlHelp(dialog, appState.helpFile, HH_HELP_CONTEXT, HelpSearchTopic); return TRUE;
    case IDCANCEL:            EndDialog(dialog, 0); return TRUE;
    }
    return FALSE;
}

BOOL onPaint(HWND dialog)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(dialog, &paint);
    RECT client;
    GetClientRect(dialog, &client);
    if (dialogBrush)
        FillRect(dc, &client, dialogBrush);
    EndPaint(dialog, &paint);
    return TRUE;
}

INT_PTR onCtlColorStatic(HDC dc)
{
    SetTextColor(dc, StaticTextColour);
    SetBkColor(dc, DialogColour);
    return reinterpret_cast<INT_PTR>(dialogBrush);
}

BOOL onDestroy(HWND dialog)
{
    GetDlgItemTextA(dialog, IDC_SEARCH_TEXT, searchSettings.lastText, sizeof searchSettings.lastText);
    if (dialogBrush) {
        DeleteObject(dialogBrush);
        dialogBrush = nullptr;
    }
    if (resultImages) {
        ImageList_Destroy(resultImages);
        resultImages = nullptr;
    }
    return TRUE;
}

}  // namespace

void drawSearchResults(HWND dialog, HDC dc, bool printerPages)
{
    HeaderTexts header;
    readHeader(dialog, &header);
    ListedRows rows;
    readRows(resultList(dialog), &rows);

    DcSurface page(dc, printerPages);
    printSearchResults(page, header.header, rows.lines.data(), rows.lines.size(), page.lineHeight(),
                       page.pageWidth(), page.pageHeight());
}

INT_PTR runSearchDialog(HWND owner)
{
    return DialogBoxParamA(programInstance(), MAKEINTRESOURCEA(IDD_SEARCH), owner, searchDialogProc, 0);
}

INT_PTR CALLBACK searchDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:     return onInitDialog(dialog);
    case WM_COMMAND:        return onCommand(dialog, LOWORD(wParam));
    case WM_NOTIFY:         return onNotify(dialog, reinterpret_cast<NMHDR*>(lParam));
    case WM_HELP:           return onHelp(dialog, reinterpret_cast<HELPINFO*>(lParam));
    case WM_CONTEXTMENU:    return onContextMenu(dialog, reinterpret_cast<HWND>(wParam), lParam);
    case WM_PAINT:          return onPaint(dialog);
    case WM_CTLCOLORSTATIC: return onCtlColorStatic(reinterpret_cast<HDC>(wParam));
    case WM_DESTROY:        return onDestroy(dialog);
    }
    return FALSE;
}
