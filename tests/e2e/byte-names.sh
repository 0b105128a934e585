# A folder whose name is not UTF-8 (the byte 0xff, as names copied from an old disk may hold) is
# inspected and chosen from the CLI, working alone and through the running application.
source "$(dirname "$0")/common.sh"
[ -n "$app" ] || fail "the application's path is missing"

start_service --pairing-code BYTE-NAMES --child child-maya=Maya
"$samples" "$work/backup" --messages 30 --candidate-share 1.0 >/dev/null
odd="$work/"$'\xff'"-backups"
mv "$work/backup" "$odd"

"$cli" inspect "$odd" >"$work/inspect.out" 2>&1 || fail "inspect: $(cat "$work/inspect.out")"
"$cli" pair BYTE-NAMES >/dev/null
"$cli" choose-backup "$odd" >"$work/choose.out" 2>&1 || fail "choose-backup alone: $(cat "$work/choose.out")"
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null || fail "assign failed"
"$cli" scan >"$work/scan.out" 2>&1 || fail "scan: $(cat "$work/scan.out")"
[ "$(held_items)" -gt 0 ] || fail "the scan sent nothing"

start_app --background
"$cli" choose-backup "$odd" >"$work/choose.out" 2>&1 || fail "choose-backup through the application: $(cat "$work/choose.out")"
"$cli" scan >"$work/scan.out" 2>&1 || fail "scan through the application: $(cat "$work/scan.out")"
echo "ok: a folder named in bytes that are not UTF-8"
