#!/bin/sh
# Formats the C++ sources by .clang-format (make format), or with --check
# lists the files that are not formatted and fails (make format-check).
set -eu
cd "$(dirname "$0")/.."
files=$(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = --check ]; then
  unformatted=""
  for file in $files; do
    clang-format --dry-run -Werror "$file" >/dev/null 2>&1 || unformatted="$unformatted $file"
  done
  [ -z "$unformatted" ] && exit 0
  echo "Not formatted (run 'make format'):"
  printf '  %s\n' $unformatted
  exit 1
fi
# shellcheck disable=SC2086
clang-format -i $files
