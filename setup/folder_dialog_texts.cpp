// Tooltips of the folder dialog's controls.
#include "setup/setup_program.h"
#include "setup/setup_ids.h"

namespace {

const ControlText Rows[] = {
    {IDC_FOLDER_EDIT, "Digitare il nome della cartella in cui si vuole installare il software", nullptr},
    {IDC_FOLDER_BROWSE, "Permette di selezionare la cartella in cui si vuole installare il software", nullptr},
    {IDOK, "Chiude la finestra, confermando la cartella di installazione", nullptr},
    {IDCANCEL, "Annulla l'installazione del software", nullptr},
};

}  // namespace

const ControlTextTable FolderDialogTexts = controlTextTable(Rows);
