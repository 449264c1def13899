#!/usr/bin/env bash
# The real program under Xvfb: START, glide from the START button onto the board (in at the
# "+" cell, which must not be written), write "Hej" and a line feed with real pointer moves and
# the left button, save with "Spara", and compare the file byte for byte.
# Usage: write_and_save.sh GLIDTAVLA OUTPUT_DIR
source "$(dirname "$0")/lib.sh"
program=$1 out=$2

e2e_xvfb
mkdir -p "$E2E_TMP/work"
e2e_start "$program" "$E2E_TMP/work"

click_at 717 516                   # START
for step in "640 460" "540 390" "440 320" "345 275" "300 235" "250 190" "190 140" "125 100"; do
  at $step                          # in at "+" by the bottom right corner, on to the centre
done
at 125 100; xdotool mousedown 1     # H, shifted by the left button
write_cell 5 1; xdotool mouseup 1
write_cell 2 4                      # e
write_cell 5 3                      # j
write_cell 6 6                      # LF
import -window root "$out/e2e_write_and_save.png"
save_and_expect "$E2E_TMP/work" '\r\nHej\r\n'
echo "e2e write_and_save: 1 passed, 0 failed"
