# Shared by the end-to-end scripts: arguments, a scratch folder, the development service.
set -euo pipefail
cli=$1 service=$2 samples=$3 port=$4 app=${5:-}
work=$(mktemp -d)
service_pid="" app_pid="" usbmuxd_pid=""
cleanup() {
  local status=$?
  if [ -n "$app_pid" ]; then kill "$app_pid" 2>/dev/null || true; wait "$app_pid" 2>/dev/null || true; fi
  if [ -n "$usbmuxd_pid" ]; then kill "$usbmuxd_pid" 2>/dev/null || true; fi
  if [ -n "$service_pid" ]; then kill "$service_pid" 2>/dev/null || true; wait "$service_pid" 2>/dev/null || true; fi
  rm -rf "$work"
  exit "$status"
}
trap cleanup EXIT

fail() { echo "FAILED: $*" >&2; exit 1; }

# start_service [devservice options…]: starts it on $port and waits until it listens.
start_service() {
  "$service" --port "$port" "$@" >"$work/service.out" 2>"$work/service.log" &
  service_pid=$!
  for _ in $(seq 100); do
    grep -q "listening on" "$work/service.out" 2>/dev/null && return 0
    kill -0 "$service_pid" 2>/dev/null || break
    sleep 0.05
  done
  cat "$work/service.log" >&2
  fail "the development service did not start"
}

# use_usbmuxd PROGRAM [ARGUMENTS…]: the Python PROGRAM stands in for usbmuxd at the socket it is
# given first, for the CLI runs that follow.
use_usbmuxd() {
  local program=$1
  shift
  python3 -c "$program" "$work/usbmuxd" "$@" &
  usbmuxd_pid=$!
  for _ in $(seq 100); do [ -S "$work/usbmuxd" ] && break; sleep 0.05; done
  export USBMUXD_SOCKET_ADDRESS="UNIX:$work/usbmuxd"
}

# service_page PAGE EXPRESSION: a value from a development page of the running service
# ("received": the requests it received, "dump": what it holds), EXPRESSION applied to `d`.
service_page() {
  python3 - "http://127.0.0.1:$port/dev/$1" "$2" <<'PY'
import collections, json, sys, urllib.request
d = json.load(urllib.request.build_opener(urllib.request.ProxyHandler({})).open(sys.argv[1]))
print(eval(sys.argv[2]))
PY
}

# held_items: how many items the service holds.
held_items() { service_page dump 'len(d["items"])'; }

# ingest_batches: how many ingest batches the service received.
ingest_batches() { service_page received 'sum(r["path"].endswith("/ingest/batch") for r in d["requests"])'; }

# json FILE EXPRESSION: a value from a JSON file, EXPRESSION applied to `d` in Python.
json() { python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(eval(sys.argv[2]))' "$1" "$2"; }

# exit_status COMMAND…: the command's exit status, its output discarded.
exit_status() { set +e; "$@" >/dev/null 2>&1; echo $?; set -e; }

# sent_counts: how many distinct items the service received in batches, then the most times one
# of them was sent.
sent_counts() {
  service_page received '(lambda sent: f"{len(sent)} {max(sent.values(), default=0)}")(collections.Counter(
    i["clientItemId"] for r in d["requests"] if r["path"].endswith("/ingest/batch") for i in r["body"]["items"]))'
}

# start_app [OPTIONS…]: starts the application offscreen and waits until it answers on the bus.
bus_object=(--session --dest app.quorva.bridge --object-path /app/quorva/bridge)
start_app() {
  QT_QPA_PLATFORM=offscreen "$app" "$@" >"$work/app.out" 2>&1 &
  app_pid=$!
  for _ in $(seq 200); do
    gdbus introspect "${bus_object[@]}" >/dev/null 2>&1 && return 0
    kill -0 "$app_pid" 2>/dev/null || fail "the application did not start: $(cat "$work/app.out")"
    sleep 0.05
  done
  fail "the application did not answer on the bus: $(cat "$work/app.out")"
}
