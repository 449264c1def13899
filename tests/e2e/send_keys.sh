#!/usr/bin/env bash
# The real program under Xvfb and a window manager with --send-keys: a receiving program has
# the focus, START turns the window into a panel along the screen's foot that leaves the
# receiver in sight, and what is written over Glidtavla's board with real pointer moves and a
# real left-button hold arrives there as typed keys; the focus never leaves the receiver. Then
# a server without XTEST: the mode refuses with a message and stays off.
# Usage: send_keys.sh GLIDTAVLA OUTPUT_DIR RECEIVER
source "$(dirname "$0")/lib.sh"
program=$1 out=$2 receiver=$3

e2e_xvfb
e2e_window_manager
work="$E2E_TMP/work"
mkdir -p "$work"
"$receiver" "$work/received.txt" "$work/arrivals.log" "$work/states.log" \
  >"$E2E_TMP/receiver.log" 2>&1 &
RPID=$!
E2E_PIDS+=($RPID)
RWIN=$(wait_for_window '^Mottagare$')
[ -n "$RWIN" ] || fail "the receiver did not start"
xdotool windowfocus --sync "$RWIN"

e2e_start "$program" "$work" --send-keys
xdotool getwindowname "$WIN" | grep -q 'Skriver i andra program' || fail "the caption does not show the mode"
focus_is_receiver() {
  [ "$(xdotool getwindowfocus)" = "$RWIN" ] || fail "the focus left the receiver ($1)"
}
focus_is_receiver "start"

click_at 717 516                    # START
focus_is_receiver "START"
sleep 0.5
e2e_window_moved
eval "$(xdotool getwindowgeometry --shell "$RWIN")"
RX=$X RY=$Y RW=$WIDTH RH=$HEIGHT
eval "$(xdotool getwindowgeometry --shell "$WIN")"
[ "$WIDTH" -lt 800 ] && [ "$HEIGHT" -lt 600 ] || fail "no compact panel: ${WIDTH}x$HEIGHT"
[ $((Y + HEIGHT)) -gt 900 ] || fail "the panel is not at the screen's foot (y $Y)"
[ $((RY + RH)) -le "$Y" ] || [ $((RX + RW)) -le "$X" ] || [ "$RX" -ge $((X + WIDTH)) ] ||
  fail "the panel covers the receiver"
for cell in "3 1" "2 4" "1 4"; do write_cell $cell; done   # fel
write_cell 7 6                      # DL: three BackSpaces
at 125 100; xdotool mousedown 1     # H, shifted by the left button
write_cell 5 1; xdotool mouseup 1
write_cell 2 4; write_cell 5 3      # ej
write_cell 5 4; write_cell 5 6      # x, then BS
write_cell 4 4; write_cell 2 5; write_cell 1 7   # " då"
at 125 100; xdotool mousedown 1     # !
write_cell 6 2; xdotool mouseup 1
write_cell 6 6                      # LF
focus_is_receiver "writing"
menu_item 15 0; xdotool key Escape; sleep 0.3   # a visit to the menu
focus_is_receiver "the menu"
sleep 0.5
import -window root "$out/e2e_send_keys.png"
printf 'Hej d\xc3\xa5!\n' >"$E2E_TMP/expected"
# Keys are typed on the sender's own thread: the last may come a moment after the glide.
for _ in $(seq 50); do cmp -s "$work/received.txt" "$E2E_TMP/expected" && break; sleep 0.1; done
cmp -s "$work/received.txt" "$E2E_TMP/expected" ||
  fail "the receiver holds: $(od -An -c "$work/received.txt" | tr -s ' ')"

# Keys typed while the left button was held (the capitals here) waited for its release: no key
# event carries a pointer button (Button1Mask 0x100 to Button5Mask 0x1000) in its state.
[ -s "$work/states.log" ] || fail "the receiver logged no key"
held=$(awk '{ if (int($1 / 256) % 32 != 0) print }' "$work/states.log")
[ -z "$held" ] || fail "keys came with a pointer button held: $held"

# The receiver goes away: nothing is typed into our own window, and the mode says so once.
kill "$RPID"
sleep 0.5
write_cell 2 2

BOX=$(wait_for_window '^Glidtavla$')
[ -n "$BOX" ] || fail "no message when no other program had the focus"
xdotool getwindowname "$WIN" | grep -q 'Skriver i andra program' && fail "the mode stayed on"

# Without XTEST the mode refuses once, with a message over the window, and stays off.
kill "${E2E_PIDS[@]}" 2>/dev/null || true
wait 2>/dev/null || true
E2E_PIDS=()
e2e_xvfb -extension XTEST
e2e_start "$program" "$work" --send-keys
xdotool getwindowname "$WIN" | grep -q 'Skriver i andra program' && fail "the mode is on without XTEST"
BOX=$(wait_for_window '^Glidtavla$')
[ -n "$BOX" ] || fail "no message about the missing XTEST"
echo "e2e send_keys: 4 passed, 0 failed"
