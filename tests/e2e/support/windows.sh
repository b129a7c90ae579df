# Sourced by the end-to-end scripts: finding the programs' windows on the
# display, and a prefix of their own for the scripts that install.

# Prints the id of a visible top-level window whose title matches pattern and
# whose width is below narrower (the installer's backdrop bears its dialogs'
# titles too); waits up to tries tenths of a second. Fails when none comes.
wait_window() {
  local pattern=$1 narrower=${2:-100000} tries=${3:-200} w width
  for _ in $(seq 1 "$tries"); do
    for w in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
      width=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
      if [ -n "$width" ] && [ "$width" -lt "$narrower" ]; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}

# Replaces $WINEPREFIX by a fresh copy of a clean prefix, made once under
# build/<name>-pristine, so that a failed run leaves nothing for the next.
# Its desktop is a folder of its own: a desktop shortcut stays in the prefix
# instead of reaching the host's home folder.
fresh_prefix() {
  local pristine=$quorvel_root/build/$1-pristine$quorvel_prefix_suffix user_dir
  if [ ! -f "$pristine/.quorvel-ready" ]; then
    rm -rf "$pristine"
    WINEPREFIX=$pristine quorvel_ensure_prefix || return 1
    WINEPREFIX=$pristine wineserver -w
  fi
  rm -rf "$WINEPREFIX"
  cp -a "$pristine" "$WINEPREFIX"
  for user_dir in "$WINEPREFIX"/drive_c/users/*/; do
    if [ -L "$user_dir/Desktop" ]; then
      rm "$user_dir/Desktop"
      mkdir "$user_dir/Desktop"
    fi
  done
}
