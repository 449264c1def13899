#!/usr/bin/env bash
# Typing into a native Wayland program through the compositor's virtual keyboard: a headless
# sway (run as an unprivileged user, as sway refuses root), our Qt receiver on Qt's wayland
# platform with the focus, and the key sender typing a text with LF, BS and DL among it. The
# receiver's text is compared exactly, the focus never leaves it, not even while our window,
# typing into other programs through Xwayland, is shown and the pointer crosses it, and the
# latency from each fetch to its arrival is printed.
# Usage: wayland_keys.sh ROUTE_PROBE RECEIVER GLIDTAVLA POINTER_PROBE
source "$(dirname "$0")/lib.sh"
probe=$1 receiver=$2 program=$3 pointer=$4
export LC_ALL=C.UTF-8

user=nobody
[ "$(id -u)" -ne 0 ] && user=$(id -un)
runtime="$E2E_TMP/runtime"
mkdir -m 700 "$runtime"
chown "$user" "$runtime" "$E2E_TMP"
printf 'xwayland enable\ndefault_border none\n' >"$E2E_TMP/sway.conf"
chmod 644 "$E2E_TMP/sway.conf"
sway_env=(XDG_RUNTIME_DIR="$runtime" WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1
          WLR_RENDERER=pixman WLR_HEADLESS_OUTPUTS=1)
if [ "$(id -u)" -eq 0 ]; then
  setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups \
    env -i PATH="$PATH" "${sway_env[@]}" sway -c "$E2E_TMP/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
else
  env "${sway_env[@]}" sway -c "$E2E_TMP/sway.conf" >"$E2E_TMP/sway.log" 2>&1 &
fi
sway_pid=$!
E2E_PIDS+=($sway_pid)
for _ in $(seq 100); do ls "$runtime"/wayland-* >/dev/null 2>&1 && break; sleep 0.05; done
socket=$(ls "$runtime" | grep -E '^wayland-[0-9]+$' | head -n1) ||
  fail "sway did not start: $(tail -n 5 "$E2E_TMP/sway.log")"
export XDG_RUNTIME_DIR="$runtime" WAYLAND_DISPLAY="$socket"
export SWAYSOCK=$(ls "$runtime"/sway-ipc.*.sock)
unset DISPLAY

focused() {
  swaymsg -t get_tree | /usr/bin/python3 -c '
import json, sys
def walk(node):
    if node.get("focused"): return node.get("app_id") or node.get("name") or ""
    for child in node.get("nodes", []) + node.get("floating_nodes", []):
        found = walk(child)
        if found is not None: return found
print(walk(json.load(sys.stdin)) or "")'
}

QT_QPA_PLATFORM=wayland "$receiver" "$E2E_TMP/received.txt" "$E2E_TMP/arrivals.log" \
  2>"$E2E_TMP/receiver.err" &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ "$(focused)" = e2e_receiver ] && break; sleep 0.05; done
[ "$(focused)" = e2e_receiver ] || fail "the receiver never had the focus: $(focused)"

# Watch the focus from here on.
( while sleep 0.02; do focused >>"$E2E_TMP/focus.log"; done ) &
E2E_PIDS+=($!)

# Our window, typing into other programs, started by the compositor as its own user would be
# (so it may use Xwayland), then the pointer across it.
mkdir -p "$E2E_TMP/home"
chown "$user" "$E2E_TMP/home"
swaymsg exec "cd '$E2E_TMP/home' && HOME='$E2E_TMP/home' '$program' --send-keys >'$E2E_TMP/app.log' 2>&1" >/dev/null
for _ in $(seq 100); do pgrep -f -- "$program --send-keys" >/dev/null && break; sleep 0.05; done
sleep 2
pgrep -f -- "$program --send-keys" >/dev/null || fail "the window did not start: $(cat "$E2E_TMP/app.log")"
for xy in "100 100" "300 300" "500 450" "700 500" "200 600"; do
  swaymsg seat seat0 cursor set $xy >/dev/null
  sleep 0.1
done

text=$'Hej Åsa, ÄR du där?\nfel\x01 1+1=3\b2 €'
expected=$'Hej Åsa, ÄR du där?\n 1+1=2 €'
"$probe" virtual-keyboard "$text" >"$E2E_TMP/sent.log" 2>"$E2E_TMP/probe.err" ||
  fail "the sender failed: $(cat "$E2E_TMP/probe.err")"
for _ in $(seq 100); do [ "$(cat "$E2E_TMP/received.txt" 2>/dev/null)" = "$expected" ] && break; sleep 0.05; done
[ "$(cat "$E2E_TMP/received.txt")" = "$expected" ] ||
  fail "received: $(cat "$E2E_TMP/received.txt" 2>/dev/null) expected: $expected"
sleep 0.1
others=$(sort -u "$E2E_TMP/focus.log" | grep -vx e2e_receiver || true)
[ -z "$others" ] || fail "the focus left the receiver for: $others"

