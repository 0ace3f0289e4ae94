#!/usr/bin/env bash
# bitwatch-stats' progress display: on a terminal for a long run, cleared at the end and never in
# the results; nothing when standard error is a file; nothing with --quiet.
set -euo pipefail
stats=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
args=(--modes CRC-8,Checksum --rates 1,5 --frames 4000000 --threads 1 --seed 3)
fail() {
  echo "$1" >&2
  exit 1
}

"$stats" "${args[@]}" >"$dir/plain.txt" 2>"$dir/plain.err"
[ ! -s "$dir/plain.err" ] || fail "progress written to a file: $(cat -v "$dir/plain.err")"

# script(1) gives the program a pseudo-terminal; the results still go to a file.
script -qec "${stats@Q} ${args[*]@Q} >${dir@Q}/tty.txt" "$dir/tty.log" >/dev/null
log=$(cat "$dir/tty.log")
[[ $log == *"M frames/s"* ]] || fail "no progress line on the terminal"
after=${log##*frames/s}
[[ $after == *$'\r\e[K'* ]] || fail "the progress line is not cleared at the end"
cmp "$dir/plain.txt" "$dir/tty.txt" || fail "the results differ with a terminal"

script -qec "${stats@Q} ${args[*]@Q} --quiet >${dir@Q}/quiet.txt" "$dir/quiet.log" >/dev/null
! grep -q "frames/s" "$dir/quiet.log" || fail "--quiet still shows progress"
cmp "$dir/plain.txt" "$dir/quiet.txt" || fail "the results differ with --quiet"
echo "progress display: shown on a terminal, cleared, never in the results"
