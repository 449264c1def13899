#!/usr/bin/env bash
# The real program under Xvfb: record a demo with real pointer moves through "Gör demo",
# play it back through "Kör demo", and check that the playback wrote the same text again.
# Usage: record_and_replay.sh GLIDTAVLA OUTPUT_DIR
source "$(dirname "$0")/lib.sh"
program=$1 out=$2

e2e_xvfb
work="$E2E_TMP/work"
mkdir -p "$work"
e2e_start "$program" "$work"

click_at 717 516                    # START
menu_item 195 2                     # Bruksanvisning > Gör demo
answer_dialog "$work/rec.dem"
write_cell 2 2                      # a
write_cell 1 5                      # v
write_cell 6 6                      # LF
[ -s "$work/rec.dem" ] || fail "nothing was recorded"
samples=$(wc -l <"$work/rec.dem")

menu_item 195 3                     # Bruksanvisning > Kör demo
answer_dialog "$work/rec.dem"
at 10 10                            # a move over the board starts the playback
sleep "$(awk -v n="$samples" 'BEGIN { print n * 0.05 + 1.5 }')"
import -window root "$out/e2e_record_and_replay.png"
save_and_expect "$work" '\r\nav\r\nav\r\n'
echo "e2e record_and_replay: 1 passed, 0 failed ($samples samples)"
