#!/usr/bin/env bash
# The life cycle on the Windows most people use today: the 32-bit build in a
# 64-bit prefix set to Windows 10 at 144 dpi (150 %), as on a 64-bit
# Windows 11 PC: WOW6432Node, Program Files (x86), the common folders.
# Install with setup.exe, open an example through the association, start
# Quorvel from its Start-menu link and search, remove through the Uninstall
# entry, restart; registry, links and files are checked after each step.
# Screenshots of every window go to build/screenshots/e2e-win10-*.png.
# Where the host cannot run 32-bit programs, the 64-bit build takes the same
# steps in the same prefix: Program Files and the registry without WOW64
# views. QUORVEL_WIN10_BUILD=<Windows build folder> runs a given build.
set -eu
given=$(cd "${1:?Windows build folder}" && pwd)
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env"
. "$root/tests/e2e/support/windows.sh"
if [ -n "${QUORVEL_WIN10_BUILD:-}" ]; then
  build=$QUORVEL_WIN10_BUILD
elif [ "$(quorvel_probe_32bit)" = yes ]; then
  build=$(dirname "$given")/win32
else
  build=$(dirname "$given")/win64
fi
setup_exe=$build/setup/setup.exe
[ -f "$setup_exe" ] || { echo "lifecycle_win10: $setup_exe is missing; build it first"; exit 1; }
shots=$root/build/screenshots
mkdir -p "$shots"
fail() { echo "lifecycle_win10: $*"; exit 1; }
shot() { import -window root "$shots/e2e-win10-$1.png"; }

# A 64-bit prefix, made and served by the 64-bit loader. Each loader is
# called by its path: Wine derives the other one from it (adding or taking
# away "64"), which a WINELOADER naming the 64-bit one would spoil for a
# 32-bit program starting a 64-bit one (the desktop's explorer.exe).
wine64=$quorvel_wine64_loader
machine=$(od -An -tx1 -j "$(( $(od -An -tu4 -j 60 -N 4 "$setup_exe") + 4 ))" -N 2 "$setup_exe" | tr -d ' ')
if [ "$machine" = 4c01 ]; then
  # The program's own registry view is its loader's: reg.exe run by the
  # 32-bit loader reads what setup wrote; the 64-bit one shows where.
  program_wine=$quorvel_wine32_loader program_files='Program Files (x86)' native_view='Wow6432Node\'
  unset WINELOADER
else
  program_wine=$wine64 program_files='Program Files' native_view=
  export WINELOADER=$wine64
fi
export WINEARCH=win64 WINEPREFIX=$root/build/win10-wineprefix
QUORVEL_WINE=$wine64
quorvel_prefix_suffix=
export QUORVEL_PREFIX_VERSION=win10
export QUORVEL_PREFIX_SETTINGS='[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000090

'
quorvel_ensure_display
fresh_prefix win10   # ends with the server stopped: the next start reads LogPixels
quorvel_hold_desktop
cleanup() {
  wineserver -k >/dev/null 2>&1 || true
  quorvel_release_display
}
trap cleanup EXIT
drive=$WINEPREFIX/drive_c
reg_value() {  # key [value] -> data as the program sees it (the default value without a name)
  local name=(/ve)
  [ -z "${2:-}" ] || name=(/v "$2")
  "$program_wine" reg.exe query "$1" "${name[@]}" 2>/dev/null | tr -d '\r' | sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -n 1
}
# Every value of a key as the program sees it, one "name<TAB>data" a line:
# one Wine start for them all.
key_values() {  # key
  "$program_wine" reg.exe query "$1" 2>/dev/null | tr -d '\r' | sed -n 's/^    \(.*[^ ]\)    REG_[A-Z_]*    \(.*\)$/\1\t\2/p;s/^    \(.*[^ ]\)    REG_[A-Z_]*$/\1\t/p'
}
value_of() { printf '%s\n' "$1" | awk -F '\t' -v name="$2" '$1 == name { print $2; exit }'; }  # values name
key_exists() { "${2:-$wine64}" reg.exe query "$1" >/dev/null 2>&1; }  # key [loader]
uninstall_key='Microsoft\Windows\CurrentVersion\Uninstall\Quorvel'
user_dir=$(find "$drive/users" -mindepth 1 -maxdepth 1 -type d ! -name Public | head -n 1)
start_menus=("$drive/ProgramData/Microsoft/Windows/Start Menu/Programs" "$user_dir/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")
desktops=("$drive/users/Public/Desktop" "$user_dir/Desktop")
quorvel_links() { find "${start_menus[@]}" "${desktops[@]}" -iname '*.lnk' 2>/dev/null | grep -i 'quorvel' || true; }
stop_quorvel() {
  "$program_wine" taskkill.exe /im Quorvel.exe /f >/dev/null 2>&1 || true
  for _ in $(seq 1 50); do
    [ -z "$(xdotool search --onlyvisible --name '^Quorvel$|^Calcolo' 2>/dev/null)" ] && return 0
    sleep 0.1
  done
  fail "Quorvel did not close"
}

