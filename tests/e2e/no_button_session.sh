#!/usr/bin/env bash
# A whole session without a single button event, under Xvfb and openbox: `--vila 1` from a
# fresh home (the shift-cell board chosen), START by resting, yesterday's brev.gtv opened
# through the large chooser, a line with a capital written through the shift cell, "Sluta"
# confirmed by a second rest, the save question answered by resting; then the file is compared
# byte for byte and the settings file read.
# Usage: no_button_session.sh GLIDTAVLA BOARD_TABLE
source "$(dirname "$0")/lib.sh"
program=$1 board=$2

e2e_xvfb
e2e_window_manager
work="$E2E_TMP/work" conf="$E2E_TMP/home/.config/Glidtavla/glidtavla.conf"
mkdir -p "$work" "$(dirname "$conf")"
printf 'Hej\r\n' >"$work/brev.gtv"
printf '[board]\nkind=drawn\ntable=%s\n' "$board" >"$conf"
e2e_start "$program" "$work" --vila 1
sleep 1; e2e_window_moved   # where the window manager put it, known to the window too
e2e_menu_beside_source
rest() { sleep 1.7; }   # a rest of 1 s, counted ten times a second
at_screen() { xdotool mousemove "$1" "$2"; sleep 0.05; }

at 700 505; at 717 516; rest                         # START
at 15 -8; rest                                       # Fil
at 40 9; rest                                        # Öppna
chooser=$(wait_for_window '^Öppna$')
[ -n "$chooser" ] || fail "the chooser did not open: $(cat "$E2E_TMP/app.log")"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
at_screen $((X + 90)) $((Y + 184)); rest             # its second row: brev.gtv
for _ in $(seq 40); do xdotool getwindowname "$WIN" | grep -q 'brev.gtv' && break; sleep 0.1; done
xdotool getwindowname "$WIN" | grep -q 'brev.gtv' || fail "brev.gtv was not opened"

for step in "640 460" "540 390" "440 320" "345 275" "300 235" "250 190" "190 140" "125 100"; do
  at $step
done
write_cell 4 7; write_cell 5 1; write_cell 2 4; write_cell 5 3   # SK H e j: "Hej"
write_cell 6 6                                                   # LF

at 15 -8; rest                                       # Fil
at 40 123; rest                                      # Sluta: a second rest is asked
pgrep -f "^$program" >/dev/null || fail "one rest on Sluta ended the program"
at_screen 140 275; rest                              # "Ja, avsluta Glidtavla", away from it
question=$(wait_for_window '^Glidtavla$')
[ -n "$question" ] || fail "no save question"
eval "$(xdotool getwindowgeometry --shell "$question")"
at_screen $((X + 51)) $((Y + 38)); rest              # "Spara"
for _ in $(seq 50); do pgrep -f "^$program" >/dev/null || break; sleep 0.1; done
pgrep -f "^$program" >/dev/null && fail "the program did not end"

printf 'Hej\r\nHej\r\n' >"$E2E_TMP/expected"
cmp -s "$work/brev.gtv" "$E2E_TMP/expected" ||
  fail "brev.gtv holds: $(od -An -c "$work/brev.gtv" | tr -s ' ')"
for setting in dwellPress=true dwellMs=1000 largeChooser=true; do
  grep -qx "$setting" "$conf" || fail "the settings lack $setting: $(cat "$conf")"
done
echo "e2e no_button_session: 1 passed, 0 failed"
