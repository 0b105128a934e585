# A lock file that a power loss, a crash or a renamed computer left broken beside the
# preferences does not stop the application: it takes the lock over at start, scans, and a scan
# asked of it from the CLI is answered.
source "$(dirname "$0")/common.sh"
[ -n "$app" ] || fail "the application's path is missing"

start_service --pairing-code BROKEN-LOCK --child child-maya=Maya
"$samples" "$work/backup" --messages 40 --candidate-share 1.0 >/dev/null
"$cli" pair BROKEN-LOCK >/dev/null
"$cli" choose-backup "$work/backup" >/dev/null
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null
preferences=$(find "$XDG_CONFIG_HOME" -name "*.conf" -path "*uorva*" | head -1)
[ -n "$preferences" ] || fail "no preferences were written"
lock="$(dirname "$preferences")/bridge.lock"
heartbeats() { service_page received 'sum(r["path"].endswith("/heartbeat") for r in d["requests"])'; }

for kind in empty garbage folder dangling-link another-hosts-process; do
  rm -rf "$lock"
  case $kind in
    empty) : >"$lock" ;;
    garbage) printf '\001\377 not a lock \177' >"$lock" ;;
    folder) mkdir -p "$lock/inside" ;;
    dangling-link) ln -s "$work/nowhere/lock" "$lock" ;;
    another-hosts-process) printf '4194301\nquorva-bridge\nother-computer\n' >"$lock" ;;
  esac
  before=$(heartbeats)
  start_app --background
  timeout 60 "$cli" scan >"$work/scan.out" 2>&1 || fail "$kind: the scan asked of the application failed: $(cat "$work/scan.out")"
  [ "$(heartbeats)" -gt "$before" ] || fail "$kind: the application sent no heartbeat"
  kill "$app_pid"; wait "$app_pid" 2>/dev/null || true; app_pid=""
done
echo "ok: the application takes each broken lock over and answers"
