#!/usr/bin/env bash
# The idle program's memory with an empty call log and with 100,000 logged
# calls (window never opened), each after a settled start on a private X
# server with a tray and one fakemodem line. With a second BIN_DIR (a build
# without the call log, say) that program is measured too, for comparison.
#
# usage: idle_memory.sh BIN_DIR [OTHER_BIN_DIR]
# BIN_DIR holds quorvel, fakemodem, e2e_tray_host and calllog_bench.
set -euo pipefail

bin=$(cd "$1" && pwd)
other=${2:+$(cd "$2" && pwd)}
# shellcheck source=../private_desktop.sh
source "$(dirname "$0")/../private_desktop.sh"

tail -f /dev/null | "$bin/fakemodem" --link "$work/modem" >"$work/modem.log" 2>/dev/null &
pids+=($!)
wait_for_line "$work/modem.log" '^ready' 60 >/dev/null

echo "filling a call log with 100,000 calls..."
"$bin/calllog_bench" --fill "$work/full.sqlite" 100000 2>/dev/null

# Prints the resident set (kB) of program $1 started with data home $2,
# after it has settled.
measure() {
  local program=$1 data=$2
  mkdir -p "$work/app" "$work/run" "$work/config/Varnock"
  chmod 700 "$work/run"
  cp "$program" "$work/app/quorvel"
  printf '[Settings]\nExtraLines=%s\nModem=%s\nMode=0\n' "$work/modem" "$work/modem" \
    >"$work/config/Varnock/Quorvel.ini"
  local before
  before=$(grep -c '^registered' "$work/tray.log" || true)
  XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$data" \
    "$work/app/quorvel" 2>/dev/null &
  local pid=$! i=0
  until [ "$(grep -c '^registered' "$work/tray.log" || true)" -gt "$before" ]; do
    (( ++i > 1200 )) && { echo "no tray icon after 60 s" >&2; exit 1; }
    sleep 0.05
  done
  sleep 5
  awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"
  kill -TERM "$pid"
  wait "$pid" || true
}

report() {
  local label=$1 program=$2 data=$3 runs=() n
  for n in 1 2 3; do runs+=($(measure "$program" "$data")); done
  local sorted=($(printf '%s\n' "${runs[@]}" | sort -n))
  echo "$label: resident ${sorted[1]} kB (median of ${runs[*]} kB)"
}

mkdir -p "$work/empty" "$work/full/Varnock/Quorvel"
mv "$work/full.sqlite" "$work/full/Varnock/Quorvel/calls.sqlite"
[ -n "$other" ] && report "other build, no call log" "$other/quorvel" "$work/empty"
report "this build, empty call log" "$bin/quorvel" "$work/empty"
rm -rf "$work/empty"/*
report "this build, 100,000 calls logged" "$bin/quorvel" "$work/full"
