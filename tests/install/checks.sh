# Sourced by the install tests: checks that count their failures, a
# temporary folder `work` whose child processes (`pids`) are ended and which
# is removed at exit, and a wait for a line in a file.
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

finish() {  # finish NAME: the result of all checks
  if [ $failures -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
  fi
  echo "$1: all checks passed"
}
