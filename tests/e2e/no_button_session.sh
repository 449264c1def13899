#!/usr/bin/env bash
# A whole session without a single button event, under Xvfb and openbox: `--vila 1` from a
# fresh home, the first start's questions answered "Huvudmus / Nej / Mycket" (the large-cell
# board), START by resting, yesterday's brev.gtv opened through the large chooser, a line with
# a capital written through the shift cell, "Sluta" confirmed by a second rest, the save
# question answered by resting; then the file is compared byte for byte and the settings read.
# Usage: no_button_session.sh GLIDTAVLA
source "$(dirname "$0")/lib.sh"
program=$1

e2e_xvfb
e2e_window_manager
work="$E2E_TMP/work" conf="$E2E_TMP/home/.config/Glidtavla/glidtavla.conf"
mkdir -p "$work"
printf 'Hej\r\n' >"$work/brev.gtv"
E2E_FIRST_START=1 e2e_start "$program" "$work" --vila 1
rest() { sleep 3; }   # a rest of 1 s and its press, on a busy machine too: one rest presses once
at_screen() { xdotool mousemove "$1" "$2"; sleep 0.05; }

questions=$(wait_for_window 'ställ in efter dig')
[ -n "$questions" ] || fail "the first start asked nothing: $(cat "$E2E_TMP/app.log")"
eval "$(xdotool getwindowgeometry --shell "$questions")"
at_screen $((X + 480)) $((Y + 78)); rest             # Vilket pekdon? Huvudmus
at_screen $((X + 440)) $((Y + 78)); rest             # Kan du trycka på en knapp? Nej
at_screen $((X + 480)) $((Y + 78)); rest             # Darrar handen eller huvudet? Mycket
for _ in $(seq 30); do xdotool search --onlyvisible --name 'ställ in efter dig' >/dev/null || break; sleep 0.1; done
xdotool search --onlyvisible --name 'ställ in efter dig' >/dev/null && fail "the questions stayed open"
e2e_menu_beside_source

at 700 505; at 717 516; rest                         # START
at 15 -8; rest                                       # Fil
at 40 9; rest                                        # Öppna
chooser=$(wait_for_window '^Öppna$')
[ -n "$chooser" ] || fail "the chooser did not open: $(cat "$E2E_TMP/app.log")"
eval "$(xdotool getwindowgeometry --shell "$chooser")"
at_screen $((X + 90)) $((Y + 184)); rest             # its second row: brev.gtv
for _ in $(seq 40); do xdotool getwindowname "$WIN" | grep -q 'brev.gtv' && break; sleep 0.1; done
xdotool getwindowname "$WIN" | grep -q 'brev.gtv' || fail "brev.gtv was not opened"

for step in "640 460" "540 390" "440 320" "345 275" "300 250" "250 225"; do
  at $step                                           # into the centre of the large cells
done
glide() {   # out from the centre to (column, row) of the 5 x 5 board and back
  at 250 225; at $((100 * $1 - 50)) $((90 * $2 - 45)); at $((100 * $1 - 47)) $((90 * $2 - 43))
  at 250 225
}
glide 1 3; glide 1 4; glide 3 4; glide 4 4; glide 4 3   # SK h e l a: "Hela"
glide 5 4                                               # LF

# The last rests are given twice their time: a press late on a busy machine still comes
# within it, and a pointer that stays presses only once.
at 15 -8; rest; rest                                 # Fil
at 40 145; rest; rest                                # Sluta: a second rest is asked
kill -0 "$E2E_APP" 2>/dev/null || fail "one rest on Sluta ended the program"
at 140 259; rest; rest                               # "Ja, avsluta Glidtavla", away from it
question=$(wait_for_window '^Glidtavla$')
[ -n "$question" ] || fail "no save question"
eval "$(xdotool getwindowgeometry --shell "$question")"
at_screen $((X + 51)) $((Y + 38)); rest              # "Spara"
for _ in $(seq 150); do kill -0 "$E2E_APP" 2>/dev/null || break; sleep 0.1; done  # a busy machine saves slowly
kill -0 "$E2E_APP" 2>/dev/null && fail "the program did not end"

printf 'Hej\r\nHela\r\n' >"$E2E_TMP/expected"
cmp -s "$work/brev.gtv" "$E2E_TMP/expected" ||
  fail "brev.gtv holds: $(od -An -c "$work/brev.gtv" | tr -s ' ')"
for setting in asked=true dwellPress=true dwellMs=2000 guardPixels=12 largeChooser=true pointer=2 \
  column=true kind=drawn; do
  grep -qx "$setting" "$conf" || fail "the settings lack $setting: $(cat "$conf")"
done
echo "e2e no_button_session: 1 passed, 0 failed"
