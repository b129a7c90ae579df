// Resource and control ids of the search dialog. Its print, copy and help
// buttons reuse the main window's command ids 1560, 1561 and 1300.
#pragma once

#define IDD_SEARCH              191
#define IDC_SEARCH_TEXT         1734
#define IDC_SEARCH_LIST         1735
#define IDC_SEARCH_GO           1736
#define IDC_SEARCH_ADVANCED     1737
#define IDC_SEARCH_AND          1738
#define IDC_SEARCH_OR           1739
#define IDC_SEARCH_NOT          1740
#define IDC_SEARCH_COUNTER      1741
