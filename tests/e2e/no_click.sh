#!/usr/bin/env bash
# A pointer that never clicks, under Xvfb: with "Tryck genom att vila" on and the board with a
# shift cell, resting on START starts, "Hej" is written with its capital through the shift
# cell, and the saved file is compared byte for byte. (Only the save is clicked, by the test.)
# Usage: no_click.sh GLIDTAVLA BOARD_TABLE
source "$(dirname "$0")/lib.sh"
program=$1 board=$2

e2e_xvfb
mkdir -p "$E2E_TMP/work" "$E2E_TMP/home/.config/Glidtavla"
cat >"$E2E_TMP/home/.config/Glidtavla/glidtavla.conf" <<CONF
[pointer]
dwellPress=true
dwellMs=500
[board]
kind=drawn
table=$board
CONF
e2e_start "$program" "$E2E_TMP/work"
e2e_menu_beside_source

at 700 505; at 717 516              # onto START, and rest there: no click
sleep 1.2
for step in "640 460" "540 390" "440 320" "345 275" "300 235" "250 190" "190 140" "125 100"; do
  at $step
done
write_cell 4 7                      # SK: the next character shifted
write_cell 5 1                      # H
write_cell 2 4                      # e
write_cell 5 3                      # j
write_cell 6 6                      # LF
save_and_expect "$E2E_TMP/work" '\r\nHej\r\n'
echo "e2e no_click: 1 passed, 0 failed"
