// The six small button icons of the calculator and search dialogs.
#include "app/resources/resource.h"
#include "app/shell/main_window.h"
#include "app/ui/app_state.h"

void loadSmallIcons(HWND window, bool load)
{
    static const int iconIds[6] = {IDI_SMALL_OPEN,  IDI_SMALL_SAVE,   IDI_SMALL_PRINT,
                                   IDI_SMALL_COPY,  IDI_SMALL_SEARCH, IDI_SMALL_HELP};
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(window, GWLP_HINSTANCE));
    for (int slot = 0; slot < 6; ++slot) {
        if (load) {
            appState.smallIcons[slot] = static_cast<HICON>(
                LoadImageA(instance, MAKEINTRESOURCEA(iconIds[slot]), IMAGE_ICON,
                           GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                           LR_DEFAULTCOLOR));
        } else if (appState.smallIcons[slot]) {
            DestroyIcon(appState.smallIcons[slot]);
            appState.smallIcons[slot] = nullptr;
        }
    }
}
