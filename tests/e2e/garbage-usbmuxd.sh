# A usbmuxd that answers every request with bytes that are no message: the CLI still says what
# it knows and ends, instead of waiting forever on the socket.
source "$(dirname "$0")/common.sh"

start_service --pairing-code GARBAGE --child child-maya=Maya
"$samples" "$work/Backup" --messages 20 >/dev/null
"$cli" pair GARBAGE >/dev/null
"$cli" choose-backup "$work/Backup" >/dev/null
"$cli" assign 00008110-001A2B3C4D5E801E child-maya >/dev/null

# To whoever connects: a header that promises gigabytes, then a trickle of bytes that never ends,
# so libusbmuxd's read neither completes nor times out.
use_usbmuxd "$(cat <<'PY'
import socket, struct, sys, threading, time
server = socket.socket(socket.AF_UNIX)
server.bind(sys.argv[1])
server.listen(16)
def answer(client):
    try:
        client.recv(4096)
        client.sendall(struct.pack("<IIII", 0x66000000, 1, 8, 1))
        while True:
            client.sendall(bytes(64))
            time.sleep(0.5)
    except OSError:
        pass
while True:
    threading.Thread(target=answer, args=(server.accept()[0],), daemon=True).start()
PY
)"

for command in devices scan; do
  set +e
  timeout 30 "$cli" "$command" >"$work/$command.out" 2>"$work/$command.err"
  status=$?
  set -e
  [ "$status" != 124 ] || fail "$command did not end: $(cat "$work/$command.out" "$work/$command.err")"
  [ "$status" = 0 ] || fail "$command failed ($status): $(cat "$work/$command.err")"
done
grep -q "00008110-001A2B3C4D5E801E" "$work/devices.out" || fail "devices lists the backup: $(cat "$work/devices.out")"
