#!/usr/bin/env bash
# Times the program from start to its tray icon (median of 10 starts, one
# fakemodem line plus the machine's own serial ports, a private X server,
# session bus and tray), side by side with the least Qt program that shows a
# tray icon, started in turn in the same run; then measures the idle
# program: maximum resident set and CPU time over an idle minute.
#
# usage: startup_idle.sh BIN_DIR [IDLE_SECONDS] [STARTS]
# BIN_DIR holds quorvel, fakemodem, e2e_tray_host and bench_minimal_tray
# (the build's bin folder).
set -euo pipefail

bin=$(cd "$1" && pwd)
idle_seconds=${2:-60}
starts=${3:-10}
# shellcheck source=../private_desktop.sh
source "$(dirname "$0")/../private_desktop.sh"

tail -f /dev/null | "$bin/fakemodem" --link "$work/modem" >"$work/modem.log" 2>/dev/null &
pids+=($!)
wait_for_line "$work/modem.log" '^ready' 60 >/dev/null

# The program in its own folder with its own settings.
mkdir -p "$work/app" "$work/run"
chmod 700 "$work/run"
cp "$bin/quorvel" "$work/app/"
cp -r "$bin/html" "$work/app/"
export XDG_RUNTIME_DIR="$work/run"
export XDG_CONFIG_HOME="$work/config"
export XDG_DATA_HOME="$work/data"

# Starts "$@" and waits until its tray icon is registered; sets started,
# shown (ms since the epoch) and program (its pid).
start_and_wait_for_tray() {
  local before
  before=$(grep -c '^registered' "$work/tray.log" || true)
  started=$(ms_now)
  "$@" 2>/dev/null &
  program=$!
  local i=0
  until [ "$(grep -c '^registered' "$work/tray.log" || true)" -gt "$before" ]; do
    (( ++i > 1200 )) && { echo "no tray icon after 60 s" >&2; exit 1; }
    sleep 0.01
  done
  shown=$(grep '^registered' "$work/tray.log" | tail -n 1 | cut -d' ' -f3)
}

start_program() {
  mkdir -p "$XDG_CONFIG_HOME/Varnock"
  printf '[Settings]\nExtraLines=%s\nMode=0\n' "$work/modem" >"$XDG_CONFIG_HOME/Varnock/Quorvel.ini"
  start_and_wait_for_tray "$work/app/quorvel"
}

stop_program() {
  kill -TERM "$program"
  wait "$program" || true
}

median() {
  local sorted count
  sorted=($(printf '%s\n' "$@" | sort -n))
  count=${#sorted[@]}
  if (( count % 2 )); then
    echo "${sorted[$(( count / 2 ))]}"
  else
    echo $(( (sorted[count / 2 - 1] + sorted[count / 2]) / 2 ))
  fi
}

times=()
minimal_times=()
for (( n = 0; n < starts; n++ )); do
  start_program
  times+=($(( shown - started )))
  stop_program
  start_and_wait_for_tray "$bin/bench_minimal_tray"
  minimal_times+=($(( shown - started )))
  stop_program
done
quorvel_median=$(median "${times[@]}")
minimal_median=$(median "${minimal_times[@]}")
echo "serial ports of this machine: $(ls /sys/class/tty | grep -c '^ttyS') ttyS entries; $(grep -c 'uart:[^u]' /proc/tty/driver/serial 2>/dev/null || echo '?') with a UART"
echo "start to tray icon, Quorvel: median ${quorvel_median} ms over ${#times[@]} starts (each: ${times[*]} ms)"
echo "start to tray icon, minimal Qt tray program: median ${minimal_median} ms (each: ${minimal_times[*]} ms)"
awk -v q="$quorvel_median" -v m="$minimal_median" 'BEGIN { printf "ratio Quorvel / minimal: %.1f\n", q / (m > 0 ? m : 1) }'

# Idle: let start-up settle, then measure a quiet stretch.
start_program
sleep 5
ticks=$(getconf CLK_TCK)
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$program/stat"; }
cpu_before=$(cpu_ticks)
sleep "$idle_seconds"
cpu_after=$(cpu_ticks)
rss_kb=$(awk '/^VmHWM:/ { print $2 }' "/proc/$program/status")
stop_program
cpu_seconds=$(awk -v t=$(( cpu_after - cpu_before )) -v hz="$ticks" 'BEGIN { printf "%.2f", t / hz }')
echo "maximum resident set while idle: $(( rss_kb / 1024 )) MB (${rss_kb} kB)"
echo "CPU time over ${idle_seconds} idle seconds: ${cpu_seconds} s"
