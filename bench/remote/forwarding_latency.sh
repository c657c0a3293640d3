#!/usr/bin/env bash
# Times Passive mode on the whole program, beyond its fixed one-second
# collection wait: from fakemodem writing a call's NAME line to the first
# command of a script profile (clock_stamp, run first thing by the script),
# and to the first message a DDE Link target receives (dde-receiver's time
# stamp). Median and maximum over CALLS calls each, on a private X server,
# session bus and tray.
#
# usage: forwarding_latency.sh BIN_DIR [CALLS]
# BIN_DIR holds quorvel, fakemodem, dde-receiver, clock_stamp and
# e2e_tray_host (the build's bin folder).
set -euo pipefail

bin=$(cd "$1" && pwd)
calls=${2:-10}
collection_wait_ms=1000
# shellcheck source=../private_desktop.sh
source "$(dirname "$0")/../private_desktop.sh"

mkfifo "$work/modem.in"
"$bin/fakemodem" --link "$work/modem" --cadence 0.01 --trace <"$work/modem.in" \
  >"$work/modem.log" 2>/dev/null &
pids+=($!)
exec 5>"$work/modem.in"
wait_for_line "$work/modem.log" '^ready' 60 >/dev/null

target=org.varnock.QuorvelBench.Target
"$bin/dde-receiver" "$target" >"$work/receiver.log" 2>/dev/null &
pids+=($!)
wait_for_line "$work/receiver.log" "^ready" 60 >/dev/null

mkdir -p "$work/app" "$work/run" "$work/config/Varnock"
chmod 700 "$work/run"
cp "$bin/quorvel" "$work/app/"
cp -r "$bin/html" "$work/app/"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
export BENCH_STAMP="$bin/clock_stamp" BENCH_OUT="$work/stamps"

read -r mono0 real0 < <("$bin/clock_stamp")
offset_ns=$(( real0 - mono0 ))

# Runs the program with profile $1 (its position in the sorted list), places
# the calls one by one, and prints each call's latency in ms (with a
# fraction) beyond the collection wait, read by the function named $2.
run_calls() {
  local position=$1 reader=$2
  cat >"$XDG_CONFIG_HOME/Varnock/Quorvel.ini" <<INI
[DDESetup]
$target\\Type=DDE
$target\\Topic=bench
$target\\Commands=first
Stamp\\Type=VBS
Stamp\\Commands=\$BENCH_STAMP >> \$BENCH_OUT

[Settings]
ExtraLines=$work/modem
Modem=$work/modem
Mode=1
CurrentDDESetting=$position
INI
  : >"$work/stamps"
  local enabled
  enabled=$(grep -c 'got AT+VCID=1' "$work/modem.log" || true)
  "$work/app/quorvel" 2>"$work/quorvel.err" &
  local program=$!
  local i=0
  until [ "$(grep -c 'got AT+VCID=1' "$work/modem.log" || true)" -gt "$enabled" ]; do
    (( ++i > 6000 )) && { echo "the line was never opened" >&2; exit 1; }
    sleep 0.01
  done
  for (( n = 1; n <= calls; n++ )); do
    echo "call 5551234567 Bench$RANDOM$n" >&5
    "$reader" "$n"
    sleep 1
  done
  kill -TERM "$program"
  wait "$program" || true
}

name_sent_ns() { # the NAME line of call $1
  grep " NAME = Bench[0-9]*$1\$" "$work/modem.log" | tail -n 1 | cut -d' ' -f2
}

read_script() {
  local n=$1
  wait_for_line "$work/stamps" '.' 60 >/dev/null
  until [ "$(wc -l <"$work/stamps")" -ge "$n" ]; do sleep 0.01; done
  local stamp sent
  stamp=$(sed -n "${n}p" "$work/stamps" | cut -d' ' -f1)
  sent=$(name_sent_ns "$n")
  awk -v a="$stamp" -v b="$sent" -v w="$collection_wait_ms" 'BEGIN { printf "%.1f\n", (a - b) / 1e6 - w }'
}

read_dde() {
  local n=$1
  until [ "$(grep -c ' Execute ' "$work/receiver.log" || true)" -ge "$n" ]; do sleep 0.01; done
  local line received_ms sent
  line=$(grep ' Execute ' "$work/receiver.log" | sed -n "${n}p")
  received_ms=$(date -d "$(cut -d' ' -f1,2 <<<"$line")" +%s%3N)
  sent=$(name_sent_ns "$n")
  awk -v r="$received_ms" -v s="$sent" -v o="$offset_ns" -v w="$collection_wait_ms" \
    'BEGIN { printf "%.1f\n", r - (s + o) / 1e6 - w }'
}

summary() { # label, then the values
  local label=$1
  shift
  printf '%s\n' "$@" | sort -g | awk -v label="$label" '
    { v[NR] = $1 }
    END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%s: median %.1f ms, max %.1f ms beyond the 1000 ms collection wait (%d calls)\n",
                 label, m, v[NR], NR }'
}

summary "NAME line to the script's first command" $(run_calls 1 read_script)
summary "NAME line to the D-Bus target's first message" $(run_calls 0 read_dde)
