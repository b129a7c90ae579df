#!/bin/sh
# Writes the data package: for each member file, in the order given,
# "<StartFileContents>" name "</EndFileName>" bytes "</EndFileContents>" CR LF.
# The installer reads the package as text, so a NUL byte or a marker inside
# a member would cut it short: such a member stops the build.
#   make_package.sh <package> <member>...
set -eu
package=$1
shift
tmp=$package.tmp
: > "$tmp"
for member in "$@"; do
  name=$(basename "$member")
  if [ "$(tr -d '\000' < "$member" | wc -c)" -ne "$(wc -c < "$member")" ]; then
    echo "package member $member holds a NUL byte" >&2; rm -f "$tmp"; exit 1
  fi
  for marker in '<StartFileContents>' '</EndFileName>' '</EndFileContents>'; do
    if grep -qF "$marker" "$member"; then
      echo "package member $member contains the marker $marker" >&2; rm -f "$tmp"; exit 1
    fi
  done
  printf '<StartFileContents>%s</EndFileName>' "$name" >> "$tmp"
  cat "$member" >> "$tmp"
  printf '</EndFileContents>\r\n' >> "$tmp"
done
# Replaced only when different, so that an unchanged package keeps its time.
if [ -f "$package" ] && cmp -s "$tmp" "$package"; then
  rm -f "$tmp"
else
  mv "$tmp" "$package"
fi
