# An assigned iPhone whose lockdown takes the connection and then never answers. A CLI working
# alone never asks the phone anything: the scan goes ahead at once, and devices lists it as
# connected (usbmuxd says so) without waiting for its lockdown.
source "$(dirname "$0")/common.sh"

udid=00008110-001A2B3C4D5E801E
start_service --pairing-code SILENT --child child-maya=Maya
"$samples" "$work/Backup" --messages 20 >/dev/null
"$cli" pair SILENT >/dev/null
"$cli" choose-backup "$work/Backup" >/dev/null
"$cli" assign "$udid" child-maya >/dev/null

# usbmuxd's plist protocol, enough to list the phone and connect to it; then nothing more.
use_usbmuxd "$(cat <<'PY'
import plistlib, socket, struct, sys, threading
path, udid = sys.argv[1], sys.argv[2]
phone = {"DeviceID": 1, "MessageType": "Attached", "Properties": {
    "ConnectionType": "USB", "DeviceID": 1, "SerialNumber": udid, "ConnectionSpeed": 480000000,
    "LocationID": 0, "ProductID": 0x12a8}}
def send(client, tag, message):
    body = plistlib.dumps(message)
    client.sendall(struct.pack("<IIII", 16 + len(body), 1, 8, tag) + body)
def read(client, size):
    data = b""
    while len(data) < size:
        more = client.recv(size - len(data))
        if not more:
            raise EOFError
        data += more
    return data
def serve(client):
    try:
        while True:
            length, _, _, tag = struct.unpack("<IIII", read(client, 16))
            kind = plistlib.loads(read(client, length - 16)).get("MessageType")
            if kind == "ListDevices":
                send(client, tag, {"DeviceList": [phone]})
            elif kind == "Listen":
                send(client, tag, {"MessageType": "Result", "Number": 0})
                send(client, 0, phone)
            elif kind == "Connect":
                with open(path + ".connects", "a") as connects:
                    connects.write("connect\n")
                send(client, tag, {"MessageType": "Result", "Number": 0})
                while client.recv(4096):
                    pass
                return
            else:
                send(client, tag, {"MessageType": "Result", "Number": 3})
    except (EOFError, OSError):
        pass
server = socket.socket(socket.AF_UNIX)
server.bind(path)
server.listen(16)
while True:
    threading.Thread(target=serve, args=(server.accept()[0],), daemon=True).start()
PY
)" "$udid"

set +e
timeout 60 "$cli" scan >"$work/scan.out" 2>"$work/scan.err"
status=$?
set -e
[ "$status" = 0 ] || fail "scan ended with $status: $(cat "$work/scan.err")"
[ "$(held_items)" -gt 0 ] || fail "the scan sent nothing"

timeout 60 "$cli" devices --json >"$work/devices.json" || fail "devices failed: $(cat "$work/devices.json")"
[ "$(json "$work/devices.json" '[x["connection"] for x in d]')" = "['connected']" ] \
  || fail "devices should list the phone as connected: $(cat "$work/devices.json")"
[ ! -e "$work/usbmuxd.connects" ] || fail "a CLI working alone asked the phone $(wc -l <"$work/usbmuxd.connects") times"

# A backup asked of the running application that fails comes back as BackupFailed with the run's
# stage and result as names, and the CLI words it in its own language, not the application's.
mkdir -p "$work/bin"
printf '#!/bin/sh\nexit 3\n' >"$work/bin/idevicebackup2"
chmod +x "$work/bin/idevicebackup2"
PATH="$work/bin:$PATH" LANGUAGE=de start_app --background
answer=$(gdbus call --timeout 60 "${bus_object[@]}" --method app.quorva.bridge.Bridge1.BackUp "'$udid'" 2>&1) &&
  fail "the backup succeeded: $answer"
grep -q "app.quorva.bridge.Error.BackupFailed:" <<<"$answer" || fail "the backup answered $answer"
LANGUAGE=en "$cli" backup "$udid" >"$work/backup.out" 2>&1 && fail "the CLI's backup succeeded"
grep -q "The backup of Maya's iPhone failed" "$work/backup.out" || fail "the CLI's words: $(cat "$work/backup.out")"
devices=$(gdbus call "${bus_object[@]}" --method org.freedesktop.DBus.Properties.Get app.quorva.bridge.Bridge1 Devices)
grep -q "'failed', 'failed', '3'\]" <<<"$devices" || fail "the iPhone's activity on the bus: $devices"
