# Sourced by the install tests: checks that count their failures, a
# temporary folder `work` whose child processes (`pids`) are ended and which
# is removed at exit, a wait for a line in a file, and the simulated modem
# and the installed program started and stopped.
set -uo pipefail
failures=0
check() {  # check DESCRIPTION COMMAND...
  local what=$1; shift
  if "$@"; then return 0; fi
  echo "FAILED: $what" >&2
  failures=$((failures + 1))
}

work=$(mktemp -d)
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT

wait_for() {  # wait_for PATTERN FILE: up to 120 s
  local deadline=$((SECONDS + 120))
  until grep -qE "$1" "$2" 2>/dev/null; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}

# start_modem MODEM LINK [PREFIX...]: the simulator on LINK, fed by a pipe
# kept open, writing to modem.out. Started by exec, so that the pid noted is
# its own and the cleanup ends it.
start_modem() {
  local modem=$1 link=$2; shift 2
  mkfifo "$work/modem.in" && exec 3<>"$work/modem.in"
  (exec "$@" "$modem" --link "$link") <&3 >"$work/modem.out" 2>&1 &
  pids+=($!)
  check "simulated modem ready" wait_for '^ready' "$work/modem.out"
}

start_program() {  # start_program FOLDER COMMAND...: sets $program
  local folder=$1; shift
  (cd "$folder" && exec "$@") >"$work/app.log" 2>&1 &
  program=$! && pids+=($program)
  check "the installed program opens its line" wait_for '^got AT\+VCID=1' "$work/modem.out"
  check "the installed program is running" kill -0 $program
}

stop_program() {  # stop_program INI: ends cleanly on SIGTERM, storing $modem in INI
  kill -TERM $program
  wait $program
  local status=$?
  check "the installed program ends on SIGTERM (exit status $status)" test $status -eq 0
  [ $status -eq 0 ] || cat "$work/app.log" >&2
  check "it stored its line at the end" grep -qxF "Modem=$modem" "$1"
}

finish() {  # finish NAME: the result of all checks
  if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "$1: all checks passed"
}
