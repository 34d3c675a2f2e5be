#!/usr/bin/env bash
# The desktop tool against the virtual printer on 127.0.0.1:5100. The tool
# gets a program directory of its own, prepared for the network link, so the
# operator's sysconfig.ini and debug.log stay untouched.
set -euo pipefail
bin="$1"
work=$(mktemp -d)
printer=""
trap '[ -n "$printer" ] && kill "$printer" 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

printf '[MainDefault]\nIP Address=127.0.0.1\nLanguage=0\nTranMode=1\n' > "$work/sysconfig.ini"
"$bin/ombrel-vprinter" --udp 127.0.0.1:5100 --log "$work/printer.log" > "$work/ready" &
printer=$!
for _ in $(seq 50); do
  [ -s "$work/ready" ] && break
  kill -0 "$printer" 2>/dev/null || break
  sleep 0.1
done
if [ ! -s "$work/ready" ]; then
  echo "The virtual printer did not start: is 127.0.0.1:5100 already in use?" >&2
  exit 1
fi
echo "Virtual printer: $(cat "$work/ready")"
echo "Program directory: $work (removed when the tool closes)"
echo "Press 测试通讯 (Test link): the tool answers 连接成功 (Connected)."
"$bin/ombrel-setting-tool" --dir "$work"
