#!/bin/bash
# ombrelctl's bash completion, run as bash runs it: the words typed so far in,
# the offered completions out.
# Usage: completion_test.sh BIN_DIR SOURCE_DIR
set -u
source "$2/packaging/ombrelctl.bash-completion"
status=0
# typed words (the last one being completed) | the completions expected
while IFS='|' read -r typed expected; do
  read -ra COMP_WORDS <<<"$1/ombrelctl $typed"
  [[ $typed == *' ' ]] && COMP_WORDS+=("")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _ombrelctl
  got="${COMPREPLY[*]}"
  if [[ $got != "$expected" ]]; then
    echo "ombrelctl $typed<TAB>: expected '$expected', got '$got'"
    status=1
  fi
done <<'CASES'
--vers|--version
--lin|--line --line-db --link
--lis|--list
btn_SetCode|btn_SetCodepage
Chb_|Chb_CloseWifi=
but_|but_bootIn
ta|task
--set CodeP|CodePage=
--set BlueToolthP|BlueToolthPsw=
--language |0 1
CASES
exit $status
