#!/usr/bin/env bash
# The real program under Xvfb at 200 %: START, write "hej" and a line feed with real pointer
# moves over the zoomed board, save with "Spara", and compare the file byte for byte.
# Usage: zoom.sh GLIDTAVLA OUTPUT_DIR
source "$(dirname "$0")/lib.sh"
program=$1 out=$2

e2e_xvfb
mkdir -p "$E2E_TMP/work"
e2e_start "$program" "$E2E_TMP/work" --zoom 200

click_at 717 516                    # START
for step in "640 460" "560 380" "400 300" "250 200"; do at $step; done
write_cell 5 1 200                  # h
write_cell 2 4 200                  # e
write_cell 5 3 200                  # j
write_cell 6 6 200                  # LF
import -window root "$out/e2e_zoom.png"
save_and_expect "$E2E_TMP/work" '\r\nhej\r\n'
echo "e2e zoom: 1 passed, 0 failed"