# 1. Install: the proposed folder, Yes to creating it, OK to the final box.
"$program_wine" "$setup_exe" &
setup_pid=$!
dialog=$(wait_window '^Installazione di Quorvel$' 1000) || fail "no folder dialog"
shot setup-folder
press "$dialog" Return
create=$(wait_window '^[A-Z]:\\' 1000) || { shot setup-failed; fail "no question about creating the folder"; }
folder=$(xdotool getwindowname "$create")
shot setup-create
answer "$create" first
for _ in $(seq 1 40); do
  xdotool search --onlyvisible --name '^Installazione di Quorvel in corso$' >/dev/null 2>&1 && { shot setup-progress; break; }
  xdotool search --onlyvisible --name '^Installazione completata' >/dev/null 2>&1 && break
  sleep 0.05
done
done_box=$(wait_window '^Installazione completata con successo$' 1000) || { shot setup-failed; fail "setup did not report success"; }
shot setup-done
answer "$done_box" first
wait $setup_pid || true
# From Vista on setup proposes the Program Files the program sees.
[ "$folder" = "C:\\$program_files\\Quorvel" ] || fail "setup proposed '$folder', not C:\\$program_files\\Quorvel"
installed=$("$wine64" winepath -u "$folder" 2>/dev/null)
for f in Quorvel.exe remove.exe setup.ini Quorvel.inf Esempio1.qvl; do
  [ -f "$installed/$f" ] || fail "setup did not install $f in $folder"
done
# The Uninstall entry lies in the program's view: under WOW6432Node for a
# 32-bit setup, where the Control Panel of 64-bit Windows finds it too.
entry=$(key_values "HKLM\\Software\\$uninstall_key")
uninstall=$(value_of "$entry" UninstallString)
[ "$uninstall" = "\"$folder\\remove.exe\" /Quorvel" ] || fail "UninstallString is '$uninstall'"
for value in "InstallLocation=$folder" "DisplayIcon=$folder\\Quorvel.exe" NoModify=0x1 NoRepair=0x1; do
  [ "$(value_of "$entry" "${value%%=*}")" = "${value#*=}" ] || fail "the Uninstall entry lacks $value"
done
for value in Publisher DisplayVersion EstimatedSize InstallDate; do
  [ -n "$(value_of "$entry" $value)" ] || fail "the Uninstall entry has no $value"
done
if [ -n "$native_view" ]; then
  key_exists "HKLM\\Software\\$native_view$uninstall_key" || fail "no Uninstall entry under HKLM\\Software\\$native_view"
  ! key_exists "HKLM\\Software\\$uninstall_key" || fail "a 32-bit Uninstall entry in the 64-bit view"
else
  ! key_exists "HKLM\\Software\\Wow6432Node\\$uninstall_key" || fail "a 64-bit Uninstall entry in the 32-bit view"
fi
app_path=$(reg_value 'HKLM\Software\Microsoft\Windows\CurrentVersion\App Paths\Quorvel.exe')
[ "$app_path" = "$folder\\Quorvel.exe" ] || fail "App Paths holds '$app_path'"
command=$(reg_value 'HKLM\Software\Classes\Quorvel.File.qvl\Shell\Open\Command')
[ "$command" = "\"$folder\\Quorvel.exe\" %1" ] || fail "the .qvl open command is '$command'"
# Links for all users: the common Start menu and desktop, none of the user's.
links=$(quorvel_links)
group=${start_menus[0]}/Quorvel/Quorvel.lnk
for link in "$group" "${desktops[0]}/Quorvel.lnk"; do
  echo "$links" | grep -qxF "$link" || fail "no link ${link#$drive/}"
