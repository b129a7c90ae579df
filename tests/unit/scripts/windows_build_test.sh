#!/usr/bin/env bash
# Which Windows build the Wine tiers use: the choice from a forced value and
# the probe's answer, and what wine-env sets up for it, with the 32-bit loader
# replaced by programs that start (true) or cannot (false).
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
failed=0
expect() {  # description expected actual
  if [ "$2" != "$3" ]; then echo "FAIL $1: expected '$2', got '$3'"; failed=1; fi
}

. "$root/scripts/wine-env"
while read -r forced probe expected; do
  [ "$forced" = - ] && forced=
  expect "choose '$forced' '$probe'" "$expected" "$(quorvel_choose_windows_build "$forced" "$probe" 2>/dev/null)"
done <<'CASES'
- yes win32
- no win64
win32 no win32
win64 yes win64
CASES
quorvel_choose_windows_build win86 yes 2>/dev/null && { echo "FAIL: an unknown build is accepted"; failed=1; }

# The environment a sourcing script gets, decided by the probe alone.
environment() {  # loader-stand-in
  env -u QUORVEL_WINDOWS_BUILD -u QUORVEL_WINDOWS_BUILD_REASON -u WINELOADER -u QUORVEL_WINEPREFIX -u QUORVEL_WINE \
    QUORVEL_WINE32_LOADER="$1" bash -c '. "$0/scripts/wine-env" &&
      echo "$QUORVEL_WINDOWS_BUILD $WINEARCH ${WINELOADER:-none} ${WINEPREFIX##*/} $QUORVEL_WINE"' "$root"
}
expect "host without 32-bit support" \
  "win64 win64 /usr/lib/wine/wine64 wineprefix-win64 /usr/lib/wine/wine64" "$(environment /bin/false)"
expect "host with 32-bit support" "win32 win32 none wineprefix wine" "$(environment /bin/true)"
# A forced build skips the probe; children keep the first decision.
expect "forced" "win32" "$(QUORVEL_WINDOWS_BUILD=win32 QUORVEL_WINE32_LOADER=/bin/false "$root/scripts/windows-build")"
expect "inherited" "win64" "$(env -u QUORVEL_WINDOWS_BUILD -u QUORVEL_WINDOWS_BUILD_REASON \
  QUORVEL_WINE32_LOADER=/bin/false bash -c '. "$0/scripts/wine-env"; QUORVEL_WINE32_LOADER=/bin/true "$0/scripts/windows-build"' "$root")"

[ $failed -eq 0 ] && echo "windows build choice: all cases pass"
exit $failed
