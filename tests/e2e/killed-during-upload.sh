# Nothing is lost when the CLI is killed in the middle of an upload: every candidate reaches
# the service at least once, and what the service accepted is not sent a third time.
source "$(dirname "$0")/common.sh"

start_service --pairing-code KILL-TEST-1 --child child-maya=Maya --ingest-delay-ms 1500
"$samples" "$work/backup" --messages 260 --candidate-share 1.0 >/dev/null
"$cli" inspect "$work/backup" --json >"$work/inspect.json"
total=$(json "$work/inspect.json" 'len(d["candidates"])')
[ "$total" -gt 200 ] || fail "the sample backup should hold three batches of candidates, not $total"

"$cli" pair KILL-TEST-1 >/dev/null
"$cli" choose-backup "$work/backup" >/dev/null
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null || fail "assign failed"

# The first scan is killed while the service is still answering its second batch of three.
"$cli" scan >"$work/scan1.out" 2>&1 &
scan_pid=$!
for _ in $(seq 500); do
  grep -q "ingest/batch 200" "$work/service.log" && break
  sleep 0.02
done
kill -9 "$scan_pid"
wait "$scan_pid" 2>/dev/null || true
batches=$(ingest_batches)
[ "$batches" -ge 1 ] && [ "$batches" -lt 3 ] || fail "expected the kill during the upload, after $batches batches"

"$cli" status --json >"$work/status1.json"
[ "$(json "$work/status1.json" 'd["acceptedCount"]')" = 0 ] || fail "a killed cycle must record nothing"

# The next scan sends everything again, the service recognises what it already has; on a
# terminal it shows how far the upload is.
script -qec "'$cli' scan --json >'$work/scan2.json'" /dev/null >"$work/scan2.tty" </dev/null \
  || fail "the second scan failed: $(cat "$work/scan2.json" "$work/scan2.tty")"
grep -q "3 of 3" "$work/scan2.tty" || fail "no upload progress on the terminal: $(cat "$work/scan2.tty")"
[ "$(json "$work/scan2.json" 'd["lastCandidateCount"]')" = "$total" ] || fail "the second scan should send all $total"
[ "$(held_items)" = "$total" ] || fail "every candidate must have reached the service"

# A third scan sends nothing: each item went at most twice, never a third time.
"$cli" scan --json >"$work/scan3.json" || fail "the third scan failed"
[ "$(json "$work/scan3.json" 'd["lastCandidateCount"]')" = 0 ] || fail "the third scan must send nothing new"
read -r distinct worst <<<"$(sent_counts)"
[ "$distinct" = "$total" ] || fail "$distinct of $total candidates reached the service"
[ "$worst" -le 2 ] || fail "an item was sent $worst times"
echo "ok: $total candidates, each sent at most twice"
