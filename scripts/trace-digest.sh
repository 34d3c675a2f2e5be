#!/bin/sh
# Compares what crosses the link between two builds. `run` runs every row of
# the fault matrices (network, pseudo-terminal, and USB under umockdev), keeps
# each row's debug.log and reduces it to a digest: the lines of the trace in
# order, each frame sent as one hex line, and the bytes received after it
# joined into one hex line (how reads split into Receive lines depends on
# timing), without time stamps or pseudo-terminal numbers. `compare` lists the
# rows whose digests differ, and fails on any; a row named in
# BASE/unstable.txt (its digests differ between two runs of one build: where a
# duplicated datagram lands depends on timing) fails only when the frames it
# sends differ.
# Usage: scripts/trace-digest.sh run BUILD_DIR OUT_DIR
#        scripts/trace-digest.sh compare BASE_DIR OUT_DIR
set -eu

digest() {
  tr -d '\r' <"$1" | awk '
    function flush() {
      if (kind == "Receive") print "Receive " (received == "" ? "nothing" : substr(received, 2))
      kind = ""; received = ""
    }
    function hex(line,    column, i, token) {
      column = line; sub(/;.*/, "", column)
      for (i = 1; i <= split(column, token, " "); ++i) {
        if (kind == "Send") sent = sent " " token[i]; else received = received " " token[i]
        ++count
      }
    }
    function endSend() {
      if (kind == "Send") {
        print "Send " substr(sent, 2) (count == expected ? "" : " (length " count " of " expected ")")
        kind = "Receive"; received = ""
      }
    }
    /^(Send|Receive) [0-9]+ Bytes / {
      endSend()
      if ($1 == "Send") { flush(); kind = "Send"; sent = ""; count = 0; expected = $2 }
      else if (kind != "Receive") { kind = "Receive"; received = "" }
      next
    }
    /^    [0-9A-F][0-9A-F] / { hex($0); next }
    {
      endSend(); flush()
      line = $0
      gsub(/ [0-9][0-9]-[0-9][0-9]-[0-9][0-9] [0-9][0-9]:[0-9][0-9]:[0-9][0-9] [0-9][0-9][0-9] ?/, "", line)
      gsub(/\/dev\/pts\/[0-9]+/, "/dev/pts/N", line)
      print line
    }
    END { endSend(); flush() }'
}

case ${1:-} in
  run)
    build=$(cd "$2" && pwd)
    out=$3
    mkdir -p "$out/logs"
    rm -f "$out"/logs/*.log "$out"/*.digest
    logs=$(cd "$out/logs" && pwd)
    # The USB rows run under umockdev-wrapper, as CTest starts them.
    OMBREL_TRACE_DIGEST_DIR=$logs ctest --test-dir "$build" -R '^(FaultMatrix|ReplyHeads)/(Udp|Pty|Usb)Faults\.' \
      -j 2 --output-on-failure >"$out/ctest.txt" || echo "some rows failed: see $out/ctest.txt" >&2
    for log in "$out"/logs/*.log; do
      digest "$log" >"$out/$(basename "$log" .log).digest"
    done
    echo "$(ls "$out"/*.digest | wc -l) digests in $out"
    ;;
  compare)
    base=$2
    out=$3
    failed=0
    for file in "$base"/*.digest "$out"/*.digest; do
      row=$(basename "$file" .digest)
      case " ${seen:-} " in *" $row "*) continue ;; esac
      seen="${seen:-} $row"
      cmp -s "$base/$row.digest" "$out/$row.digest" 2>/dev/null && continue
      if grep -qx "$row" "$base/unstable.txt" 2>/dev/null && [ -f "$out/$row.digest" ] &&
        [ "$(grep -v '^Receive' "$base/$row.digest")" = "$(grep -v '^Receive' "$out/$row.digest")" ]; then
        echo "varies from run to run, the same frames sent: $row"
      else
        echo "differs: $row"
        failed=1
      fi
    done
    [ "$failed" = 0 ] && echo "every stable row's digest is the same"
    exit "$failed"
    ;;
  *)
    echo "usage: $0 run BUILD_DIR OUT_DIR | compare BASE_DIR OUT_DIR" >&2
    exit 2
    ;;
esac
