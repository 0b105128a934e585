# While the application runs, the CLI's commands go through it: a scan started from the CLI is
# the application's, and a disconnect from the CLI in the middle of its upload is obeyed at once.
source "$(dirname "$0")/common.sh"
[ -n "$app" ] || fail "the application's path is missing"

start_service --pairing-code ONE-WRITER --child child-maya=Maya --ingest-delay-ms 400
"$samples" "$work/backup" --messages 900 --candidate-share 1.0 >/dev/null
"$cli" pair ONE-WRITER >/dev/null

# Counted as the service answers them, 400 ms after each arrives.
batches() { grep -c "ingest/batch" "$work/service.log" || true; }

start_app
gdbus monitor "${bus_object[@]}" >"$work/monitor.log" 2>&1 &
monitor_pid=$! # ends with the bus, should a check fail first

own_config=$XDG_CONFIG_HOME
# A CLI on its own would use these empty preferences, find no backup and scan nothing.
export XDG_CONFIG_HOME="$work/elsewhere"
# A folder named from here, not from where the application was started.
(cd "$work" && "$cli" choose-backup backup) >"$work/choose.out" 2>&1 || fail "choose-backup failed: $(cat "$work/choose.out")"
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null || fail "assign failed"
"$cli" scan >"$work/scan.out" 2>&1 &
scan_pid=$!
for _ in $(seq 500); do
  [ "$(batches)" -ge 2 ] && break
  sleep 0.02
done
[ "$(batches)" -ge 2 ] || fail "the application's upload did not start: $(cat "$work/scan.out" "$work/app.out")"

phase=$(gdbus call "${bus_object[@]}" --method org.freedesktop.DBus.Properties.Get app.quorva.bridge.Bridge1 Phase)
[ "$phase" = "(<'scanning'>,)" ] || fail "the bus shows the phase as $phase during the upload"

"$cli" disconnect >"$work/disconnect.out" 2>&1 || fail "the disconnect failed: $(cat "$work/disconnect.out")"
after=$(batches)
wait "$scan_pid" || true
sleep 1.5
# The one under way when the disconnect came may still be answered; none starts after it.
[ "$(batches)" -le $((after + 1)) ] || fail "$(($(batches) - after)) batches were answered after the disconnect returned"
[ "$(batches)" -lt 9 ] || fail "the whole upload ran despite the disconnect"

"$cli" status --json >"$work/status.json" || fail "status failed"
[ "$(json "$work/status.json" 'd["paired"]')" = False ] || fail "still paired after the disconnect"
[ "$(json "$work/status.json" 'd["acceptedCount"]')" = 0 ] || fail "the cancelled upload recorded ids"
kill -0 "$app_pid" || fail "the application stopped"
# What the window shows is announced on the bus as it changes.
grep -q "'Phase': <'scanning'>" "$work/monitor.log" || fail "no announcement of the scan: $(cat "$work/monitor.log")"
grep -q "'Paired': <false>" "$work/monitor.log" || fail "no announcement of the disconnect: $(cat "$work/monitor.log")"
kill "$monitor_pid"

# With the application running, a second instance of the work is refused, not run beside it.
[ "$(XDG_CONFIG_HOME=$own_config exit_status "$cli" run)" = 1 ] || fail "a second headless run must fail while the application runs"
echo "ok: the CLI's scan ran in the application and its disconnect stopped the upload after $after batches"
