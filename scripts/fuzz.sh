#!/bin/sh
# Runs every fuzz target of a libFuzzer build for SECONDS each, seeded with
# the repository's corpus. New inputs go to a working corpus in the build
# directory (the repository's stays as committed); a crashing input goes to
# BUILD/crashes/NAME/. Prints one line per target and fails when any target
# found something.
# Usage: scripts/fuzz.sh BUILD SECONDS
set -u
build=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
status=0
# The file readers' targets write each input to a scratch file and save it
# again; in memory that is hundreds of times faster than on disk.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi
summary=""
for target in "$build"/bin/*_fuzz; do
  name=$(basename "$target" _fuzz)
  work="$build/corpus/$name"
  crashes="$build/crashes/$name"
  log="$build/logs/$name.log"
  # Findings are this run's: a target stops at its first one.
  rm -rf "$crashes"
  mkdir -p "$work" "$crashes" "$build/logs"
  echo "== $name: fuzzing for $seconds s"
  "$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
    -artifact_prefix="$crashes/" "$work" "$source_dir/fuzz/corpus/$name" >"$log" 2>&1
  executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
  findings=$(find "$crashes" -type f | wc -l)
  line="$name: ${executions:-?} executions, $findings findings"
  if [ "$findings" -gt 0 ]; then
    status=1
    line="$line (inputs in $crashes, log $log)"
  fi
  summary="$summary$line
"
done
printf '\n%s' "$summary"
exit $status
