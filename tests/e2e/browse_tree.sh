#!/usr/bin/env bash
# Browses the database as a person would: keyboard only, in the real program.
# Opens "Ciclo di vita" -> "Bonifica", selects its first item, switches the
# layout with the toolbar's accelerator-free path (Visualizza menu) and keeps
# screenshots of each state.
set -eu
build=${1:?win32 build folder}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env"
. "$root/tests/e2e/support/windows.sh"
shots=$root/build/screenshots
mkdir -p "$shots"

quorvel_ensure_display
trap quorvel_release_display EXIT
quorvel_ensure_prefix
quorvel_hold_desktop

# Panel above, tree below, whatever an earlier run left: the user's own
# value comes first, the machine-wide one is the fallback.
for hive in HKCU HKLM; do
  "$QUORVEL_WINE" reg add "$hive\\Software\\Quorvel" /v Layout /t REG_DWORD /d 0 /f >/dev/null 2>&1
done
start_program e2e-browse "$build/app/shell/Quorvel.exe"
trap 'kill $program 2>/dev/null; quorvel_release_display' EXIT
window=$(wait_window '^Quorvel$' 100000 300) || { window_missing "main window did not appear"; exit 1; }
sleep 2.5   # the splash sweeps away

key() { xdotool key --window "$window" "$@"; sleep 0.3; }
# The tree has the focus with the root selected.
key Right Down Right Down Right Down
import -window root "$shots/e2e-browse-item.png"

# The item is shown: its path and source are in the panel's painted text, so
# check the pixels instead: the header band must hold dark-blue title text.
colours=$(convert "$shots/e2e-browse-item.png" -crop 600x25+240+280 -unique-colors txt:- | grep -c '#00007F' || true)
[ "$colours" -ge 1 ] || { echo "no title text in the panel header"; exit 1; }

# Alt+V, I: "Visualizza" -> "Inverti layout" puts the tree above the panel.
key alt+v i
import -window root "$shots/e2e-browse-inverted.png"
echo "browsed to an item and inverted the layout"
