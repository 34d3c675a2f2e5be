#!/bin/sh
# Writes the list of actions in ombrelctl's manual page from the program's own
# table (ombrelctl --list-actions). With --check, changes nothing and fails
# when the page differs from the table.
# Usage: scripts/man-actions.sh [--check] BIN_DIR [PAGE]
set -eu
check=no
[ "${1:-}" = --check ] && { check=yes; shift; }
bin=$1
page=${2:-$(dirname "$0")/../packaging/man/ombrelctl.1}
block=$(mktemp)
updated=$(mktemp)
trap 'rm -f "$block" "$updated"' EXIT

"$bin/ombrelctl" --list-actions | awk -F '\t' '{
  name = $1; sub(/=0\|1$/, "", name)
  print ".TP"; print ".B " name ($1 != name ? "=0|1" : "")
  print ($2 == "" ? "reads no setting" : $2)
}' >"$block"
awk -v block="$block" '
  /^\.\\" actions end$/ { while ((getline line < block) > 0) print line; skipping = 0 }
  !skipping { print }
  /^\.\\" actions begin$/ { skipping = 1 }
' "$page" >"$updated"

if [ "$check" = yes ]; then
  if ! diff -u "$page" "$updated"; then
    echo "ombrelctl.1 lists other actions than the program: run scripts/man-actions.sh BIN_DIR" >&2
    exit 1
  fi
else
  cp "$updated" "$page"
fi
