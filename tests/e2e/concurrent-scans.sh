# A hundred scans asked of the running application at once, through its bus interface: it
# stays up, every caller gets an answer, and they share at most two cycles.
source "$(dirname "$0")/common.sh"
[ -n "$app" ] || fail "the application's path is missing"

start_service --pairing-code MANY-AT-ONCE --child child-maya=Maya --ingest-delay-ms 100
"$samples" "$work/backup" --messages 300 --candidate-share 1.0 >/dev/null
"$cli" pair MANY-AT-ONCE >/dev/null
"$cli" choose-backup "$work/backup" >/dev/null
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null

start_app --background
# The start-up scan first, so the hundred meet a cycle under way or none.
for _ in $(seq 400); do
  [ "$(service_page received 'sum(r["path"].endswith("/heartbeat") for r in d["requests"])')" -ge 1 ] && break
  sleep 0.05
done
registrations() { service_page received 'sum(r["path"].endswith("/devices") for r in d["requests"])'; }
before=$(registrations)

"$samples" "$work/backup" --messages 320 --candidate-share 1.0 --seed 2 >/dev/null
for i in $(seq 100); do
  gdbus call --timeout 120 "${bus_object[@]}" --method app.quorva.bridge.Bridge1.Scan \
    >"$work/answer.$i" 2>&1 &
done
wait_all=0
for job in $(jobs -p); do
  [ "$job" = "$app_pid" ] || [ "$job" = "$service_pid" ] || wait "$job" || wait_all=1
done
kill -0 "$app_pid" 2>/dev/null || fail "the application ended: $(tail -5 "$work/app.out")"
answered=$(cat "$work"/answer.* | grep -cx "()" || true)
[ "$answered" = 100 ] || fail "$answered of 100 callers were answered with success: $(grep -vhx "()" "$work"/answer.* | sort | uniq -c | head -5)"
cycles=$(( $(registrations) - before ))
[ "$cycles" -ge 1 ] && [ "$cycles" -le 2 ] || fail "the hundred scans ran $cycles cycles"
echo "ok: 100 scans at once through the bus, answered, in $cycles cycles"
