#!/bin/sh
# The manual pages against the programs: every option --help names is in the
# page, ombrelctl's list of actions is the program's own, and each page
# renders without a warning.
# Usage: man_pages_test.sh BIN_DIR SOURCE_DIR
set -eu
bin=$1
source=$2
status=0
for program in ombrelctl ombrel-vprinter ombrel-setting-tool; do
  page="$source/packaging/man/$program.1"
  for option in $("$bin/$program" --help | grep -oE -- '--[a-z][a-z-]*' | sort -u); do
    escaped=$(printf '%s' "$option" | sed 's/-/\\-/g')
    if ! grep -qF -- "$escaped" "$page"; then
      echo "$program.1 does not describe $option"
      status=1
    fi
  done
  warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || { echo "$warnings"; status=1; }
done
"$source/scripts/man-actions.sh" --check "$bin" "$source/packaging/man/ombrelctl.1" || status=1
exit $status
