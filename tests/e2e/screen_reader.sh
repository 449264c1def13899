#!/usr/bin/env bash
# Writing into another program while Debian's Orca runs on a private session and AT-SPI bus: a
# completion accepted with the left button held (a shifted SP) reaches the receiver as text and
# never as Orca's commands: Orca consumes no key, opens no window, and the LF that takes the
# completion's space away lands in the receiver. A listener on the bus counts what the window
# announces meanwhile: the pointer's read-outs nothing, the rest at most one event per sample.
# Usage: screen_reader.sh GLIDTAVLA RECEIVER
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@" 2> >(grep -v '^dbus-daemon' >&2)
fi
source "$(dirname "$0")/lib.sh"
program=$1 receiver=$2

e2e_xvfb
e2e_window_manager
e2e_orca

work="$E2E_TMP/work"
mkdir -p "$work"
QT_ACCESSIBILITY=1 "$receiver" "$work/received.txt" "$work/arrivals.log" "$work/states.log" \
  >"$E2E_TMP/receiver.log" 2>&1 &
E2E_PIDS+=($!)
RWIN=$(wait_for_window '^Mottagare$')
[ -n "$RWIN" ] || fail "the receiver did not start"
xdotool windowfocus --sync "$RWIN"
for _ in $(seq 100); do grep -q 'locusOfFocus from .* to \[text | Mottagare\]' "$E2E_TMP/orca.log" && break; sleep 0.05; done

QT_ACCESSIBILITY=1 e2e_start "$program" "$work" --send-keys
click_at 717 516                                  # START
sleep 0.5
e2e_window_moved
/usr/bin/python3 "$(dirname "$0")/atspi_events.py" "$E2E_TMP/events.log" 2>"$E2E_TMP/events.err" &
E2E_PIDS+=($!)
for _ in $(seq 100); do grep -q listening "$E2E_TMP/events.log" 2>/dev/null && break; sleep 0.05; done
sleep 0.5
: >"$E2E_TMP/events.log"
write_cell 3 2; write_cell 1 1                    # oc: "och" is offered
at 125 100; xdotool mousedown 1; write_cell 4 4; xdotool mouseup 1   # accepted: "och "
write_cell 6 6                                    # LF takes the space away
printf 'och\n' >"$E2E_TMP/expected"
for _ in $(seq 60); do cmp -s "$work/received.txt" "$E2E_TMP/expected" && break; sleep 0.05; done
cmp -s "$work/received.txt" "$E2E_TMP/expected" ||
  fail "the receiver holds: $(od -An -c "$work/received.txt" | tr -s ' ')"
sleep 0.5
grep -q "PROCESS ATSPI_KEY_PRESSED_EVENT: 'h'" "$E2E_TMP/orca.log" || fail "orca heard no key"
consumed=$(grep -c 'CONSUME:  True' "$E2E_TMP/orca.log" || true)
[ "$consumed" -eq 0 ] || fail "orca took $consumed keys as its commands"
opened=$(xdotool search --onlyvisible --name 'Orca' 2>/dev/null || true)
[ -z "$opened" ] || fail "orca opened a window: $(xdotool getwindowname "$opened")"
samples=17   # four glides of four moves and one more
readouts=$(grep -cE ' (X0|Y0|X1|Y1|Teckenkod)$' "$E2E_TMP/events.log" || true)
[ "$readouts" -eq 0 ] || fail "the read-outs announced $readouts events: $(grep -E ' (X0|Y0|X1|Y1|Teckenkod)$' "$E2E_TMP/events.log" | sort | uniq -c | head)"
# The window's own, apart from what it announces: the completion offered and the word written.
notice=' notification '
announced=$(grep -c "$notice" "$E2E_TMP/events.log" || true)
[ "$announced" -ge 1 ] && [ "$announced" -le 3 ] ||
  fail "$announced announcements: $(grep "$notice" "$E2E_TMP/events.log" | sort | uniq -c)"
events=$(grep -v ' Mottagare$' "$E2E_TMP/events.log" | grep -vc "$notice" || true)
echo "accessibility events in a glide of $samples samples: $events ($(sort "$E2E_TMP/events.log" | uniq -c | sort -rn | head -n 8 | tr -s ' ' | tr '\n' ';'))"
[ "$events" -le "$samples" ] || fail "$events accessibility events in $samples samples: $(sort "$E2E_TMP/events.log" | uniq -c | sort -rn | head)"
echo "e2e screen_reader: the completion arrived as text, orca took no key"
