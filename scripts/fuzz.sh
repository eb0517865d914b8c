#!/bin/sh
# Runs every fuzz target for the given number of seconds (default 20), two at a time, each on a
# copy of its seed corpus; fails when any target reports a crash, leak or sanitizer finding.
set -u
seconds=${1:-20}
top=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

run() {
  target=$1
  name=$(basename "$target")
  mkdir -p "$work/$name"
  if [ -d "$top/tests/fuzz/$name" ]; then cp "$top/tests/fuzz/$name"/* "$work/$name"/ 2>/dev/null; fi
  if (cd "$work" && "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 \
        "$work/$name" > "$work/$name.log" 2>&1); then
    echo "$name: $(grep -o 'number_of_executed_units: [0-9]*' "$work/$name.log") in $seconds s"
  else
    tail -40 "$work/$name.log"
    echo "$name FAILED"
    touch "$work/failed"
  fi
}

set -- "$top"/build-fuzz/fuzz/*
while [ $# -gt 0 ]; do
  run "$1" &
  if [ $# -gt 1 ]; then run "$2" & shift; fi
  shift
  wait
done
[ ! -e "$work/failed" ]
