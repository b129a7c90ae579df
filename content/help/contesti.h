/* Context numbers of the help topics, as the programs ask for them. */
#define IDH_ALBERO 0
#define IDH_FINESTRA_PRINCIPALE 100100
#define IDH_CALCOLO 100690
#define IDH_RICERCA 100790
#define IDH_BIBLIOGRAFIA 115860
