#!/usr/bin/env bash
# Writing in the window while Debian's Orca runs: Orca says the completion offered when it is
# shown and the word when it is written, each once, and says nothing of the read-outs while the
# pointer glides. Usage: orca_hears.sh GLIDTAVLA
if [ -z "${E2E_PRIVATE_BUS:-}" ]; then
  E2E_PRIVATE_BUS=1 exec dbus-run-session -- "$0" "$@" 2> >(grep -v '^dbus-daemon' >&2)
fi
source "$(dirname "$0")/lib.sh"
program=$1

e2e_xvfb
e2e_window_manager
e2e_orca
work="$E2E_TMP/work"
mkdir -p "$work"
QT_ACCESSIBILITY=1 e2e_start "$program" "$work"
click_at 717 516                                  # START
sleep 1
echo "glides begin" >"$E2E_TMP/mark"
# tills: t (4, 3), i (3, 4), l (1, 4), s (2, 3); then accepted with a shifted SP.
for cell in "4 3" "3 4" "1 4" "1 4" "2 3"; do write_cell $cell; done
sleep 2
at 125 100; xdotool mousedown 1; write_cell 4 4; xdotool mouseup 1
# Orca takes its events in turn, and falls behind on a busy machine: it is given time to say
# everything before it is stopped.
sleep 4
kill "$E2E_ORCA"
wait "$E2E_ORCA" 2>/dev/null || true
# What Orca said from START on, in order.
spoken=$(awk '/Startup complete/ { on = 1 } on' "$E2E_TMP/orca.log" |
         sed -n "s/.* - SPEECH OUTPUT: '\\(.*\\)'{.*/\\1/p" | grep -v '^Text text\.$\|^Dokumentet' || true)
echo "e2e orca_hears: orca said: $(tr '\n' '|' <<<"$spoken")"
# The completion as it is offered, then the word as it is written: each once, and last.
[ "$(grep -c 'tillsammans' <<<"$spoken")" -eq 2 ] || fail "orca did not say the completion and the word once each"
[ "$(tail -n 2 <<<"$spoken" | grep -c 'tillsammans')" -eq 2 ] || fail "orca said more after the word"
readouts=$(grep -cE "(X0|Y0|X1|Y1|Teckenkod|Teckenruta)" <<<"$spoken" || true)
[ "$readouts" -eq 0 ] || fail "orca read the read-outs"
