// Command dispatcher of MainWindow, the unit switch, the about box, the exit
// confirmation, help and dropped files.
#include "app/shell/commands.h"

#include <commctrl.h>
#include <htmlhelp.h>
#include <shellapi.h>

#include <cstdio>

#include "app/browse/item_output.h"
#include "app/browse/search_dialog.h"
#include "app/browse/tree_view.h"
#include "app/calculator/calculator_commands.h"
#include "app/database/database.h"
#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/shell/splash.h"
#include "app/ui/app_state.h"
#include "app/ui/display_unit.h"
#include "app/ui/printer.h"
#include "common/win/html_help.h"

namespace {

const int HelpMainTopic = 100100;

void switchUnit(HWND window)
{
    setDisplayUnit(window, appState.displayUnit == PerLitre ? PerCc : PerLitre);
}

void showAbout(HWND window)
{
    showSplash(appState.instance, window, 3000);
    char description[128] = "";
    char version[64] = "";
    char company[128] = "";
    char rights[64] = "";
    getVersionString(window, 1, description, sizeof description);
    getVersionString(window, 2, version, sizeof version);
    getVersionString(window, 5, company, sizeof company);
    getVersionString(window, 3, rights, sizeof rights);

    char caption[256];
    std::snprintf(caption, sizeof caption, "%s - versione %s", description, version);
    int items = 0;
    for (int i = 0; i < nodeCount(); ++i) items += nodeAt(i)->kind == Item;
    char text[1024];
    std::snprintf(text, sizeof text,
                  "%s\r\n%s\r\n\r\n"
                  "La banca dati inclusa è un insieme dimostrativo: %d delle %d voci citano la "
                  "pubblicazione da cui viene il loro valore (vedere la Bibliografia nella Guida); "
                  "le altre riportano un valore indicativo, scelto per mostrare il programma e non "
                  "misurato. Il file della Guida spiega come sostituirla.\r\n\r\n"
                  "Valore limite UE: 0.01 f/cm3 come media su 8 ore (Direttiva (UE) 2023/2668, "
                  "recepita in Italia dal D.Lgs. 213/2025). Il segno giallo della ricerca e "
                  "dell'albero indica ancora 0.1 ff/cc, il limite precedente.\r\n\r\n"
                  "Segnalazioni e suggerimenti: tramite il registro delle segnalazioni del progetto Quorvel.",
                  company, rights, sourceCount(), items);
    MessageBoxA(window, text, caption, MB_OK);
}

void confirmExit(HWND window)
{
    if (MessageBoxA(window, "Uscire dal programma?", "Conferma operazione",
                    MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES &&
        calculatorMayClose())
        DestroyWindow(window);
}

void setUpPrinter(HWND window)
{
    if (printerSetup(window) == 0)
        MessageBoxA(window, "Per l'impostazione usare Pannello di Controllo!",
                    "Imposta stampante. Attenzione:", MB_OK);
}

void searchAndLocate(HWND window)
{
    HWND tree = GetDlgItem(window, IDC_TREE);
    // Only a chosen hit (1) leaves a path to walk; a failed dialog gives -1.
    if (runSearchDialog(window) == 1 && tree)
        locateInTree(tree, appState.locatePath);
    SetFocus(tree);
}

}  // namespace

void onCommand(HWND window, int commandId, LPARAM lParam)
{
    switch (commandId) {
    case CMD_INVERTI_LAYOUT: invertLayout(window); break;
    case CMD_UNITA:          switchUnit(window); break;
    case CMD_INFORMAZIONI:   showAbout(window); break;
    case CMD_ESCI:           confirmExit(window); break;
    case CMD_HELP:           htmlHelp(window, appState.helpFile, HH_HELP_CONTEXT, HelpMainTopic); break;
    case CMD_STAMPA:         printShownItem(window); break;
    case CMD_COPIA:          copyShownItem(window); break;
    case CMD_IMPOSTA_PAGINA: setUpPrinter(window); break;
    case CMD_CERCA:          searchAndLocate(window); break;
    case CMD_FORMULA:        onFormulaCommand(window, lParam); break;
    case CMD_APRI:           onOpenCommand(window); break;
    case CMD_FF_CC:
    case CMD_FF_L:           SendMessageA(window, WM_COMMAND, CMD_UNITA, 0); break;
    }
}

void onInitMenuPopup(HWND window, HMENU menu, int popupIndex)
{
    if (popupIndex != 2)
        return;
    DWORD tag = 0;
    bool enabled = selectedTreeTag(window, &tag) && HIWORD(tag) == 0;
    ModifyMenuA(menu, CMD_UNITA, MF_BYCOMMAND | MF_STRING, CMD_UNITA, unitMenuText());
    if (liveCalculatorWindow())
        enabled = false;
    EnableMenuItem(menu, CMD_UNITA, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
    DrawMenuBar(window);
}

void onDropFiles(HWND window, HDROP drop)
{
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) != 1) {
        DragFinish(drop);
        return;
    }
    const UINT length = DragQueryFileA(drop, 0, nullptr, 0);
    HGLOBAL memory = GlobalAlloc(GMEM_FIXED, length + 1);
    char* name = static_cast<char*>(memory);
    if (name)
        DragQueryFileA(drop, 0, name, length + 1);
    DragFinish(drop);
    if (name) {
        openByName(window, name);
        GlobalFree(memory);
    }
}
