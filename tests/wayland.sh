#!/usr/bin/env bash
# The window on a Wayland session (a headless Weston with its X bridge): with no platform
# chosen by the user it runs through X, so it keeps its close box only, its whole caption
# and its place in the middle of the screen.
set -eu
probe=$1
runtime=$(mktemp -d)
chmod 700 "$runtime"
export XDG_RUNTIME_DIR=$runtime
socket=kestramo-wayland-$$
weston --backend=headless-backend.so --socket="$socket" --xwayland --idle-time=0 \
    --width=1024 --height=768 >"$runtime/weston.log" 2>&1 &
weston_pid=$!
trap 'kill $weston_pid 2>/dev/null; wait $weston_pid 2>/dev/null; rm -rf "$runtime"' EXIT
for _ in $(seq 50); do [ -S "$runtime/$socket" ] && break; sleep 0.1; done
[ -S "$runtime/$socket" ] || { echo "FAIL: Weston did not start"; cat "$runtime/weston.log"; exit 1; }
# Weston's X bridge answers on the first free display it announces in its log.
display=""
for _ in $(seq 50); do
    display=$(grep -o 'xserver listening on display :[0-9]*' "$runtime/weston.log" | grep -o ':[0-9]*$' || true)
    [ -n "$display" ] && break
    sleep 0.1
done
[ -n "$display" ] || { echo "FAIL: no X bridge"; cat "$runtime/weston.log"; exit 1; }

output=$(env -u QT_QPA_PLATFORM WAYLAND_DISPLAY="$socket" DISPLAY="$display" "$probe" 2>&1)
printf '%s\n' "$output"
fail=0
expect() { printf '%s\n' "$output" | grep -qx "$1" || { echo "FAIL: expected '$1'"; fail=1; }; }
expect "platform: xcb"
expect "buttons: close yes, minimise no, maximise no"
expect "caption: www.kestramo.bg  Физическа култура и спорт - реакция"
expect "client: 476x345, fixed yes"
offset=$(printf '%s\n' "$output" | sed -n 's/^centre offset: //p')
x=${offset%,*}; y=${offset#*,}
if [ "${x#-}" -gt 1 ] || [ "${y#-}" -gt 1 ]; then echo "FAIL: not centred ($offset)"; fail=1; fi
# A platform the user chose stands.
chosen=$(env QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY="$socket" DISPLAY="$display" "$probe" 2>/dev/null | sed -n 's/^platform: //p')
[ "$chosen" = wayland ] || { echo "FAIL: the user's choice of wayland gave '$chosen'"; fail=1; }
[ $fail -eq 0 ] && echo "wayland: 1 passed, 0 failed"
exit $fail
