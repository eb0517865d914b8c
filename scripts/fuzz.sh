#!/bin/sh
# Runs every fuzz target for the given number of seconds (default 20) on a copy of its seed
# corpus; fails on the first crash, leak or sanitizer report.
set -e
seconds=${1:-20}
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
for target in "$top"/build-fuzz/fuzz/*; do
  name=$(basename "$target")
  mkdir -p "$work/$name"
  if [ -d "$top/tests/fuzz/$name" ]; then cp "$top/tests/fuzz/$name"/* "$work/$name"/ 2>/dev/null || true; fi
  echo "== $name: $seconds s"
  if ! (cd "$work" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        "$work/$name" > "$work/$name.log" 2>&1); then
    tail -40 "$work/$name.log"
    echo "$name FAILED"
    status=1
  else
    grep -E "stat::number_of_executed_units" "$work/$name.log" || true
  fi
done
exit $status
