// Tooltips of the progress dialog's controls.
#include "setup/setup_program.h"
#include "setup/setup_ids.h"

namespace {

const ControlText Rows[] = {
    {IDC_PROGRESS_BAR, "Visualizza graficamente la progressione dell'installazione", nullptr},
};

}  // namespace

const ControlTextTable ProgressDialogTexts = controlTextTable(Rows);
