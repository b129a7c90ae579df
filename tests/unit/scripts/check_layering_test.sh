#!/usr/bin/env bash
# scripts/check-layering on a small tree that keeps every floor, then with an
# include planted against each rule: the check must fail and name each one.
set -u
root=$(cd "$(dirname "$0")/../../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# Allowed includes only: each floor from those below it, the shell from all.
plant() {  # file include...
  mkdir -p "$(dirname "$tree/$1")"
  local file=$1
  shift
  for name; do echo "#include $name"; done >>"$tree/$file"
}
clean_tree() {
  tree=$work/$1
  rm -rf "$tree"
  plant common/text.h '<string>'
  plant common/win/window.h '<windows.h>' '"common/text.h"'
  plant app/database/db.h '"common/text.h"'
  plant app/resources/resource.h
  plant app/ui/units.h '<string>'
  plant app/ui/state.h '<windows.h>' '"app/database/db.h"' '"app/resources/resource.h"' '"common/win/window.h"'
  plant app/browse/tree.h '"app/ui/state.h"'
  plant app/browse/item_text.h '"app/database/db.h"'
  plant app/calculator/model.h '"common/text.h"'
  plant app/calculator/dialog.cpp '"model.h"' '"app/ui/state.h"'
  plant app/shell/names.h '<string>'
  plant app/shell/main.cpp '"app/browse/tree.h"' '"app/calculator/model.h"' '"app/ui/state.h"'
  plant cli/main_windows.cpp '<windows.h>' '"app/browse/item_text.h"' '"app/calculator/model.h"'
  plant tools/gen.cpp '"app/database/db.h"'
}

clean_tree clean
out=$(python3 "$root/scripts/check-layering" "$tree" 2>&1) ||
  { echo "FAIL: a tree that keeps the floors is refused:"; echo "$out"; failed=1; }

# Every rule broken once, each in a line of its own, none making another file
# reach <windows.h>; one run must name them all and nothing else.
clean_tree planted
lines=()
while read -r file include; do
  plant "$file" "\"$include\""
  lines+=("$file:$(wc -l <"$tree/$file"): includes $include ")
done <<'CASES'
common/text.h app/database/db.h
app/database/db.h app/ui/units.h
app/ui/state.h app/browse/tree.h
app/calculator/model.h app/shell/names.h
app/browse/tree.h app/calculator/model.h
app/calculator/dialog.cpp app/browse/item_text.h
cli/main_windows.cpp app/ui/units.h
tools/gen.cpp app/shell/names.h
cli/main_windows.cpp common/win/window.h
tools/gen.cpp app/browse/tree.h
CASES
out=$(python3 "$root/scripts/check-layering" "$tree" 2>&1) && { echo "FAIL: the planted includes pass"; failed=1; }
for line in "${lines[@]}"; do
  grep -qF "$line" <<<"$out" || { echo "FAIL: not named: $line"; failed=1; }
done
[ "$(grep -c ': includes ' <<<"$out")" -eq ${#lines[@]} ] || { echo "FAIL: other includes named than the planted ones:"; echo "$out"; failed=1; }

[ $failed -eq 0 ] && echo "check-layering: every planted include is found"
exit $failed
