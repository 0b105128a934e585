# The command line as a shell user meets it before any pairing: help, version, mistakes, and the
# commands that need no service.
source "$(dirname "$0")/common.sh"

commands="inspect classify pair children choose-backup devices assign backup scan run status disconnect launch-at-login"

# Help and version work in any terminal: no display, and no session bus to reach a secret store.
offline() { env -u DISPLAY -u WAYLAND_DISPLAY DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent "$cli" "$@"; }
offline --help >"$work/help" || fail "--help exits $?"
[[ "$(offline --version)" =~ ^quorva-bridge-cli\ [0-9]+\.[0-9]+\.[0-9]+$ ]] || fail "--version: $(offline --version)"
for command in $commands; do
  grep -q "^  $command " "$work/help" || fail "--help should list $command"
  offline "$command" --help >"$work/command-help" 2>"$work/command-err" || fail "$command --help exits $?"
  head -1 "$work/command-help" | grep -q "^Usage: quorva-bridge-cli $command" || fail "$command --help: $(head -1 "$work/command-help")"
  [ ! -s "$work/command-err" ] || fail "$command --help wrote to standard error: $(cat "$work/command-err")"
done

# wrong HINT ARGUMENTS…: exit 2, nothing on standard output, one line of error and where to look.
wrong() {
  local hint=$1 status
  shift
  set +e; "$cli" "$@" >"$work/out" 2>"$work/err"; status=$?; set -e
  [ "$status" = 2 ] || fail "'$*' must exit 2, not $status"
  [ ! -s "$work/out" ] || fail "'$*' printed on standard output: $(cat "$work/out")"
  [ "$(wc -l <"$work/err")" = 2 ] && [ "$(sed -n 2p "$work/err")" = "Try '$hint --help'." ] \
    || fail "'$*' should say what is wrong and where to look: $(cat "$work/err")"
}
wrong quorva-bridge-cli
wrong quorva-bridge-cli bogus-command
wrong "quorva-bridge-cli pair" pair
wrong "quorva-bridge-cli inspect" inspect "$work" --at yesterday
wrong "quorva-bridge-cli launch-at-login" launch-at-login maybe

[ "$("$cli" classify "See you at lunch")" = "no rule matched" ] || fail "classify should say when no rule matched"

# Before any choice, the folder has not been chosen; nothing has expired.
"$cli" status >"$work/status"
grep -q "^Backup folder: *none chosen$" "$work/status" || fail "status without a folder: $(cat "$work/status")"
"$cli" status --json >"$work/status.json"
[ "$(json "$work/status.json" '(d["backupFolder"], d["backupFolderProblem"])')" = "(None, None)" ] \
  || fail "status --json without a folder: $(cat "$work/status.json")"
# In the person's language where Bridge speaks it.
LANGUAGE=de "$cli" status >"$work/status-de"
grep -q "^Backup-Ordner: *keiner gewählt$" "$work/status-de" || fail "status in German: $(cat "$work/status-de")"

# Dates in the user's time zone and words: 20:00 UTC is the next morning in Tokyo.
"$samples" "$work/backup" --now 2026-03-01T20:00:00Z >/dev/null
TZ=Asia/Tokyo "$cli" inspect "$work/backup" --at 2026-03-01T20:30:00Z >"$work/inspect"
grep "backed up:" "$work/inspect" | grep -qE "Mar 2, 2026.*(JST|GMT\+9)" || fail "backup date: $(grep "backed up" "$work/inspect")"
if grep -qE "[0-9]T[0-9:.]+Z" "$work/inspect"; then fail "human output should not print machine dates"; fi
echo "ok: help, version, wrong command lines, classify, status in English and German, and dates"
