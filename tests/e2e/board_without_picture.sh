#!/usr/bin/env bash
# The real program under Xvfb: load a board of one's own with "Utan bild" through the real
# dialog, write a character and a line feed from it, save, and compare the file.
# Usage: board_without_picture.sh GLIDTAVLA OUTPUT_DIR
source "$(dirname "$0")/lib.sh"
program=$1 out=$2

e2e_xvfb
work="$E2E_TMP/work"
mkdir -p "$work"
# Cells of 60 x 30 pixels; "q" in the top left corner, LF right of the centre.
printf '60 120 180 240 300\r\n30 60 90 120 150\r\n113 98 99 100 101\r\n102 103 104 105 106\r\n107 108 0 13 32\r\n109 110 111 112 113\r\n114 115 116 117 118\r\n' >"$work/egen.tab"
e2e_start "$program" "$work"

click_at 717 516                    # START
menu_item 85 2                      # Hämta teckenbord > Utan bild
answer_dialog "$work/egen.tab"
for cell in "30 15" "210 75"; do    # q at (1, 1), then LF at (4, 3)
  read -r x y <<<"$cell"
  at 150 75; at "$x" "$y"; at $((x + 2)) $((y + 2)); at 150 75
done
import -window root "$out/e2e_board_without_picture.png"
save_and_expect "$work" '\r\nq\r\n'
echo "e2e board_without_picture: 1 passed, 0 failed"
