# Sourced by the end-to-end scripts: finding the programs' windows on the
# display, and a prefix of their own for the scripts that install.

# Prints the id of a visible top-level window whose title matches pattern and
# whose width is below narrower (the installer's backdrop bears its dialogs'
# titles too); waits up to tries tenths of a second. Fails when none comes,
# at once when the program of start_program has ended.
wait_window() {
  local pattern=$1 narrower=${2:-100000} tries=${3:-200} w width
  for _ in $(seq 1 "$tries"); do
    [ -z "${watched_pid:-}" ] || kill -0 "$watched_pid" 2>/dev/null || return 1
    for w in $(xdotool search --onlyvisible --name "$pattern" 2>/dev/null); do
      width=$(xdotool getwindowgeometry "$w" 2>/dev/null | sed -n 's/.*Geometry: \([0-9]*\)x.*/\1/p')
      if [ -n "$width" ] && [ "$width" -lt "$narrower" ]; then echo "$w"; return 0; fi
    done
    sleep 0.1
  done
  return 1
}

# Starts a Windows program in the background, what Wine says about it kept
# in build/screenshots/<name>-wine.log; sets program and watched_pid.
start_program() {  # name program [arguments...]
  program_log=$quorvel_root/build/screenshots/$1-wine.log
  shift
  mkdir -p "$(dirname "$program_log")"
  WINEDEBUG=${QUORVEL_RUN_WINEDEBUG:--all,err+all} "$QUORVEL_WINE" "$@" 2>"$program_log" &
  program=$!
  watched_pid=$program
}

# Says why the program's window did not come: its exit code and the end of
# its messages, or that it still runs (the screen is kept). Fails.
window_missing() {  # what did not come
  local code shot=${program_log%-wine.log}-failed.png
  import -window root "$shot" 2>/dev/null || true
  if kill -0 "$program" 2>/dev/null; then
    echo "$1: the program still runs; the screen is in $shot"
  else
    wait "$program" && code=0 || code=$?
    echo "$1: the program exited with code $code; the end of its messages ($program_log):"
    tail -n 20 "$program_log"
  fi
  return 1
}

# Replaces $WINEPREFIX by a fresh copy of a clean prefix, made once under
# build/<name>-pristine, so that a failed run leaves nothing for the next.
fresh_prefix() {
  local pristine=$quorvel_root/build/$1-pristine$quorvel_prefix_suffix
  if [ ! -f "$pristine/.quorvel-ready" ]; then
    rm -rf "$pristine"
    WINEPREFIX=$pristine quorvel_ensure_prefix || return 1
    WINEPREFIX=$pristine wineserver -w
  fi
  rm -rf "$WINEPREFIX"
  cp -a "$pristine" "$WINEPREFIX"
  quorvel_unlink_shell_folders
}

# Keys to a window: focus it, then type.
press() {  # window keys...
  local w=$1
  shift
  xdotool windowfocus --sync "$w" 2>/dev/null || xdotool windowfocus "$w"
  sleep 0.2
  xdotool key --delay 60 "$@"
  sleep 0.3
}

# Answers a message box: the first button (Yes, OK) is the default; Tab
# moves to the second (No).
answer() {  # window first|second
  case $2 in
    first) press "$1" Return ;;
    second) press "$1" Tab Return ;;
  esac
}

reg_value() {  # key value -> data, empty when missing
  "$QUORVEL_WINE" reg.exe query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n 's/^ *[^ ].*REG_[A-Z_]* *//p' | head -n 1
}
