#!/usr/bin/env bash
# quorvel-cli.exe under Wine against the native quorvel: the same commands
# must give the same text (UTF-8 in both; the Windows program ends lines with
# CR LF when its output goes to a file) and the same exit codes.
set -u
build=${1:?win32 build folder}
root=$(cd "$(dirname "$0")/../.." && pwd)
native=${QUORVEL_NATIVE_BUILD:-$(cd "$build/.." && pwd)/native}
exe=$build/cli/quorvel-cli.exe
quorvel=$native/cli/quorvel
[ -x "$quorvel" ] || { echo "no native quorvel at $quorvel"; exit 1; }
[ -f "$exe" ] || { echo "no $exe"; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fixtures=$root/tests/unit/cli/fixtures
winpath() { echo "Z:$1" | tr / '\\'; }

failed=0
compare() {  # name expected-status native-args... -- windows-args...
  local name=$1 expected=$2
  shift 2
  local args=() wargs=()
  while [ "$1" != "--" ]; do args+=("$1"); shift; done
  shift
  wargs=("$@")
  "$quorvel" "${args[@]}" >"$work/native.out" 2>"$work/native.err"
  local ns=$?
  "$root/scripts/wine-run" "$exe" "${wargs[@]}" >"$work/win.raw" 2>"$work/win.err"
  local ws=$?
  tr -d '\r' <"$work/win.raw" >"$work/win.out"
  if [ "$ns" != "$expected" ] || [ "$ws" != "$expected" ]; then
    echo "FAIL $name: exit codes native $ns, windows $ws, expected $expected"
    failed=$((failed + 1))
  elif ! cmp -s "$work/native.out" "$work/win.out"; then
    echo "FAIL $name: outputs differ"
    diff "$work/native.out" "$work/win.out" | head -n 10
    failed=$((failed + 1))
  elif [ "$expected" = 0 ] && [ ! -s "$work/native.out" ]; then
    echo "FAIL $name: no output"
    failed=$((failed + 1))
  else
    echo "ok   $name"
  fi
}
same() {  # name expected-status args... (the same on both sides)
  local name=$1 expected=$2
  shift 2
  compare "$name" "$expected" "$@" -- "$@"
}

same "show 13" 0 show 13
same "show by path" 0 show "Amianto->Ciclo di vita->Estrazione->Cave di serpentinite, in atmosfera circostante"
same "search serpentinite" 0 search serpentinite
same "search json or" 0 search --json --or "cemento amianto"
same "search copy" 0 search --copy "Cemento Amianto"
same "search nothing" 1 search zzzzzzzz
same "search accented" 0 search "55° congr"
same "tree in ff/l" 0 tree --unit l --ids
same "export csv" 0 export --csv
same "calc single" 0 calc -F 0.3 -t 2 -g 120
same "calc comma refused" 2 calc -F 0,3
same "history help" 0 history --help --lang en
compare "calc file csv" 0 calc --csv "$fixtures/Esempio4.qvl" -- calc --csv "$(winpath "$fixtures/Esempio4.qvl")"
compare "calc file ff/l" 0 calc "$fixtures/Esempio3.qvl" -- calc "$(winpath "$fixtures/Esempio3.qvl")"

# A folder of calculation files, listed through the Windows file functions.
"$root/scripts/wine-run" "$exe" check "$(winpath "$fixtures")" >"$work/check.raw" 2>&1
status=$?
if [ "$status" = 0 ] && [ "$(grep -c ': OK' "$work/check.raw")" = 3 ]; then echo "ok   check of a folder"; else
  echo "FAIL check of a folder (exit $status)"; cat "$work/check.raw"; failed=$((failed + 1)); fi

# Windows-1252 bytes on request: the database's own "°".
"$root/scripts/wine-run" "$exe" --encoding windows-1252 show 35 >"$work/cp.out" 2>/dev/null
if grep -q $'55\xb0 Congr' "$work/cp.out"; then echo "ok   windows-1252 output"; else
  echo "FAIL windows-1252 output"; failed=$((failed + 1)); fi

echo "$failed failed"
[ "$failed" = 0 ]
