#!/usr/bin/env bash
# bitwatch-stats' progress display: on a terminal for a long run, cleared at the end and never in
# the results; nothing when standard error is a file; nothing with --quiet.
set -euo pipefail
stats=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() {
  echo "$1" >&2
  exit 1
}

# The display shows for runs of over about two seconds, so the run is sized to this machine:
# a first run's time says how many frames take about four seconds here.
frames=4000000
start=$(date +%s%N)
"$stats" --modes CRC-8,Checksum --rates 1,5 --frames "$frames" --threads 1 --seed 3 --quiet >/dev/null
took_ms=$((($(date +%s%N) - start) / 1000000))
if [ "$took_ms" -lt 4000 ]; then
  frames=$((frames * (4000 / (took_ms > 0 ? took_ms : 1) + 1)))
fi
args=(--modes CRC-8,Checksum --rates 1,5 --frames "$frames" --threads 1 --seed 3)

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
