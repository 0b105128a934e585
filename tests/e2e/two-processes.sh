# Two CLI scans at once: one is the writer, the other waits a moment for it, then scans or says
# that it did nothing; every candidate reaches the service exactly once and is recorded.
source "$(dirname "$0")/common.sh"

start_service --pairing-code TWO-AT-ONCE --child child-maya=Maya --ingest-delay-ms 400
"$samples" "$work/backup" --messages 260 --candidate-share 1.0 >/dev/null
total=$("$cli" inspect "$work/backup" --json | python3 -c 'import json,sys; print(len(json.load(sys.stdin)["candidates"]))')
"$cli" pair TWO-AT-ONCE >/dev/null
"$cli" choose-backup "$work/backup" >/dev/null
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null || fail "assign failed"

"$cli" scan >"$work/first.out" 2>&1 &
first=$!
"$cli" scan >"$work/second.out" 2>&1 &
second=$!
wait "$first" || fail "the first scan failed: $(cat "$work/first.out")"
wait "$second" || grep -q "busy in another process" "$work/second.out" \
  || fail "the second scan failed without saying why: $(cat "$work/second.out")"

"$cli" status --json >"$work/status.json"
[ "$(json "$work/status.json" 'd["acceptedCount"]')" = "$total" ] || fail "every accepted id must be recorded"
read -r distinct worst <<<"$(sent_counts)"
[ "$distinct" = "$total" ] || fail "$distinct of $total candidates reached the service"
[ "$worst" = 1 ] || fail "a candidate was sent by both processes"
echo "ok: $total candidates, each sent once by the two processes"
