#!/usr/bin/env bash
# The calculator as a person meets it: Enter on a tree item opens it
# pre-filled, and a shipped multiple example opens from the command line.
# Screenshots of both go to build/screenshots/.
set -eu
build=${1:?win32 build folder}
root=$(cd "$(dirname "$0")/../.." && pwd)
. "$root/scripts/wine-env"
. "$root/tests/e2e/support/windows.sh"
shots=$root/build/screenshots
mkdir -p "$shots"
example=$build/content/Esempio4.qvl
[ -f "$example" ] || { echo "missing $example"; exit 1; }

quorvel_ensure_display
trap quorvel_release_display EXIT
quorvel_ensure_prefix
quorvel_hold_desktop

program=
stop() { if [ -n "$program" ]; then kill $program 2>/dev/null; wait $program 2>/dev/null || true; fi; program=; }
trap 'stop; quorvel_release_display' EXIT


cyan_share() {  # screenshot -> per cent of pure cyan pixels
  convert "$1" -fill black +opaque '#00FFFF' -fill white -opaque '#00FFFF' -format '%[fx:int(100*mean)]' info:
}

# 1. Enter on the first item of "Ciclo di vita" -> "Bonifica".
start_program e2e-calculator-single "$build/app/shell/Quorvel.exe"
main=$(wait_window '^Quorvel$') || { window_missing "main window did not appear"; exit 1; }
sleep 2.5
xdotool key --window "$main" Right Down Right Down Right Down Return
calc=$(wait_window "^Calcolo dell'esposizione") || { window_missing "calculator did not open from the tree"; exit 1; }
sleep 0.8
import -window root "$shots/e2e-calculator-single.png"
share=$(cyan_share "$shots/e2e-calculator-single.png")
[ "$share" -ge 10 ] || { echo "calculator not painted cyan ($share%)"; exit 1; }
stop

# 2. The shipped three-row example, named on the command line.
start_program e2e-calculator-multiple "$build/app/shell/Quorvel.exe" "$("$QUORVEL_WINE" winepath -w "$example")"
calc=$(wait_window "^Calcolo dell'esposizione") || { window_missing "calculator did not open the example"; exit 1; }
sleep 2.5
import -window root "$shots/e2e-calculator-multiple.png"
stop
echo "calculator opened from the tree and from a file"
