#!/usr/bin/env bash
# The whole life cycle as a person lives it, in a Wine prefix of its own:
# install with setup.exe, open an example through the file association,
# calculate and save a new .qvl, remove through the Uninstall entry's command
# answering remove's questions, restart Wine so that RunOnce takes the last
# three files, and compare files and registry with the state before.
# Screenshots of each of remove's questions go to build/screenshots/.
set -eu
build=$(cd "${1:?win32 build folder}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
export QUORVEL_WINEPREFIX=$root/build/lifecycle-wineprefix
. "$root/scripts/wine-env"
. "$root/tests/e2e/support/windows.sh"
shots=$root/build/screenshots
work=$root/build/lifecycle
mkdir -p "$shots"
rm -rf "$work"
mkdir -p "$work"

setup_exe=$build/setup/setup.exe
[ -f "$setup_exe" ] || { echo "lifecycle: $setup_exe is missing; build first"; exit 1; }

quorvel_ensure_display
fresh_prefix lifecycle
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  quorvel_release_display
}
trap cleanup EXIT
drive=$WINEPREFIX/drive_c

fail() { echo "lifecycle: $*"; exit 1; }

# File system and registry, one line each, sorted. Registry lines are key
# paths and value lines of the exported hives; volatile Wine bookkeeping is
# left out.
snapshot() {
  local name=$1
  wineserver -w 2>/dev/null || true
  (cd "$drive" && find . -path ./windows/temp -prune -o -path './users/*/Temp' -prune -o -print) \
    | sort > "$work/$name-files.txt"
  : > "$work/$name-registry.txt"
  local hive
  for hive in 'HKLM\Software' 'HKCU\Software'; do
    "$QUORVEL_WINE" reg.exe export "$hive" "C:\\lifecycle-export.reg" /y >/dev/null 2>&1
    # Each value line prefixed with its key, so that sorting keeps them apart.
    iconv -f UTF-16 -t UTF-8 "$drive/lifecycle-export.reg" | tr -d '\r' | grep -v '^$' \
      | awk '/^\[/ { key = $0; print; next } { print key " " $0 }' >> "$work/$name-registry.txt"
    rm -f "$drive/lifecycle-export.reg"
  done
  sort -o "$work/$name-registry.txt" "$work/$name-registry.txt"
}

snapshot before
quorvel_hold_desktop

# 1. Install with setup.exe: the folder dialog's default C:\Quorvel, Yes to
# creating it, OK to the final box.
"$QUORVEL_WINE" "$setup_exe" &
setup_pid=$!
folder_dialog=$(wait_window '^Installazione di Quorvel$' 1000) || fail "no folder dialog"
import -window root "$shots/e2e-lifecycle-setup-folder.png"
press "$folder_dialog" Return
create=$(wait_window '^C:\\Quorvel$' 1000) || fail "no question about creating C:\\Quorvel"
answer "$create" first
done_box=$(wait_window '^Installazione completata con successo$' 1000) \
  || { import -window root "$shots/e2e-lifecycle-setup-failed.png"; fail "setup did not report success"; }
import -window root "$shots/e2e-lifecycle-setup-done.png"
answer "$done_box" first
wait $setup_pid || true

for f in Quorvel.exe remove.exe setup.ini Quorvel.inf Esempio1.qvl; do
  [ -f "$drive/Quorvel/$f" ] || fail "setup did not install $f"
done
uninstall=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quorvel' UninstallString)
[ -n "$uninstall" ] || fail "no UninstallString"
echo "installed; UninstallString: $uninstall"

# 2. Open an example through the file association, as a double click would.
"$QUORVEL_WINE" start /unix "$drive/Quorvel/Esempio1.qvl" &
calculator=$(wait_window "^Calcolo dell'esposizione annuale a fibre$" 1000) || fail "the example did not open"
sleep 2   # the splash sweeps away
import -window root "$shots/e2e-lifecycle-example.png"

