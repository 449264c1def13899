#!/usr/bin/env bash
# Typing through the desktop's remote-desktop portal: Debian's real xdg-desktop-portal on a
# private session bus, with a backend of our own that records what it is asked. The recorded
# session, device choice and every keysym are compared exactly; a refusal and a session the
# desktop closes end typing with a message.
# Usage: portal_keys.sh ROUTE_PROBE
source "$(dirname "$0")/lib.sh"
probe=$1
export LC_ALL=C.UTF-8 HOME="$E2E_TMP/home" XDG_DATA_HOME="$E2E_TMP/home/.local/share"
mkdir -p "$HOME"

e2e_private_bus

# The keysyms for "Hé\n", then "x" erased by BS and "ab" by DL, then "€".
text=$'H\xc3\xa9\nx\bab\x01\xe2\x82\xac'
keys=(0x48 0xe9 0xff0d 0x78 0xff08 0x61 0x62 0xff08 0xff08 0x20ac)

e2e_portal_start
# The permission can be kept from version 2 of the portal's interface on.
version=$(dbus-send --session --print-reply --dest=org.freedesktop.portal.Desktop \
  /org/freedesktop/portal/desktop org.freedesktop.DBus.Properties.Get \
  string:org.freedesktop.portal.RemoteDesktop string:version | awk '/uint32/ { print $3 }')
[ -n "$version" ] || fail "the portal has no RemoteDesktop version"
select="SelectDevices types=1"
[ "$version" -ge 2 ] && select="SelectDevices persist_mode=2 types=1"
"$probe" portal "$text" 0 "$E2E_TMP/token" >/dev/null 2>"$E2E_TMP/probe.err" ||
  fail "typing through the portal failed: $(cat "$E2E_TMP/probe.err")"
expected="$E2E_TMP/expected.log"
{
  echo CreateSession
  echo "$select"
  echo Start
  for key in "${keys[@]}"; do echo "keysym $key press"; echo "keysym $key release"; done
  echo Close
} >"$expected"
for _ in $(seq 100); do cmp -s "$E2E_TMP/asked.log" "$expected" && break; sleep 0.05; done
diff "$expected" "$E2E_TMP/asked.log" >&2 || fail "the portal was asked otherwise"
if [ "$version" -ge 2 ]; then
  [ "$(cat "$E2E_TMP/token")" = glidtavla-test-token ] || fail "the permission was not kept"
  # The next time the kept permission is offered, so the desktop need not ask again.
  : >"$E2E_TMP/asked.log"
  "$probe" portal "a" 0 "$E2E_TMP/token" >/dev/null 2>"$E2E_TMP/probe.err" ||
    fail "typing again failed: $(cat "$E2E_TMP/probe.err")"
  grep -qx "SelectDevices persist_mode=2 restore_token=glidtavla-test-token types=1" "$E2E_TMP/asked.log" ||
    fail "the kept permission was not offered: $(cat "$E2E_TMP/asked.log")"
else
  [ ! -s "$E2E_TMP/token" ] || fail "a permission was kept from a portal that cannot keep one: $(cat "$E2E_TMP/token") $(cat "$E2E_TMP/asked.log")"
  echo "portal_keys: RemoteDesktop version $version keeps no permission; the desktop asks each time"
fi
e2e_portal_stop

# Refused: one message, nothing typed.
e2e_portal_start --refuse
if "$probe" portal "abc" 0 >/dev/null 2>"$E2E_TMP/probe.err"; then fail "a refusal typed"; fi
grep -q "avböjdes" "$E2E_TMP/probe.err" || fail "a refusal said: $(cat "$E2E_TMP/probe.err")"
grep -q keysym "$E2E_TMP/asked.log" && fail "keys were sent after a refusal"
e2e_portal_stop

# Closed by the desktop after the first character: the next one fails with a message.
e2e_portal_start --close-after 2
if "$probe" portal "abc" 300 >/dev/null 2>"$E2E_TMP/probe.err"; then fail "typing went on after the session closed: $(cat "$E2E_TMP/asked.log")"; fi
grep -q "avslutade" "$E2E_TMP/probe.err" || fail "a closed session said: $(cat "$E2E_TMP/probe.err")"
[ "$(grep -c keysym "$E2E_TMP/asked.log")" -eq 2 ] || fail "keys after the close: $(cat "$E2E_TMP/asked.log")"
e2e_portal_stop

# A portal that stops answering while keys are typed: the sender goes on without waiting, and
# the first key after the unanswered one timed out ends typing with its own message.
e2e_portal_start
started=$(date +%s)
"$probe" portal "abcd" 2000 >/dev/null 2>"$E2E_TMP/probe.err" &
typing=$!
# Stopped once the session is open and the first key taken: a request the desktop has not
# answered yet is a question to the user, and is waited for as long as one.
for _ in $(seq 200); do grep -q "keysym 0x61 release" "$E2E_TMP/asked.log" && break; sleep 0.05; done
grep -q "keysym 0x61 release" "$E2E_TMP/asked.log" || fail "the first key did not reach the portal"
kill -STOP "$E2E_PORTAL"
if wait "$typing"; then fail "typing went on into a portal that does not answer"; fi
kill -CONT "$E2E_PORTAL"
grep -q "svarar inte" "$E2E_TMP/probe.err" || fail "a silent portal said: $(cat "$E2E_TMP/probe.err")"
[ $(($(date +%s) - started)) -lt 20 ] || fail "the sender waited for the portal"
e2e_portal_stop

# A portal that answers nothing at all (stopped): turning typing on fails within seconds with
# a message of ours, and choosing the route at start asks only the bus.
e2e_portal_start
kill -STOP "$E2E_PORTAL"
started=$(date +%s)
route=$(WAYLAND_DISPLAY=glidtavla-no-compositor "$probe" route "") || fail "no route: $route"
[ "$route" = portal ] || fail "the route with a portal present: $route"
[ $(($(date +%s) - started)) -lt 2 ] || fail "choosing the route waited for the portal"
if "$probe" portal "a" 0 >/dev/null 2>"$E2E_TMP/probe.err"; then fail "a stopped portal typed"; fi
grep -q "svarar inte" "$E2E_TMP/probe.err" || fail "a stopped portal said: $(cat "$E2E_TMP/probe.err")"
[ $(($(date +%s) - started)) -lt 15 ] || fail "turning on waited for the stopped portal"
kill -CONT "$E2E_PORTAL"
e2e_portal_stop
echo "portal_keys: the portal was asked exactly; a refusal, a closed session, a silent portal end typing"
