# Shared by the end-to-end scripts: arguments, a scratch folder, the development service.
set -euo pipefail
cli=$1 service=$2 samples=$3 port=$4 app=${5:-}
work=$(mktemp -d)
service_pid="" app_pid=""
cleanup() {
  local status=$?
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# start_service [devservice options…]: starts it on $port and waits until it listens.
start_service() {
  "$service" --port "$port" --database "$work/service.sqlite" "$@" >"$work/service.out" 2>"$work/service.log" &
  service_pid=$!
  for _ in $(seq 100); do
    grep -q "listening on" "$work/service.out" 2>/dev/null && return 0
    kill -0 "$service_pid" 2>/dev/null || break
    sleep 0.05
  done
  cat "$work/service.log" >&2
  fail "the development service did not start"
}

# sql QUERY: one value from the service's database.
sql() { python3 -c 'import sqlite3,sys; print(sqlite3.connect(sys.argv[1]).execute(sys.argv[2]).fetchone()[0])' "$work/service.sqlite" "$1"; }

# json FILE EXPRESSION: a value from a JSON file, EXPRESSION applied to `d` in Python.
json() { python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(eval(sys.argv[2]))' "$1" "$2"; }

# exit_status COMMAND…: the command's exit status, its output discarded.
exit_status() { set +e; "$@" >/dev/null 2>&1; echo $?; set -e; }

# sent_counts: how many distinct items the service received in batches, then the most times one
# of them was sent.
sent_counts() {
  python3 - "$work/service.sqlite" <<'PY'
import collections, json, sqlite3, sys
rows = sqlite3.connect(sys.argv[1]).execute("SELECT body FROM received_requests WHERE path LIKE '%/ingest/batch'")
sent = collections.Counter(item["clientItemId"] for (body,) in rows for item in json.loads(body)["items"])
print(len(sent), max(sent.values(), default=0))
PY
}
