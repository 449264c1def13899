#!/usr/bin/env bash
# The desktop's high-contrast setting through Debian's real xdg-desktop-portal and a backend of
# ours: a start while the desktop asks for high contrast shows the window in high contrast, and
# a change of the setting while the program runs turns it on and off again.
# Usage: desktop_contrast.sh GLIDTAVLA
source "$(dirname "$0")/lib.sh"
program=$1
export HOME="$E2E_TMP/home"
e2e_private_bus
e2e_xvfb
e2e_window_manager
work="$E2E_TMP/work"
mkdir -p "$work"
# The colour of the client area, left of the welcome text.
client_colour() {
  import -window root -depth 8 -crop "1x1+$((WX + 20))+$((WY + MENU + 100))" txt:- 2>/dev/null |
    sed -n 's/^0,0: (\([0-9,]*\)).*/\1/p'
}
await_colour() {
  for _ in $(seq 100); do [ "$(client_colour)" = "$1" ] && return 0; sleep 0.05; done
  fail "the client area is $(client_colour), not $1 $2"
}

e2e_portal_start
e2e_start "$program" "$work"
kill -USR1 "$E2E_PORTAL_BACKEND"   # the desktop turns high contrast on
await_colour '0,0,0' "after the desktop asked for high contrast"
kill -USR1 "$E2E_PORTAL_BACKEND"   # and off
await_colour '56,144,13' "after the desktop turned high contrast off"
kill "$E2E_APP"; wait "$E2E_APP" 2>/dev/null || true
sleep 0.5
e2e_portal_stop

# Started while the desktop asks for it.
e2e_portal_start --contrast 1
(cd "$work" && HOME="$HOME" XDG_CONFIG_HOME="$HOME/.config" exec "$program") >"$E2E_TMP/app2.log" 2>&1 &
E2E_PIDS+=($!)
await_colour '0,0,0' "at a start with the desktop in high contrast"
echo "e2e desktop_contrast: the window follows the desktop's high contrast at the start and while it runs"
