// Help popups of the notes pane's controls.
#include "app/calculator/notes_pane.h"
#include "app/calculator/calculator_ids.h"

namespace {

const ControlText Rows[] = {
    {IDC_PANE_NOTES, nullptr,
     "In questo spazio vengono visualizzate le note associate al file correntemente selezionato. "
     "E’ possibile digitare note diverse per il file selezionato, e salvarle premento il pulsante "
     "Modifica le note.\r\nLa dimensione massima del testo è 255 caratteri."},
    {IDC_PANE_LABEL, nullptr,
     "In questo spazio vengono visualizzate le note associate al file correntemente selezionato. "
     "E’ possibile digitare note diverse per il file selezionato, e salvarle premento il pulsante "
     "Modifica le note.\r\nLa dimensione massima del testo è 255 caratteri."},
    {IDC_PANE_MODIFY, nullptr,
     "Sostituisce le note del file correntemente selezionato con il testo presente nella casella Note."},
};

}  // namespace

const ControlTextTable NotesPaneTexts = controlTextTable(Rows);
