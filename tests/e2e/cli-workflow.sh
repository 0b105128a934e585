# The whole job through the CLI, as a parent would do it: pairing, the family's folder, whose
# iPhone each backup is, a scan, and what the service received, with the exit statuses a script
# relies on.
source "$(dirname "$0")/common.sh"

# A third child whose name tries to clear the screen, forge a line and turn the text around.
# Two more whose ids differ from Leo's only by a line break and an escape.
start_service --pairing-code ABC-123 --child child-maya=Maya --child child-leo=Leo \
  --child $'child-eve=Eve\e[2J\nFAKE: every check passed\xe2\x80\xae' \
  --child $'child-leo\n=Leo' --child $'child-leo\e=Leo'
"$samples" "$work/Backup" --devices 2 --messages 300 >/dev/null

# Before pairing no scan can run: exit 1, and it says why.
if "$cli" scan >"$work/out" 2>"$work/err"; then fail "scan before pairing must exit 1"; fi
grep -qi "not paired" "$work/err" || fail "scan before pairing should say why: $(cat "$work/err")"
[ "$(exit_status "$cli" inspect "$work/nowhere")" = 1 ] || fail "inspecting a missing folder must exit 1"

# A refused code fails the pairing (exit 1) and keeps nothing.
if "$cli" pair WRONG-CODE --json >"$work/refused.json"; then fail "a refused code must exit 1"; fi
[ "$(json "$work/refused.json" 'd["statusMessage"]')" = "Pairing needs attention" ] || fail "refused code status"

"$cli" pair abc-123 --json >"$work/pair.json"
[ "$(json "$work/pair.json" 'd["phase"]')" = needsSetup ] || fail "after pairing with two children: needsSetup"
"$cli" children >"$work/children.out"
grep -q "child-leo  Leo" "$work/children.out" || fail "children list: $(cat "$work/children.out")"
grep -q "child-eve  Eve" "$work/children.out" || fail "the odd name is still listed: $(cat "$work/children.out")"
if grep -q -e $'\e' -e '^FAKE' -e $'\xe2\x80\xae' "$work/children.out"; then fail "service text reached the terminal raw"; fi
if grep -q needsSetup "$work/children.out"; then fail "phases should be told in words: $(cat "$work/children.out")"; fi
grep -qF 'child-leo\n  Leo' "$work/children.out" && grep -qF 'child-leo\x1b  Leo' "$work/children.out" \
  || fail "ids that differ by a control character should print apart: $(cat -v "$work/children.out")"

# Failures go to standard error, the state to standard output.
mkdir "$work/empty"
if "$cli" choose-backup "$work/empty" >"$work/out" 2>"$work/err"; then fail "a folder without a backup must exit 1"; fi
grep -q "backup was found in that folder" "$work/err" && ! grep -q "backup was found" "$work/out" \
  || fail "the failure belongs on standard error: $(cat "$work/out" "$work/err")"

"$cli" choose-backup "$work/Backup" --json >"$work/choose.json"
[ "$(json "$work/choose.json" '(d["phase"], d["statusMessage"], [x["name"] for x in d["devices"]])')" \
  = "('needsSetup', 'Choose whose iPhone each backup is', [\"Maya's iPhone\", 'Noah’s iPhone'])" ] \
  || fail "choosing the folder lists its iPhones and reads none: $(cat "$work/choose.json")"

# Two iPhones in the folder and neither assigned: nothing is read or sent, and it says what to do.
if "$cli" scan >"$work/out" 2>"$work/err"; then fail "a scan with no iPhone assigned must exit 1"; fi
grep -q "Choose whose iPhone each backup is" "$work/err" || fail "it should say what to do: $(cat "$work/err")"
[ "$(held_items)" = 0 ] || fail "nothing may be sent before an iPhone is assigned"
"$cli" devices --json >"$work/devices.json"
maya=$(json "$work/devices.json" '[x["id"] for x in d if x["name"].startswith("Maya")][0]')
[ "$(json "$work/devices.json" '[x["childId"] for x in d]')" = "[None, None]" ] || fail "devices: $(cat "$work/devices.json")"
if "$cli" assign "$maya" child-nobody >"$work/out" 2>"$work/err"; then fail "an iPhone cannot be assigned to a stranger"; fi
grep -q "child-nobody" "$work/err" || fail "the refusal should name the id: $(cat "$work/err")"
[ "$("$cli" assign "$maya" child-maya)" = "Maya's iPhone is assigned to Maya." ] || fail "assign failed"
"$cli" devices >"$work/devices.out"
grep -A1 "Maya's iPhone (iPhone14,5)" "$work/devices.out" | grep -q "last backup .*, finished; child: Maya$" \
  || fail "devices should say the backup's date, state and child: $(cat "$work/devices.out")"

