#!/usr/bin/env bash
# Times the end of the session: from SIGTERM to the program's exit, with a
# message box on screen (the database error at start) and with the Remote
# Setup dialog open. Median and maximum of several runs each, on a private
# X server and session bus with one fakemodem line.
#
# usage: session_end.sh BIN_DIR [RUNS]
# BIN_DIR holds quorvel and fakemodem (the build's bin folder).
set -euo pipefail

bin=$(cd "$1" && pwd)
runs=${2:-5}
# shellcheck source=../private_desktop.sh
source "$(dirname "$0")/../private_desktop.sh"

tail -f /dev/null | "$bin/fakemodem" --link "$work/modem" >"$work/modem.log" 2>/dev/null &
pids+=($!)
wait_for_line "$work/modem.log" '^ready' 60 >/dev/null

mkdir -p "$work/run"
chmod 700 "$work/run"
export XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"

# Waits (up to 60 s) for a visible window titled $1; prints its id.
wait_for_window() { xdotool search --sync --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# Starts a fresh copy in mode $1; with $2 = broken its database is a folder.
start_program() {
  rm -rf "$work/app" "$XDG_CONFIG_HOME"
  mkdir -p "$work/app" "$XDG_CONFIG_HOME/Varnock"
  cp "$bin/quorvel" "$work/app/"
  [ "${2:-}" = broken ] && mkdir "$work/app/Callers.DB"
  printf '[Settings]\nExtraLines=%s\nMode=%s\n' "$work/modem" "$1" >"$XDG_CONFIG_HOME/Varnock/Quorvel.ini"
  "$work/app/quorvel" 2>/dev/null &
  program=$!
}

# Sends SIGTERM, waits for the program's end and checks that it stored its
# settings; sets `elapsed` to the milliseconds in between.
time_sigterm() {
  local started status=0
  started=$(ms_now)
  kill -TERM "$program"
  wait "$program" || status=$?
  elapsed=$(( $(ms_now) - started ))
  (( status == 0 )) || { echo "the program ended with status $status" >&2; exit 1; }
  grep -q '^Modem=' "$XDG_CONFIG_HOME/Varnock/Quorvel.ini" ||
    { echo "the program did not store its settings" >&2; exit 1; }
}

summary() {
  local sorted=($(printf '%s\n' "$@" | sort -n))
  echo "median ${sorted[$(( ${#sorted[@]} / 2 ))]} ms, maximum ${sorted[-1]} ms over ${#sorted[@]} runs (each: $* ms)"
}

box=()
for (( n = 0; n < runs; n++ )); do
  start_program 0 broken
  wait_for_window '^Quorvel$' >/dev/null
  wait_for_window '^Calling\.\.\.$' >/dev/null  # the start has ended
  time_sigterm
  box+=($elapsed)
done
echo "SIGTERM to exit with a message box open: $(summary "${box[@]}")"

setup=()
for (( n = 0; n < runs; n++ )); do
  start_program 1
  window=$(wait_for_window '^Calling\.\.\.$')
  xdotool windowfocus --sync "$window" 2>/dev/null
  until xdotool search --onlyvisible --name '^Remote Setup$' >/dev/null 2>&1; do
    xdotool key alt+s 2>/dev/null
    sleep 0.2
  done
  time_sigterm
  setup+=($elapsed)
done
echo "SIGTERM to exit with the Remote Setup dialog open: $(summary "${setup[@]}")"
