# An integrator's whole flow through the bus interface alone, with gdbus and no CLI: pair,
# choose the folder, assign, scan (watching the progress signals), disconnect; a failure comes
# back as an error name, and the CLI words it in its own language, not the application's: also
# what the parent must know beside it (Leo has no iPhone), which travels as data.
source "$(dirname "$0")/common.sh"
[ -n "$app" ] || fail "the application's path is missing"

start_service --pairing-code BUS-FLOW --child child-maya=Maya --child child-leo=Leo --ingest-delay-ms 50
"$samples" "$work/backup" --messages 300 --candidate-share 1.0 >/dev/null
device=00008110-001A2B3C4D5E801E

LANGUAGE=de start_app --background
gdbus monitor "${bus_object[@]}" >"$work/monitor.log" 2>&1 &
bridge() { gdbus call --timeout 60 "${bus_object[@]}" --method "app.quorva.bridge.Bridge1.$1" "${@:2}" 2>&1; }
property() { gdbus call "${bus_object[@]}" --method org.freedesktop.DBus.Properties.Get app.quorva.bridge.Bridge1 "$1"; }
# expect_error NAME METHOD [ARGUMENTS…]
expect_error() {
  local answer
  answer=$(bridge "${@:2}") && fail "$2 succeeded: $answer"
  grep -q "app.quorva.bridge.Error.$1:" <<<"$answer" || fail "$2 answered $answer, not the error $1"
}

[ "$(property Version)" = "(<uint32 1>,)" ] || fail "version $(property Version)"
expect_error PairingCodeMissing Pair "''"
[ "$(bridge Pair "'BUS-FLOW'")" = "()" ] || fail "pairing failed"
[ "$(property Paired)" = "(<true>,)" ] || fail "not paired after Pair"

expect_error RelativeFolder ChooseBackupFolder "b'backup'"
[ "$(bridge ChooseBackupFolder "b'$work/backup'")" = "()" ] || fail "the folder was not taken"
expect_error NoSuchChild Assign "'$device'" "'child-nobody'"
expect_error NoSuchDevice Assign "'0000000000000000000000000000000000000000'" "'child-maya'"
[ "$(bridge Assign "'$device'" "'child-maya'")" = "('',)" ] || fail "assign failed"
grep -q "'device': <'$device'>" <<<"$(property Children)" || fail "the child's iPhone: $(property Children)"

[ "$(bridge Scan)" = "()" ] || fail "the scan failed: $(property FailureText)"
grep -q "LastScan.*'candidates': <int64 [1-9]" <<<"$(property LastScan | sed 's/^/LastScan/')" ||
  fail "the last scan's figures: $(property LastScan)"
sleep 0.2 # the monitor's last lines
grep -q "Bridge1.UploadProgress (3, 3)" "$work/monitor.log" || fail "no progress signals: $(grep -c . "$work/monitor.log") lines"
grep -q "Bridge1.ScanFinished ()" "$work/monitor.log" || fail "no end of the scan announced"
grep -q "'Phase': <'scanning'>" "$work/monitor.log" || fail "the phase's change was not announced"
grep -q "('noIPhoneAssigned', \['Leo'\])" <<<"$(property Attention)" || fail "attention: $(property Attention)"
LANGUAGE=en "$cli" scan >"$work/cli.out" 2>&1 || fail "the CLI's scan failed: $(cat "$work/cli.out")"
grep -q "Needs attention: Leo has no iPhone assigned." "$work/cli.out" || fail "the CLI's attention: $(cat "$work/cli.out")"

# A failure's case and arguments, and the CLI's own words for it: the application speaks German.
# Beside the unreachable service, the failure says that Leo has no iPhone.
kill "$service_pid"; wait "$service_pid" 2>/dev/null || true; service_pid=""
expect_error Several Scan
[ "$(property FailureCode)" = "(<'several'>,)" ] || fail "failure code $(property FailureCode)"
grep -q "('serviceUnreachable', \[.*('notice', \['noIPhoneAssigned', 'Leo'\])" <<<"$(property FailureParts)" ||
  fail "failure parts $(property FailureParts)"
grep -q "nicht" <<<"$(property FailureText)" || fail "the application's own text is not German: $(property FailureText)"
LANGUAGE=en "$cli" scan >"$work/cli.out" 2>&1 && fail "the CLI's scan succeeded without the service"
grep -q "Quorva can't be reached" "$work/cli.out" || fail "the CLI did not word it in English: $(cat "$work/cli.out")"
grep -q "reached.* Leo has no iPhone assigned.$" "$work/cli.out" || fail "the CLI did not word the notice in English: $(cat "$work/cli.out")"
LANGUAGE=en "$cli" scan --json >"$work/scan.json" 2>/dev/null && fail "the CLI's JSON scan succeeded without the service"
[ "$(json "$work/scan.json" 'd["failure"]["code"]')" = several ] || fail "JSON failure: $(cat "$work/scan.json")"
text=$(json "$work/scan.json" 'd["failure"]["text"]')
grep -q "^Quorva can't be reached" <<<"$text" && grep -qx "Leo has no iPhone assigned." <<<"$text" ||
  fail "JSON failure text: $(cat "$work/scan.json")"
LANGUAGE=en "$cli" assign "$device" child-nobody >"$work/cli.out" 2>&1 && fail "assign to a stranger succeeded"
grep -q "There is no child with the id child-nobody" "$work/cli.out" || fail "assign's failure: $(cat "$work/cli.out")"

[ "$(bridge Disconnect)" = "()" ] || fail "disconnect failed"
[ "$(property Paired)" = "(<false>,)" ] || fail "still paired after Disconnect"
[ "$(property Phase)" = "(<'needsPairing'>,)" ] || fail "phase after Disconnect: $(property Phase)"
# The CLI says what is missing, as it does working alone.
LANGUAGE=en "$cli" children >"$work/cli.out" 2>&1 && fail "children succeeded unpaired: $(cat "$work/cli.out")"
grep -q "Not paired" "$work/cli.out" || fail "children unpaired: $(cat "$work/cli.out")"
LANGUAGE=en "$cli" devices >"$work/cli.out" 2>&1 && fail "devices succeeded without a folder: $(cat "$work/cli.out")"
grep -q "No iPhone backups found" "$work/cli.out" || fail "devices without a folder: $(cat "$work/cli.out")"

# A CLI's `run` asked of the application is not a command of the bus: the application still
# ends on SIGTERM, as a desktop session ends it.
kill -TERM "$app_pid"
for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.05; done
! kill -0 "$app_pid" 2>/dev/null || fail "the application survived SIGTERM"
app_pid=""

# The window's program answers the bus without the CLI's command table.
! grep -q "Expected on or off" "$app" || fail "the application carries the CLI's commands"
echo "ok: pair, choose, assign, scan and disconnect through the bus; failures by name"