"$cli" scan --json >"$work/scan.json" || fail "scan failed: $(cat "$work/scan.json")"
[ "$(json "$work/scan.json" 'd["phase"]')" = ready ] || fail "scan should end ready"
sent=$(json "$work/scan.json" 'd["lastCandidateCount"]')
[ "$sent" -gt 0 ] || fail "the sample backup should yield candidates"
[ "$(json "$work/scan.json" 'd["statusMessage"].split("\n")[0]')" = "Scan complete. $sent focused candidates reviewed by Quorva." ] \
  || fail "completion text: $(json "$work/scan.json" 'd["statusMessage"]')"
# The children without an iPhone and the unassigned one are said with it.
[ "$(json "$work/scan.json" 'd["attention"][-1]')" = "Noah’s iPhone is in the backup folder and not assigned to anyone." ] \
  || fail "the unassigned iPhone should be said: $(json "$work/scan.json" 'd["attention"]')"
[ "$(held_items)" = "$sent" ] || fail "the service should hold every candidate sent"
grep -q "bridgeToken\|Bearer" "$work/scan.json" && fail "the token must never be printed"
"$cli" children --json >"$work/children.json"
[ "$(json "$work/children.json" '[(c["id"], c["name"][:3], c["deviceId"]) for c in d["children"]]')" \
  = "[('child-maya', 'May', '$maya'), ('child-leo', 'Leo', None), ('child-eve', 'Eve', None), ('child-leo\\n', 'Leo', None), ('child-leo\\x1b', 'Leo', None)]" ] \
  || fail "children --json: $(cat "$work/children.json")"

"$cli" status --json >"$work/status.json"
[ "$(json "$work/status.json" 'd["acceptedCount"]')" = "$sent" ] || fail "the checkpoint should hold what was accepted"
[ "$(json "$work/status.json" '[(c["name"], c["deviceName"], c["acceptedCount"]) for c in d["children"] if c["deviceId"]]')" \
  = "[('Maya', \"Maya's iPhone\", $sent)]" ] || fail "status should list each child's iPhone: $(cat "$work/status.json")"
[ "$(json "$work/status.json" '[x["name"] for x in d["unassignedDevices"]]')" = "['Noah’s iPhone']" ] \
  || fail "status should list the unassigned iPhones: $(cat "$work/status.json")"
# The same iPhones backed up weeks ago: status says the assigned one is old, with its date.
"$samples" "$work/Old" --devices 2 --messages 30 --now 2026-01-10T12:00:00Z >/dev/null
"$cli" choose-backup "$work/Old" >/dev/null
"$cli" status >"$work/status-old"
grep -q "Maya's iPhone was last backed up on 10 Jan; there is nothing newer to check." "$work/status-old" \
  || fail "status should say the backup is old: $(cat "$work/status-old")"
"$cli" choose-backup "$work/Backup" >/dev/null

# run prints each settled state as it happens, one JSON object a line, also into a file.
"$cli" run --json >"$work/run.jsonl" 2>"$work/run.err" &
run_pid=$!
for _ in $(seq 200); do
  grep -q '"lastScanAt":"' "$work/run.jsonl" && break
  sleep 0.05
done
kill -TERM "$run_pid"
wait "$run_pid" || fail "run should end with 0 on SIGTERM: $(cat "$work/run.err")"
python3 - "$work/run.jsonl" <<'PY' || fail "run --json: $(cat "$work/run.jsonl")"
import json, sys
states = [json.loads(line) for line in open(sys.argv[1])]
phases = [s["phase"] for s in states]
assert "scanning" in phases and phases[-1] == "ready", phases
for s in states:
    assert s["phase"] != "scanning" or s["statusMessage"].startswith("Checking the latest "), s
    assert s["phase"] != "ready" or not s["statusMessage"].startswith(("Starting Quorva Bridge", "Checking the latest ")), s
assert all(a != b for a, b in zip(states, states[1:])), "a state printed twice"
PY

# Maya's new iPhone: assign says which one it released.
noah=$(json "$work/devices.json" '[x["id"] for x in d if x["name"].startswith("Noah")][0]')
"$cli" assign "$noah" child-maya >"$work/assign.out"
grep -q "Maya's iPhone is no longer assigned to anyone and is not read." "$work/assign.out" \
  || fail "assign should say which iPhone it released: $(cat "$work/assign.out")"

# Disconnecting forgets everything locally.
"$cli" disconnect >/dev/null
"$cli" status --json >"$work/status2.json"
[ "$(json "$work/status2.json" '(d["paired"], d["children"], d["acceptedCount"])')" = "(False, [], 0)" ] \
  || fail "disconnect should forget the pairing: $(cat "$work/status2.json")"
echo "ok: paired, chose the folder, assigned Maya's iPhone, sent $sent candidates, disconnected"