# 3. Calculate: t = 4 hours (a click into the t field of the centred
# dialog); save under a new name with "Salva con nome".
xdotool mousemove --window "$calculator" 292 127 click 1
sleep 0.3
press "$calculator" End shift+Home 4
press "$calculator" alt+l
save=$(wait_window '^Save As$|^Salva con nome$' 1000) || fail "no save dialog"
press "$save" End shift+Home
xdotool type --delay 40 'C:\Quorvel\Mio calcolo.qvl'
import -window root "$shots/e2e-lifecycle-save.png"
press "$save" Return
for _ in $(seq 1 50); do [ -f "$drive/Quorvel/Mio calcolo.qvl" ] && break; sleep 0.1; done
[ -f "$drive/Quorvel/Mio calcolo.qvl" ] || { import -window root "$shots/e2e-lifecycle-save-failed.png"; fail "the new calculation was not saved"; }
grep -q '^ORE=4' "$drive/Quorvel/Mio calcolo.qvl" || fail "the saved calculation lacks t = 4"
# The user closes Quorvel before removing it.
"$QUORVEL_WINE" taskkill.exe /im Quorvel.exe /f >/dev/null 2>&1 || true
for _ in $(seq 1 50); do
  [ -z "$(xdotool search --onlyvisible --name '^Quorvel$' 2>/dev/null)" ] && break
  sleep 0.1
done
[ -z "$(xdotool search --onlyvisible --name '^Quorvel$' 2>/dev/null)" ] || fail "Quorvel did not close"

# 4. Remove through the Uninstall entry's command: Yes, No to the data files,
# No to the restart.
# On NT the program's path is quoted: "C:\Quorvel\remove.exe" /Quorvel.
program=${uninstall% /*}
program=${program#\"}
program=${program%\"}
"$QUORVEL_WINE" "$program" "/${uninstall##* /}" &
remove_pid=$!
box=$(wait_window '^Disinstallazione di Quorvel$' 1000) || fail "no confirmation"
import -window root "$shots/e2e-remove-confirm.png"
answer "$box" first
box=$(wait_window '^C:\\Quorvel$' 1000) || fail "no data-files question"
import -window root "$shots/e2e-remove-data.png"
answer "$box" second
box=$(wait_window '^Quorvel\.exe$' 1000) || fail "no restart offer"
import -window root "$shots/e2e-remove-restart.png"
answer "$box" second
wait $remove_pid || fail "remove.exe failed"

runonce=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' Quorvel)
[ "$runonce" = 'rundll32.exe setupapi.dll,InstallHinfSection DefaultUninstall 132 C:\Quorvel\Quorvel.inf' ] \
  || fail "unexpected RunOnce command: $runonce"
for f in Quorvel.exe leggimi.txt Quorvel.chm AlbumFotoAmianto.pdf setup.log hh.exe hhctrl.ocx; do
  [ ! -e "$drive/Quorvel/$f" ] || fail "$f is still there"
done
for f in Quorvel.inf remove.exe setup.ini Esempio1.qvl 'Mio calcolo.qvl'; do
  [ -e "$drive/Quorvel/$f" ] || fail "$f went too early"
done

# 5. Restart: RunOnce runs the INF's DefaultUninstall.
quorvel_release_desktop
"$QUORVEL_WINE" wineboot.exe -r >/dev/null 2>&1
wineserver -w 2>/dev/null || true
for f in Quorvel.inf remove.exe setup.ini; do
  [ ! -e "$drive/Quorvel/$f" ] || fail "$f survived the restart"
done
[ -z "$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\RunOnce' Quorvel)" ] \
  || fail "the RunOnce value survived the restart"

# 6. Compare with the state before the install. What may stay: the data
# files the user kept (the examples and the new calculation) in their folder.
snapshot after
gone_files=$(comm -23 "$work/before-files.txt" "$work/after-files.txt")
gone_keys=$(comm -23 <(grep '^\[' "$work/before-registry.txt") <(grep '^\[' "$work/after-registry.txt"))
new_files=$(comm -13 "$work/before-files.txt" "$work/after-files.txt" \
  | grep -v -x -e './Quorvel' -e './Quorvel/Esempio[1-4].qvl' -e './Quorvel/Mio calcolo.qvl' || true)
new_registry=$(comm -13 "$work/before-registry.txt" "$work/after-registry.txt" | grep -i 'quorvel\|\.qvl' || true)
status=0
[ -z "$gone_files" ] || { echo "files gone that Quorvel never owned:"; echo "$gone_files"; status=1; }
[ -z "$gone_keys" ] || { echo "registry keys gone that Quorvel never owned:"; echo "$gone_keys"; status=1; }
if echo "$new_files" | grep -qi 'quorvel\|\.qvl\|\.lnk'; then
  echo "files of Quorvel left behind:"; echo "$new_files" | grep -i 'quorvel\|\.qvl\|\.lnk'; status=1
fi
[ -z "$new_registry" ] || { echo "registry entries of Quorvel left behind:"; echo "$new_registry"; status=1; }
[ $status -eq 0 ] || exit 1
echo "life cycle complete: installed, used, removed, restarted; only the kept data files remain"
