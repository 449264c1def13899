#!/usr/bin/env bash
# The real program under a file-size limit: "Spara" of a document larger than the limit says
# "Disk full", leaves the file as it was, and the program goes on (it used to be killed by
# SIGXFSZ with every unsaved change).
# Usage: save_limits.sh GLIDTAVLA OUTPUT_DIR
source "$(dirname "$0")/lib.sh"
program=$1

e2e_xvfb
work="$E2E_TMP/work"
mkdir -p "$work"
head -c 3000 /dev/zero | tr '\0' 'x' >"$work/stor.gtv"
cp "$work/stor.gtv" "$E2E_TMP/before"
e2e_start /usr/bin/prlimit "$work" --fsize=1000 "$program" "$work/stor.gtv"
menu_item 15 2                      # Fil > Spara
BOX=$(wait_for_window '^Glidtavla$')
[ -n "$BOX" ] || fail "no message; the program said: $(head -c 2000 "$E2E_TMP/app.log")"
xdotool getwindowname "$WIN" >/dev/null 2>&1 || fail "the program is gone"
cmp -s "$work/stor.gtv" "$E2E_TMP/before" || fail "the document changed"
[ -z "$(find "$work" -name '.glidtavla-*')" ] || fail "a temporary file was left"
echo "e2e save_limits: 1 passed, 0 failed"
