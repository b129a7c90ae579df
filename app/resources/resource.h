// Resource, command and control ids of Quorvel. Shared by the resource script
// and the code, so it holds only #define lines.
#pragma once

// Icons and bitmaps
#define IDI_QUORVEL             1
#define IDB_STRIP               144
#define IDB_ANT                 189
#define IDI_SMALL_OPEN          195
#define IDI_SMALL_SAVE          196
#define IDI_SMALL_PRINT         197
#define IDI_SMALL_SEARCH        198
#define IDI_SMALL_COPY          199
#define IDI_SMALL_HELP          200

// Accelerator table
#define IDA_MAIN                171

// Commands of the main window
#define CMD_INVERTI_LAYOUT      202
#define CMD_UNITA               204
#define CMD_INFORMAZIONI        1200
#define CMD_ESCI                1250
#define CMD_HELP                1300
#define CMD_STAMPA              1560
#define CMD_COPIA               1561
#define CMD_FF_CC               6120
#define CMD_FF_L                6121
#define CMD_IMPOSTA_PAGINA      40003
#define CMD_APRI                40030
#define CMD_FORMULA             40049
#define CMD_CERCA               40050

// Child windows of the main window
#define IDC_TOOLBAR             12
#define IDC_TREE                14
#define IDC_PANEL               16