done
[ -z "$(echo "$links" | grep -F "$user_dir/")" ] || fail "links in the user's folders: $links"
echo "installed in $folder; links:"
echo "$links" | sed "s|^$drive/||"

# 2. Use: an example through the association, then Quorvel from its
# Start-menu link and its search dialog.
"$wine64" start /unix "$installed/Esempio1.qvl" &
calculator=$(wait_window "^Calcolo dell'esposizione annuale a fibre$" 2000 300) || { shot example-failed; fail "the example did not open"; }
sleep 2.5   # the splash sweeps away
shot calculator
stop_quorvel
"$wine64" start /unix "$group" &
main=$(wait_window '^Quorvel$' 100000 300) || { shot main-failed; fail "the Start-menu link did not start Quorvel"; }
sleep 2.5
shot main-window
press "$main" alt+s c
search=$(wait_window '^Cerca in Quorvel$' 2000) || fail "no search dialog"
xdotool type --delay 40 'amianto'
press "$search" Return
sleep 1
shot search
stop_quorvel

# 3. Remove through the Uninstall entry's command: Yes, No to the data
# files, No to a restart.
if [[ $uninstall == \"* ]]; then
  program=${uninstall#\"}; program=${program%%\"*}; argument=${uninstall##*\" }
else
  program=${uninstall% /*}; argument=/${uninstall##* /}
fi
"$program_wine" "$program" "$argument" &
remove_pid=$!
box=$(wait_window '^Disinstallazione di Quorvel$' 1000) || fail "no confirmation"
shot remove-confirm
answer "$box" first
box=$(wait_window "^$(printf '%s' "$folder" | sed 's/[][\\.*^$()+?{}|]/\\&/g')\$" 1000) || { shot remove-failed; fail "no data-files question"; }
shot remove-data
answer "$box" second
if box=$(wait_window '^Quorvel\.exe$' 1000 100); then
  shot remove-restart
  answer "$box" second
fi
wait $remove_pid || fail "remove.exe failed"
for f in Quorvel.exe leggimi.txt Quorvel.chm hh.exe; do
  [ ! -e "$installed/$f" ] || fail "$f is still there"
done
[ -f "$installed/Esempio1.qvl" ] || fail "the kept example went"
[ -z "$(quorvel_links)" ] || fail "links left behind: $(quorvel_links)"
! key_exists "HKLM\\Software\\$uninstall_key" "$program_wine" || fail "the Uninstall entry is still there"
! key_exists 'HKCR\Quorvel.File.qvl' "$program_wine" || fail "the .qvl file type is still registered"
# What is left goes at the restart, before anyone logs on.
pending=$("$wine64" reg.exe query 'HKLM\System\CurrentControlSet\Control\Session Manager' /v PendingFileRenameOperations 2>/dev/null | tr -d '\r')
for f in remove.exe setup.ini Quorvel.inf; do
  echo "$pending" | grep -qiF "$folder\\$f" || fail "$f is not queued for deletion at the restart: $pending"
done

# 4. Restart: what was deferred goes; only the kept data files stay.
quorvel_release_desktop
"$wine64" wineboot.exe -r >/dev/null 2>&1
wineserver -w 2>/dev/null || true
for f in remove.exe setup.ini Quorvel.inf; do
  [ ! -e "$installed/$f" ] || fail "$f survived the restart"
done
left=$(find "$installed" -type f ! -iname '*.qvl')
[ -z "$left" ] || fail "files left after the restart: $left"
# The server has stopped and saved HKLM (both views) in system.reg.
entries=$(awk '/^\[/ { software = tolower($0) ~ /^\[software\\/ } software && tolower($0) ~ /quorvel|\.qvl/' "$WINEPREFIX/system.reg")
[ -z "$entries" ] || fail "registry entries of Quorvel left under HKLM\\Software: $entries"
echo "life cycle on Windows 10 (64-bit prefix, 144 dpi) complete; screenshots: $shots/e2e-win10-*.png"
