#!/usr/bin/env bash
# A short session against the virtual printer: a command goes out and the
# printer's acknowledgement comes back. Touches no settings of the operator.
set -euo pipefail
bin="$1"
work=$(mktemp -d)
trap 'kill "$printer" 2>/dev/null || true; rm -rf "$work"' EXIT

"$bin/ombrel-vprinter" --udp 127.0.0.1:5100 --log "$work/printer.log" > "$work/ready" &
printer=$!
for _ in $(seq 50); do [ -s "$work/ready" ] && break; sleep 0.1; done
echo "Virtual printer: $(cat "$work/ready")"

echo
echo "\$ ombrelctl --link net:127.0.0.1:5100 btn_Test"
"$bin/ombrelctl" --link net:127.0.0.1:5100 --dir "$work" btn_Test 2>&1
echo
echo "\$ ombrelctl --link net:127.0.0.1:5100 --set CodePage=CP936:GBK btn_SetCodepage"
"$bin/ombrelctl" --link net:127.0.0.1:5100 --dir "$work" --set CodePage=CP936:GBK btn_SetCodepage
echo
echo "What reached the printer:"
cat "$work/printer.log"
echo
echo "The tool's trace of the last task (debug.log):"
cat "$work/debug.log"
