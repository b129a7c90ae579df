// Resource and control ids of the calculator dialog (190) and of the notes
// pane "IDD_ADDENDUM" of its file dialogs. #define lines only: the resource
// script includes this file.
#pragma once

#define IDD_CALCULATOR          190

// Calculator dialog
#define IDC_CALC_STATUS         15
#define IDC_CALC_F              40
#define IDC_CALC_T              45
#define IDC_CALC_G              47
#define IDC_CALC_RESULT_CC      50
#define IDC_CALC_RESULT_L       51
#define IDC_CALC_NOTES_LABEL    54
#define IDC_CALC_DESCRIPTION    55
#define IDC_CALC_NOTES          60
#define IDC_CALC_LIST           1110
#define IDC_CALC_ADD            1210
#define IDC_CALC_MODIFY         1211
#define IDC_CALC_DELETE         1212
#define IDC_CALC_HELP           1300
#define IDC_CALC_PRINT          1560
#define IDC_CALC_COPY           1561
#define IDC_CALC_MULTIPLE       1743
#define IDC_CALC_UNIT_F         1745
#define IDC_CALC_UNIT_CC        1746
#define IDC_CALC_UNIT_L         1747
#define IDC_CALC_SAVE           4122
#define IDC_CALC_SAVE_AS        4123
#define IDC_CALC_OPEN           40049

// Notes pane
#define IDC_PANE_MODIFY         1006
#define IDC_PANE_LABEL          8400
#define IDC_PANE_NOTES          8405
