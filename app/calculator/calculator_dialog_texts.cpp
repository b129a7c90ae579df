// Tooltips and help popups of the calculator dialog's controls.
#include "app/calculator/calculator_dialog.h"
#include "app/calculator/calculator_ids.h"

namespace {

const ControlText Rows[] = {
    {IDC_CALC_ADD, "Aggiunge un elemento alla lista",
     "Selezionare per aggiungere alla lista la Descrizione ed i valori F, t e g contenuti nelle "
     "relative caselle di testo.\r\n"
     "Questo pulsante è visibile solo se il flag Esposizioni multiple è selezionato."},
    {IDC_CALC_MODIFY, "Modifica un elemento della lista",
     "Selezionare per modificare l'elemento correntemente selezionato nella lista con la "
     "Descrizione ed i valori F, t e g contenuti nelle relative caselle di testo.\r\n"
     "Questo pulsante è visibile solo se il flag Esposizioni multiple è selezionato."},
    {IDC_CALC_DELETE, "Elimina un elemento dalla lista",
     "Selezionare per eliminare l'elemento correntemente selezionato nella lista.\r\n"
     "Questo pulsante è visibile solo se il flag Esposizioni multiple è selezionato."},
    {IDC_CALC_LIST, "Lista con le singole esposizioni",
     "Questa lista visualizza in 5 colonne:\r\n"
     " la Descrizione dell'attività/lavorazione;\r\n"
     " il valore della concentrazione F di fibre aerodisperse;\r\n"
     " le ore t d'esposizione giornaliere;\r\n"
     " i giorni g d'esposizione annuali;\r\n"
     " l'esposizione parziale risultante E.\r\n"
     "Questa lista è visibile solo se il flag Esposizioni multiple è selezionato.\r\n"
     "Un doppio clic su un elemento della lista trasferisce nelle relative caselle di testo i dati "
     "contenuti nell'elemento selezionato."},
    {IDC_CALC_MULTIPLE, "Selezionare per calcolare le esposizioni multiple",
     "Selezionare questo flag per calcolare l'esposizione a più di un'attività/lavorazione, "
     "deselezionarlo per calcolare l'esposizione ad un'attività/lavorazione singola."},
    {IDC_CALC_OPEN, "Selezionare per aprire un file",
     "Visualizza la finestra di dialogo per aprire un file."},
    {IDC_CALC_SAVE, "Selezionare per salvare il file correntemente aperto",
     "Salva il file correntemente aperto."},
    {IDC_CALC_SAVE_AS, "Selezionare per salvare il file con un nome diverso",
     "Visualizza la finestra di dialogo per salvare un file con un nome diverso da quello "
     "correntemente aperto."},
    {IDC_CALC_PRINT, "Selezionare per stampare i dati presenti a schermo (CTRL per cambiare stampante)",
     "Stampa i dati correntemente presenti a video."},
    {IDC_CALC_COPY, "Selezionare per copiare nella memoria di Windows (clipboard) i dati presenti a schermo",
     "Copia nella Clipboard di Windows i dati numerici e le note correntemente presenti a video.\r\n"
     "La copia viene fatta in formato CSV, per poter inserire facilmente i dati in un foglio "
     "elettronico."},
    {IDC_CALC_HELP, "Selezionare per visualizzare la Guida di Quorvel",
     "Richiama la Guida di Quorvel nella pagina relativa alla finestra di dialogo correntemente "
     "aperta."},
    {IDC_CALC_NOTES, "Inserire qui delle note da salvare insieme ai dati",
     "In questo spazio vengono inserite e visualizzate le note associate al file correntemente "
     "selezionato.\r\nLa dimensione massima del testo è 255 caratteri."},
    {IDC_CALC_F, "Digitare la concentrazione in fibre/cc (separare i decimali con il punto)",
     "Digitare in questa casella di testo il valore della concentrazione (in ff/cc o ff/l) di "
     "fibre d'amianto aerodisperse."},
    {IDC_CALC_G, "Digitare il numero di giorni l'anno di esposizione",
     "Digitare in questa casella di testo il numero di giorni/anno di esposizione "
     "all'attività/lavorazione che rilascia fibre d'amianto aerodisperse."},
    {IDC_CALC_T, "Digitare il numero di ore al giorno di esposizione (separare i decimali con il punto)",
     "Digitare in questa casella di testo il numero di ore al giorno di esposizione "
     "all'attività/lavorazione che rilascia fibre d'amianto aerodisperse."},
    {IDC_CALC_RESULT_CC, "Visualizza l'esposizione su base annuale in fibre/cc",
     "Visualizza l'esposizione media annuale a fibre d'amianto (in ff/cc) risultante dai valori "
     "inseriti nella lista e nelle caselle di testo."},
    {IDC_CALC_RESULT_L, "Visualizza l'esposizione su base annuale in fibre/l",
     "Visualizza l'esposizione media annuale a fibre d'amianto (in ff/l) risultante dai valori "
     "inseriti nella lista e nelle caselle di testo."},
    {IDC_CALC_DESCRIPTION, "Visualizza la descrizione della voce cui si riferisce la concentrazione di fibre",
     "Digitare in questa casella di testo la descrizione dell'attività/lavorazione che comporta "
     "aerodispersione di fibre d'amianto."},
    {IDC_CALC_STATUS, nullptr, "Visualizza il nome del file correntemente aperto."},
};

}  // namespace

const ControlTextTable CalculatorDialogTexts = controlTextTable(Rows);
