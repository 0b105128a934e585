# The whole job through the CLI, as a parent would do it: pairing, the backup, the child, a
# scan, and what the service received, with the exit statuses a script relies on.
source "$(dirname "$0")/common.sh"

# A third child whose name tries to clear the screen, forge a line and turn the text around.
start_service --pairing-code ABC-123 --child child-maya=Maya --child child-leo=Leo \
  --child $'child-eve=Eve\e[2J\nFAKE: every check passed\xe2\x80\xae'
"$samples" "$work/Backup" --devices 2 --messages 300 >/dev/null

# Before pairing no scan can run: exit 1, and it says why.
if "$cli" scan >"$work/out" 2>"$work/err"; then fail "scan before pairing must exit 1"; fi
grep -q "not paired" "$work/err" || fail "scan before pairing should say why: $(cat "$work/err")"
[ "$(exit_status "$cli" bogus-command)" = 2 ] || fail "an unknown command must exit 2"
[ "$(exit_status "$cli" pair)" = 2 ] || fail "pair without a code must exit 2"
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

"$cli" choose-backup "$work/Backup" --json >"$work/choose.json"
[ "$(json "$work/choose.json" 'd["selectedBackup"]["deviceName"]')" = "Maya's iPhone" ] \
  || fail "the newest backup should be chosen"
"$cli" select-child child-maya >/dev/null

"$cli" scan --json >"$work/scan.json" || fail "scan failed: $(cat "$work/scan.json")"
[ "$(json "$work/scan.json" 'd["phase"]')" = ready ] || fail "scan should end ready"
sent=$(json "$work/scan.json" 'd["lastCandidateCount"]')
[ "$sent" -gt 0 ] || fail "the sample backup should yield candidates"
[ "$(json "$work/scan.json" 'd["statusMessage"]')" = "Scan complete. $sent focused candidates reviewed by Quorva." ] \
  || fail "completion text: $(json "$work/scan.json" 'd["statusMessage"]')"
[ "$(sql "SELECT COUNT(*) FROM items")" = "$sent" ] || fail "the service should hold every candidate sent"
grep -q "bridgeToken\|Bearer" "$work/scan.json" && fail "the token must never be printed"

"$cli" status --json >"$work/status.json"
[ "$(json "$work/status.json" 'd["acceptedCount"]')" = "$sent" ] || fail "the checkpoint should hold what was accepted"

# Disconnecting forgets everything locally.
"$cli" disconnect >/dev/null
"$cli" status --json >"$work/status2.json"
[ "$(json "$work/status2.json" '(d["paired"], d["selectedChildID"], d["acceptedCount"])')" = "(False, None, 0)" ] \
  || fail "disconnect should forget the pairing: $(cat "$work/status2.json")"
echo "ok: paired, chose backup and child, sent $sent candidates, disconnected"
