#!/usr/bin/env bash
# Fuzzes the libFuzzer targets of tests/fuzz, one after another on one job, for
# a set time each, then merges what they found into their corpora
# (tests/fuzz/corpus/<name>/), keeping the smallest set of inputs that covers as
# much. Prints the executions per second of each target. An input that breaks
# a rule is kept under build/fuzz/artifacts/<name>/ and the script fails.
# scripts/test.sh only replays the corpora; it never fuzzes.
#   scripts/fuzz.sh [-t SECONDS] [NAME...]    (default: 600 seconds, every target)
# NAME is a target's name without its fuzz_ prefix: settings, mbm, ...
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${VOP_FUZZ_SECONDS:-600}"
if [ "${1:-}" = "-t" ]; then
  seconds="$2"
  shift 2
fi
names=("$@")
if [ ${#names[@]} -eq 0 ]; then
  for source in "$root"/tests/fuzz/fuzz_*.cpp; do
    name="$(basename "$source" .cpp)"
    names+=("${name#fuzz_}")
  done
fi

"$root/scripts/install_deps.sh"
"$root/scripts/build.sh" --fuzz > /dev/null

work="$root/build/fuzz/work"
summary=()
failed=0
for name in "${names[@]}"; do
  target="$root/build/fuzz/tests/fuzz/fuzz_$name"
  corpus="$root/tests/fuzz/corpus/$name"
  [ -x "$target" ] || { echo "No fuzz target '$name' (tests/fuzz/fuzz_$name.cpp)" >&2; exit 2; }
  # New inputs go to a folder of their own; the corpus is only read until the merge.
  rm -rf "$work/$name"
  mkdir -p "$work/$name/found" "$work/$name/merged" "$corpus" "$root/build/fuzz/artifacts/$name"
  log="$work/$name/fuzz.log"
  echo "Fuzzing $name for $seconds s (log: $log)"
  result="no failure"
  if ! "$target" -max_total_time="$seconds" -print_final_stats=1 \
       -artifact_prefix="$root/build/fuzz/artifacts/$name/" "$work/$name/found" "$corpus" > "$log" 2>&1; then
    result="FAILED: $(grep -o "Test unit written to .*" "$log" | tail -1 || true)"
    failed=1
  fi
  runs="$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)"
  took="$(grep -o 'Done [0-9]* runs in [0-9]* second' "$log" | grep -o 'in [0-9]*' | grep -o '[0-9]*' || echo "$seconds")"
  before="$(find "$corpus" -type f | wc -l)"
  # The smallest set of inputs that reaches every edge (hit counts left aside),
  # so that each corpus stays a handful of small files.
  "$target" -set_cover_merge=1 -use_counters=0 "$work/$name/merged" "$corpus" "$work/$name/found" \
    > "$work/$name/merge.log" 2>&1
  find "$corpus" -type f -delete
  cp "$work/$name/merged"/* "$corpus"/ 2>/dev/null || true
  after="$(find "$corpus" -type f | wc -l)"
  bytes="$(find "$corpus" -type f -printf '%s\n' | awk '{ s += $1 } END { print s + 0 }')"
  summary+=("$(printf '%-14s %10s runs %8s exec/s  corpus %3s -> %3s files (%s bytes)  %s' \
    "$name" "$runs" "$(( runs / (took > 0 ? took : 1) ))" "$before" "$after" "$bytes" "$result")")
done

echo
printf '%s\n' "${summary[@]}"
exit "$failed"
