# Sourced by the timed bench scripts: a work folder removed at exit, the
# processes in `pids` ended at exit, and a private desktop (an X server, a
# session bus and a tray) for the program. Needs `bin` (the build's bin
# folder, holding e2e_tray_host) set before it is sourced.

work=$(mktemp -d)
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

ms_now() { date +%s%3N; }

# Waits (up to $3 seconds) until file $1 has a line matching $2; prints it.
wait_for_line() {
  local file=$1 pattern=$2 limit=$(( $3 * 100 )) i=0
  until grep -q -- "$pattern" "$file" 2>/dev/null; do
    (( ++i > limit )) && { echo "timed out waiting for '$pattern' in $file" >&2; exit 1; }
    sleep 0.01
  done
  grep -- "$pattern" "$file" | tail -n 1
}

Xvfb -displayfd 3 -nolisten tcp -screen 0 1024x768x24 3>"$work/display" 2>/dev/null &
pids+=($!)
wait_for_line "$work/display" '[0-9]' 60 >/dev/null
export DISPLAY=":$(head -n 1 "$work/display")"
dbus-daemon --session --nofork --print-address=3 3>"$work/bus" 2>/dev/null &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS=$(wait_for_line "$work/bus" 'unix:' 60)
export QT_QPA_PLATFORM=xcb
unset WAYLAND_DISPLAY

tail -f /dev/null | "$bin/e2e_tray_host" >"$work/tray.log" 2>/dev/null &
pids+=($!)
wait_for_line "$work/tray.log" '^ready' 60 >/dev/null