# Latency: many characters, each fetch's keys sent against the receiver's change for it.
: >"$E2E_TMP/arrivals.log"
long=$(printf 'abcdefghij%.0s' $(seq 30))
before=$(wc -l <"$E2E_TMP/arrivals.log")
"$probe" virtual-keyboard "$long" 30 >"$E2E_TMP/sent.log" 2>"$E2E_TMP/probe.err" ||
  fail "the sender failed: $(cat "$E2E_TMP/probe.err")"
for _ in $(seq 100); do [ "$(wc -l <"$E2E_TMP/arrivals.log")" -ge 300 ] && break; sleep 0.05; done
paste -d' ' "$E2E_TMP/sent.log" <(cut -d' ' -f1 "$E2E_TMP/arrivals.log" | tail -n 300) |
  awk '{ print ($2 - $1) / 1e6 }' | sort -n |
  awk '{ v[NR] = $1 } END { printf "virtual keyboard latency over %d characters: median %.2f ms, 99th percentile %.2f ms\n", NR, v[int(NR * 0.5) + 1], v[int(NR * 0.99)] }'
pkill -u "$user" -f -- "$program --send-keys" || true  # ours: it runs as $user
sleep 0.5

# Written by gliding over our panel with the compositor's own pointer, a capital with the left
# button held among it: the press on the panel must not take the receiver's keyboard.
swaymsg exec "cd '$E2E_TMP/home' && HOME='$E2E_TMP/home' '$program' --send-keys --start >'$E2E_TMP/app.log' 2>&1" >/dev/null
app=""
for _ in $(seq 100); do app=$(pgrep -f -- "$program --send-keys --start" || true); [ -n "$app" ] && break; sleep 0.05; done
[ -n "$app" ] || fail "the window did not start"
export DISPLAY=$(tr '\0' '\n' <"/proc/$app/environ" | sed -n 's/^DISPLAY=//p')
[ -n "$DISPLAY" ] || fail "the window was not started on Xwayland"
# Xwayland lets in its own user only.
x11() {
  if [ "$(id -u)" -eq 0 ]; then
    setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups env DISPLAY="$DISPLAY" "$@"
  else
    "$@"
  fi
}
WIN=""
for _ in $(seq 100); do
  WIN=$(x11 xdotool search --name 'Glidtavla Ver' 2>/dev/null | head -n1 || true)
  [ -n "$WIN" ] && break; sleep 0.05
done
[ -n "$WIN" ] || fail "no panel: $(cat "$E2E_TMP/app.log")"
sleep 1
eval "$(x11 xdotool getwindowgeometry --shell "$WIN")"  # an unmanaged window: X, Y are the layout's
WX=$X WY=$Y
# The board stands below the menu bar: its first white row at the window's left edge.
MENU=$(x11 import -window "$WIN" -crop 1x80+0+0 txt:- 2>/dev/null |
       awk -F'[,:]' '/#FFFFFF/ && !found { print $2; found = 1 }')
[ -n "$MENU" ] || fail "could not find the board in the panel"
# The glide's steps for the test's pointer device, which moves in the layout's pixels.
steps=()
at() { steps+=("$((WX + $1)),$((WY + MENU + $2))"); }
read -r width height < <(swaymsg -t get_outputs | /usr/bin/python3 -c '
import json, sys
rect = json.load(sys.stdin)[0]["rect"]; print(rect["width"], rect["height"])')
before=$(cat "$E2E_TMP/received.txt")
for cell in "5 1" "2 4" "5 3"; do write_cell $cell; done   # hej
at 125 100; steps+=(down); write_cell 5 1; steps+=(up)      # H, shifted by the button
for cell in "2 4" "5 3" "6 6"; do write_cell $cell; done   # ej, LF
"$pointer" "$width" "$height" "${steps[@]}" 2>"$E2E_TMP/pointer.err" ||
  fail "the pointer failed: $(cat "$E2E_TMP/pointer.err")"
expected="${before}hejHej"$'\n'
for _ in $(seq 100); do
  got=$(cat "$E2E_TMP/received.txt"; echo .)
  [ "$got" = "$expected." ] && break; sleep 0.05
done
[ "$got" = "$expected." ] || fail "after a capital with the button the receiver holds: ${got%.}"
pkill -u "$user" -f -- "$program --send-keys" || true  # ours: it runs as $user

# A compositor stopped while keys are typed: the sender never waits for it, and the first key
# after it has not answered for a while ends typing with one message of ours.
started=$(date +%s)
"$probe" virtual-keyboard "abcdef" 1000 >/dev/null 2>"$E2E_TMP/probe.err" &
typing=$!
sleep 1.5
kill -STOP "$sway_pid"
if wait "$typing"; then kill -CONT "$sway_pid"; fail "typing went on into a stopped compositor"; fi
kill -CONT "$sway_pid"
grep -qx "Kompositorn svarar inte, så inget mer skrivs i andra program." "$E2E_TMP/probe.err" ||
  fail "a stopped compositor said: $(cat "$E2E_TMP/probe.err")"
[ $(($(date +%s) - started)) -lt 15 ] || fail "the sender waited for the stopped compositor"
echo "wayland_keys: the text arrived exactly, the focus stayed with the receiver"
