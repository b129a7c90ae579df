#!/usr/bin/env bash
# setup.exe used as a person would, in a Wine prefix of its own: type the
# folder into the folder dialog, say Yes to creating it, OK to the final box;
# then check the files, the registry, the shortcuts and the log, and open an
# installed example through the .qvl association. A second run into a folder
# where a file cannot be written stops at that file with the progress
# dialog showing. Screenshots go to build/screenshots/.
set -eu
build=$(cd "${1:?win32 build folder}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
export QUORVEL_WINEPREFIX=$root/build/setup-e2e-wineprefix
. "$root/scripts/wine-env"
. "$root/tests/e2e/support/windows.sh"
shots=$root/build/screenshots
mkdir -p "$shots"

# The program as shipped: a lone setup.exe in a folder of its own.
dist=$root/build/setup-e2e-dist
rm -rf "$dist"
mkdir -p "$dist"
cp "$build/setup/setup.exe" "$dist/setup.exe"
setup_exe=$dist/setup.exe

quorvel_ensure_display
fresh_prefix setup-e2e
quorvel_hold_desktop
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  quorvel_release_display
}
trap cleanup EXIT
drive=$WINEPREFIX/drive_c

fail() { echo "setup_install: $*"; exit 1; }

# Types the folder over the dialog's default and presses OK.
choose_folder() {
  local dialog=$1 folder=$2
  press "$dialog" End shift+Home BackSpace
  xdotool type --delay 40 "$folder"
  sleep 0.3
  import -window root "$shots/$3"
  xdotool key Return
}

# --- 1. A fresh installation into C:\Programmi\Quorvel -------------------------
folder='C:\Programmi\Quorvel'
started=$(date +%s.%N)
"$QUORVEL_WINE" "$setup_exe" &
setup_pid=$!
dialog=$(wait_window '^Installazione di Quorvel$' 1000) || fail "no folder dialog"
choose_folder "$dialog" "$folder" e2e-setup-folder-dialog.png
create=$(wait_window '^C:\\Programmi\\Quorvel$' 1000) || fail "no question about creating the folder"
# The progress dialog runs between Yes and the final box; catch it if it
# stays long enough.
press "$create" Return
for _ in $(seq 1 40); do
  if xdotool search --onlyvisible --name '^Installazione di Quorvel in corso$' >/dev/null 2>&1; then
    import -window root "$shots/e2e-setup-progress-running.png"
    break
  fi
  xdotool search --onlyvisible --name '^Installazione completata' >/dev/null 2>&1 && break
  sleep 0.05
done
done_box=$(wait_window '^Installazione completata con successo$' 1000) \
  || { import -window root "$shots/e2e-setup-failed.png"; fail "setup did not report success"; }
finished=$(date +%s.%N)
import -window root "$shots/e2e-setup-final-box.png"
press "$done_box" Return
wait $setup_pid || true
echo "install took $(echo "$finished - $started" | bc) s from start to the final box (typing included)"

installed=$drive/Programmi/Quorvel
for f in Quorvel.exe leggimi.txt Quorvel.chm AlbumFotoAmianto.pdf Quorvel.inf remove.exe hh.exe hhctrl.ocx \
         setup.ini setup.log Esempio1.qvl Esempio2.qvl Esempio3.qvl Esempio4.qvl; do
  [ -f "$installed/$f" ] || fail "setup did not install $f"
done
[ ! -e "$installed/Quorvel.dat" ] || fail "the data package was left behind"
cmp "$installed/Quorvel.exe" "$build/app/shell/Quorvel.exe" || fail "Quorvel.exe differs from the build"
cmp "$installed/setup.ini" "$root/setup/setup.ini" || fail "setup.ini differs from the script"
grep -q '^InfFile=0,C:\\' "$installed/Quorvel.inf" || fail "the INF's DestinationDirs were not adapted"

