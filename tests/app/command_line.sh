#!/usr/bin/env bash
# The program's command line as a shell user meets it, with no display at all: --help and
# --version print and exit 0; an unknown option is refused with exit 2 and a Swedish message.
# Usage: command_line.sh GLIDTAVLA
set -uo pipefail
program=$1
fail() { echo "FAIL: $*" >&2; exit 1; }
run() { env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" "$@"; }

out=$(run --help) || fail "--help exited $?"
grep -q '^Användning: glidtavla' <<<"$out" || fail "--help printed: $out"
[ "$(run --version)" = "glidtavla 1.01" ] || fail "--version printed: $(run --version)"
err=$(run --bogus 2>&1 >/dev/null); status=$?
[ "$status" -eq 2 ] || fail "an unknown option exited $status"
grep -q 'okänd flagga "--bogus"' <<<"$err" || fail "an unknown option said: $err"
echo "command line: 3 passed, 0 failed"
