#!/usr/bin/env bash
# Designs the wheels shipped with the program (src/core/wheels/designed_wheels.txt): tickets of 5 and 6,
# 3 if 3 and 4 if 4, on 10 to 25 numbers, each with its own fixed seed, so a run with the same
# budget on the same machine gives the same file.
# Usage: tools/design_wheels.sh ZANDREL_BINARY [SECONDS_PER_WHEEL] [OUTPUT] [keep-smaller]
# The full set is 64 wheels; at 60 seconds a wheel that is a bit over an hour of one core.
# keep-smaller: where OUTPUT already holds a smaller wheel for a case, that one stays, so that runs
# with other searches or budgets only ever improve the file.
# Last, tools/extend_wheels.py puts in any wheel that two smaller ones build with fewer tickets.
# WHEEL_PICKS="5" (or "6") designs only those tickets, so that two runs can share the work of one;
# OUTPUT then holds only their wheels.
set -euo pipefail
zandrel=${1:?usage: design_wheels.sh ZANDREL_BINARY [SECONDS_PER_WHEEL] [OUTPUT] [keep-smaller]}
seconds=${2:-60}
output=${3:-$(dirname "$0")/../src/core/wheels/designed_wheels.txt}
keep=${4:-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The wheel for "wheel V K T M" in FILE (its header line and tickets, CRLF kept); nothing if none.
old_wheel() {
  awk -v head="wheel $2 $3 $4 $4 " 'left > 0 { print; left--; next }
    index($0, head) == 1 { print; left = $6 + 0 }' "$1"
}

{
  if [ "$keep" = keep-smaller ]; then
    printf '# Wheels designed offline by tools/design_wheels.sh (%s seconds a wheel, seed V*100+K*10+T;\r\n' "$seconds"
    printf '# where an earlier run had found a smaller wheel, that one was kept).\r\n'
  else
    printf '# Wheels designed offline by tools/design_wheels.sh (%s seconds a wheel, seed V*100+K*10+T).\r\n' "$seconds"
  fi
  printf '# Each wheel: "wheel V K T M TICKETS", then its tickets, one a line, numbers 1..V ascending.\r\n'
} > "$work/all.txt"
for k in ${WHEEL_PICKS:-5 6}; do
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
      kept=""
      if [ "$keep" = keep-smaller ] && [ -f "$output" ]; then
        old_wheel "$output" "$v" "$k" "$t" > "$work/old.txt"
        old_count=$(head -n 1 "$work/old.txt" | tr -d '\r' | awk '{ print $6 + 0 }')
        if [ -n "$old_count" ] && [ "$old_count" -gt 0 ] && [ "$old_count" -lt "$count" ]; then
          kept=" (kept the earlier $old_count)"
          cat "$work/old.txt" >> "$work/all.txt"
        fi
      fi
      if [ -z "$kept" ]; then
        printf 'wheel %d %d %d %d %d\r\n' "$v" "$k" "$t" "$t" "$count" >> "$work/all.txt"
        cat "$work/wheel.txt" >> "$work/all.txt"
      fi
      echo "C($v,$k,$t): $count tickets$kept ($(grep '^Best known' "$work/report.txt"))"
    done
  done
done
mv "$work/all.txt" "$output"
# Then any wheel that two smaller ones in the file build with fewer tickets.
python3 "$(dirname "$0")/extend_wheels.py" "$output"