# The log: header, script line and the 25 entries of a complete run.
entries=$(tr '\r' '\n' < "$installed/setup.log" | grep -cE '^(Copiato il file|Aperta la chiave|Creata la chiave|Creato il link|Creato il link sul desktop|Modificato il file): ')
[ "$entries" -eq 25 ] || fail "setup.log holds $entries entries instead of 25"
head -c 15 "$installed/setup.log" | grep -q '^File creato il ' || fail "setup.log has no header"

default_value() {  # key -> its unnamed value
  "$QUORVEL_WINE" reg.exe query "$1" /ve 2>/dev/null | tr -d '\r' | grep REG_SZ | sed 's/.*REG_SZ *//' | head -n 1
}
app_path=$(default_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quorvel.exe')
[ "$app_path" = 'C:\Programmi\Quorvel\Quorvel.exe' ] || fail "App Paths holds '$app_path'"
command=$(default_value 'HKCR\Quorvel.File.qvl\Shell\Open\Command')
[ "$command" = '"C:\Programmi\Quorvel\Quorvel.exe" %1' ] || fail "the open command is '$command'"
uninstall=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' UninstallString)
# The prefix is Windows XP, of the NT family: the long path, quoted.
[ "$uninstall" = '"C:\Programmi\Quorvel\remove.exe" /Quorvel' ] || fail "UninstallString is '$uninstall'"

group=$(find "$drive/users" -type d -path '*Start Menu/Programs/Quorvel' | head -n 1)
[ -n "$group" ] || fail "no Start-menu group"
for link in 'Quorvel' 'Guida di Quorvel' 'Album fotografico' 'Bibliografia' 'Disinstallazione di Quorvel'; do
  [ -f "$group/$link.lnk" ] || fail "no shortcut $link.lnk"
done
grep -aq 'Quorvel\\hh.exe' "$group/Bibliografia.lnk" || fail "Bibliografia.lnk does not start hh.exe"
desktop_link=$(find "$drive/users" -path '*/Desktop/Quorvel.lnk' | head -n 1)
[ -n "$desktop_link" ] || fail "no desktop shortcut"
echo "installed: files, log, registry and shortcuts are in place"

# --- 2. The installed example opens in the calculator through the association --
"$QUORVEL_WINE" start /unix "$installed/Esempio1.qvl" &
calculator=$(wait_window "^Calcolo dell'esposizione annuale a fibre$" 1000) || fail "the example did not open"
sleep 1
import -window root "$shots/e2e-setup-example-opened.png"
wineserver -k >/dev/null 2>&1 || true
quorvel_release_desktop
sleep 0.5
quorvel_hold_desktop
echo "the .qvl association opened Esempio1.qvl in the calculator"

# --- 3. A file that cannot be written stops the run, the progress dialog up -----
blocked='C:\Bloccato'
mkdir -p "$drive/Bloccato/leggimi.txt"  # a folder where the file should go
"$QUORVEL_WINE" "$setup_exe" &
setup_pid=$!
dialog=$(wait_window '^Installazione di Quorvel$' 1000) || fail "no folder dialog in the second run"
choose_folder "$dialog" "$blocked" e2e-setup-folder-dialog-2.png
error=$(wait_window '^C:\\Bloccato\\leggimi.txt$' 1000) || fail "no error box for the blocked file"
xdotool search --onlyvisible --name '^Installazione di Quorvel in corso$' >/dev/null 2>&1 \
  || fail "the progress dialog is not shown during the run"
# The box aside, so that the whole progress dialog shows.
xdotool windowmove "$error" 40 80
sleep 0.5
import -window root "$shots/e2e-setup-progress-dialog.png"
press "$error" Return
failed_box=$(wait_window "^Installazione fallita o interrotta dall'utente$" 1000) || fail "no failure box"
import -window root "$shots/e2e-setup-final-box-failed.png"
press "$failed_box" Return
wait $setup_pid || true
[ -f "$drive/Bloccato/Quorvel.exe" ] || fail "the file before the blocked one was not written"
[ ! -e "$drive/Bloccato/Quorvel.chm" ] || fail "the run went on after the blocked file"
echo "the blocked file stopped the second run with its error box"
