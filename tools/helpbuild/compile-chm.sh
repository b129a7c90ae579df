#!/bin/sh
# Builds Quorvel.chm from the topics in content/help:
#   compile-chm.sh HELPBUILD SOURCE_DIR STAGE_DIR OUTPUT.chm
#
# The topics are converted to Windows-1252 into STAGE_DIR, the bibliography
# topic is generated there, and chmcmd compiles the project with STAGE_DIR
# as the root of its file system. Debian's chmcmd stores every [ALIAS]
# target as the absolute path of the topic on the build host, so a context
# number would lead the viewer to "/home/.../calcolo.htm", which is not in
# the help file; seen from a root of its own, the path is "/calcolo.htm".
# That root is a private mount namespace (no privileges needed): /usr is
# bound into STAGE_DIR so that chmcmd and its C library are found.
# Finally the stored context map is read back and checked.
set -eu

helpbuild=$1
source_dir=$2
stage=$3
output=$4

rm -rf "$stage"
mkdir -p "$stage"
for file in "$source_dir"/*; do
  name=$(basename "$file")
  "$helpbuild" cp1252 "$file" "$stage/$name"
done
"$helpbuild" bibliography "$stage/bibliografia.htm"

chmcmd=$(command -v chmcmd) || { echo "compile-chm: chmcmd not found (Debian package fp-utils)" >&2; exit 2; }
chmcmd=$(readlink -f "$chmcmd")

mkdir -p "$stage/usr"
ln -s usr/lib "$stage/lib"
ln -s usr/lib64 "$stage/lib64"
if ! unshare --user --map-root-user --mount sh -c \
     'mount --rbind /usr "$1/usr" && cd "$1" && exec chroot "$1" "$2" --no-html-scan Quorvel.hhp' \
     sh "$stage" "$chmcmd" >"$stage/chmcmd.log" 2>&1; then
  echo "compile-chm: WARNING: no private mount namespace here; compiling in place, so the" >&2
  echo "compile-chm: context numbers of Quorvel.chm will name host paths and will not work" >&2
  (cd "$stage" && "$chmcmd" --no-html-scan Quorvel.hhp) >"$stage/chmcmd.log" 2>&1 || {
    cat "$stage/chmcmd.log" >&2; exit 1; }
fi
rmdir "$stage/usr" 2>/dev/null || true
rm -f "$stage/lib" "$stage/lib64"
[ -s "$stage/Quorvel.chm" ] || { cat "$stage/chmcmd.log" >&2; echo "compile-chm: no Quorvel.chm" >&2; exit 1; }

chmls extract "$stage/Quorvel.chm" /#IVB "$stage/ivb.bin" >/dev/null
chmls extract "$stage/Quorvel.chm" /#STRINGS "$stage/strings.bin" >/dev/null
chmls --name-only --no-page list "$stage/Quorvel.chm" >"$stage/listing.txt"
if ! "$helpbuild" check "$stage/Quorvel.hhp" "$stage/contesti.h" "$stage/ivb.bin" "$stage/strings.bin" \
     "$stage/listing.txt"; then
  echo "compile-chm: WARNING: the context numbers of Quorvel.chm do not all open their topic" >&2
fi
cp "$stage/Quorvel.chm" "$output"
