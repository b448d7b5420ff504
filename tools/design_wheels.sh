#!/usr/bin/env bash
# Designs the wheels shipped with the program (src/core/wheels/designed_wheels.txt): tickets of 5 and 6,
# 3 if 3 and 4 if 4, on 10 to 25 numbers, each with its own fixed seed, so a run with the same
# budget on the same machine gives the same file.
# Usage: tools/design_wheels.sh ZANDREL_BINARY [SECONDS_PER_WHEEL] [OUTPUT]
# The full set is 64 wheels; at 60 seconds a wheel that is a bit over an hour of one core.
set -euo pipefail
zandrel=${1:?usage: design_wheels.sh ZANDREL_BINARY [SECONDS_PER_WHEEL] [OUTPUT]}
seconds=${2:-60}
output=${3:-$(dirname "$0")/../src/core/wheels/designed_wheels.txt}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

{
  printf '# Wheels designed offline by tools/design_wheels.sh (%s seconds a wheel, seed V*100+K*10+T).\r\n' "$seconds"
  printf '# Each wheel: "wheel V K T M TICKETS", then its tickets, one a line, numbers 1..V ascending.\r\n'
} > "$work/all.txt"
for k in 5 6; do
  for t in 3 4; do
    for v in $(seq 10 25); do
      seed=$((v * 100 + k * 10 + t))
      status=0
      "$zandrel" design --numbers "$v" --pick "$k" --guarantee "$t" --seconds "$seconds" --seed "$seed" \
        --out "$work/wheel.txt" > "$work/report.txt" || status=$?
      if [ "$status" -ne 0 ]; then
        echo "C($v,$k,$t): zandrel design ended with $status" >&2
        cat "$work/report.txt" >&2
        exit 1
      fi
      count=$(grep -c . "$work/wheel.txt")
      printf 'wheel %d %d %d %d %d\r\n' "$v" "$k" "$t" "$t" "$count" >> "$work/all.txt"
      cat "$work/wheel.txt" >> "$work/all.txt"
      echo "C($v,$k,$t): $count tickets ($(grep '^Best known' "$work/report.txt"))"
    done
  done
done
mv "$work/all.txt" "$output"
