// Tooltips and help popups of the search dialog's controls.
#include "app/browse/search_dialog.h"
#include "app/browse/search_ids.h"
#include "app/resources/resource.h"

namespace {

const char ListHelp[] =
    "La lista riporta l’elenco delle cartelle e delle voci presenti nel database che contengono "
    "la stringa di ricerca Testo da cercare.\r\nLa lista è divisa in 2 colonne: Descrizione e "
    "Bibliografia.\r\nPer visualizzare nell’interfaccia principale il contenuto di una voce o di "
    "una cartella, selezionarla nella lista e fare doppio clic con il tasto sinistro del mouse "
    "oppure premere il tasto SPAZIO della tastiera.";

const ControlText Rows[] = {
    {IDC_SEARCH_TEXT, "Digitare il testo da cercare, con almeno 4 caratteri per parola",
     "Digitare in questa casella di testo la stringa di ricerca.\r\nSe il flag Ricerca avanzata "
     "non è selezionato, verrà cercata la corrispondenza esatta con il testo così come è stato "
     "digitato.\r\nSe il flag Ricerca avanzata è selezionato, ogni spazio o virgola verrà "
     "interpretato come separatore tra le parole e verrà applicato il criterio di ricerca "
     "selezionato dai pulsanti AND, OR oppure NOT.\r\nATTENZIONE: la lunghezza minima della "
     "stringa è di 4 caratteri per ciascuna parola, e non fa differenza tra maiuscole e "
     "minuscole."},
    {IDC_SEARCH_ADVANCED, "Cliccare per eseguire la ricerca avanzata",
     "Selezionare questo flag se si vuole eseguire la ricerca nel database utilizzando nel Testo "
     "da cercare più di una parola.\r\nSelezionando il flag, compaiono i pulsanti che permettono "
     "di selezionare il criterio di ricerca: AND, OR oppure NOT."},
    {CMD_STAMPA, "Selezionare per stampare i dati presenti a schermo (CTRL per cambiare stampante)",
     "Stampa i dati correntemente presenti a video."},
    {CMD_COPIA, "Selezionare per copiare nella memoria di Windows (clipboard) i dati presenti a schermo",
     "Copia nella Clipboard di Windows i dati numerici e le note correntemente presenti a "
     "video.\r\nLa copia viene fatta in formato CSV, per poter inserire facilmente i dati in un "
     "foglio elettronico."},
    {IDC_SEARCH_AND, "Selezionare per utilizzare il criterio di ricerca AND (tutte le parole)",
     "Selezionare questo pulsante per utilizzare il criterio di ricerca AND.\r\nCon questo "
     "criterio di ricerca, la singola voce o la bibliografia associata dovrà contenere tutte le "
     "parole digitate nel Testo da cercare per essere visualizzata nella lista degli Elementi "
     "trovati."},
    {IDC_SEARCH_OR, "Selezionare per utilizzare il criterio di ricerca OR (almeno una delle parole)",
     "Selezionare questo pulsante per utilizzare il criterio di ricerca OR.\r\nCon questo "
     "criterio di ricerca, la singola voce o la bibliografia associata dovrà contenere almeno "
     "una delle parole digitate nel Testo da cercare per essere visualizzata nella lista degli "
     "Elementi trovati."},
    {IDC_SEARCH_NOT, "Selezionare per utilizzare il criterio di ricerca NOT (nessuna delle parole)",
     "Selezionare questo pulsante per utilizzare il criterio di ricerca NOT.\r\nCon questo "
     "criterio di ricerca, la singola voce e la bibliografia associata non dovrà contenere "
     "alcuna delle parole digitate nel Testo da cercare per essere visualizzata nella lista "
     "degli Elementi trovati."},
    {IDC_SEARCH_GO, "Cliccare per iniziare la ricerca",
     "Premere questo pulsante per cercare nel database le voci e le cartelle contenenti la "
     "stringa di ricerca Testo da cercare; i risultati verranno visualizzati nella lista "
     "Elementi trovati."},
    {CMD_HELP, "Selezionare per visualizzare la Guida di Quorvel",
     "Richiama la Guida di Quorvel nella pagina relativa alla finestra di dialogo correntemente "
     "aperta."},
    {IDC_SEARCH_LIST, "Fare doppio clic su un elemento per visualizzarlo nella finestra principale",
     ListHelp},
    {IDC_SEARCH_COUNTER, nullptr, ListHelp},
};

}  // namespace

const ControlTextTable SearchDialogTexts = controlTextTable(Rows);
