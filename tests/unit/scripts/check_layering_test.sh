#!/usr/bin/env bash
# scripts/check-layering on a small tree that keeps every floor, then with one
# include planted against each rule: the check must fail and name that line.
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
  plant app/ui/state.h '<windows.h>' '"app/database/db.h"' '"app/resources/resource.h"' '"common/win/window.h"'
  plant app/browse/tree.h '"app/ui/state.h"'
  plant app/browse/item_text.h '"app/database/db.h"'
  plant app/calculator/model.h '"common/text.h"'
  plant app/calculator/dialog.cpp '"model.h"' '"app/ui/state.h"'
  plant app/shell/main.cpp '"app/browse/tree.h"' '"app/calculator/model.h"' '"app/ui/state.h"'
  plant cli/main_windows.cpp '<windows.h>' '"app/browse/item_text.h"' '"app/calculator/model.h"'
  plant tools/gen.cpp '"app/database/db.h"'
}

clean_tree clean
out=$(python3 "$root/scripts/check-layering" "$tree" 2>&1) ||
  { echo "FAIL: a tree that keeps the floors is refused:"; echo "$out"; failed=1; }

while read -r file include; do
  clean_tree planted
  plant "$file" "$include"
  line=$(wc -l <"$tree/$file")
  if out=$(python3 "$root/scripts/check-layering" "$tree" 2>&1); then
    echo "FAIL: $file including $include passes"; failed=1
  elif ! grep -q "^$file:$line: includes" <<<"$out"; then
    echo "FAIL: $file including $include is not named:"; echo "$out"; failed=1
  fi
done <<'CASES'
common/text.h "app/database/db.h"
app/database/db.h "app/ui/state.h"
app/ui/state.h "app/browse/tree.h"
app/calculator/model.h "app/shell/main.cpp"
app/browse/tree.h "app/calculator/model.h"
app/calculator/dialog.cpp "app/browse/item_text.h"
cli/main_windows.cpp "app/ui/state.h"
tools/gen.cpp "app/shell/main.cpp"
cli/main_windows.cpp "common/win/window.h"
tools/gen.cpp "app/browse/tree.h"
CASES

[ $failed -eq 0 ] && echo "check-layering: every planted include is found"
exit $failed
