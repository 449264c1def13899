# Shared by the end-to-end scripts: a private X server, the program's window, real pointer input.
# Usage: source lib.sh; e2e_start PROGRAM WORKDIR [args...]

set -euo pipefail

# Under AddressSanitizer: libxkbcommon-x11 hands strndup a bound past the end of an X reply
# when Qt connects to the X server. That is the system library's, not ours; don't check it.
[ -n "${ASAN_OPTIONS:-}" ] && export ASAN_OPTIONS="$ASAN_OPTIONS:intercept_strndup=0"

E2E_TMP=$(mktemp -d /tmp/glidtavla-e2e-XXXXXX)
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
E2E_PIDS=()
e2e_cleanup() {
  # A stopped process ends only once it runs again.
  for pid in "${E2E_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; kill -CONT "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
# A part of the desktop the test needs is not installed here (ctest counts the test skipped).
skip() { echo "SKIP: $*" >&2; exit 77; }

# A free display number chosen by the server itself, so several runs can go at once. Without
# -noreset the server resets whenever its last client leaves, and refuses connections meanwhile.
e2e_xvfb() {
  Xvfb -displayfd 5 -screen 0 1280x1024x24 -nolisten tcp -noreset "$@" 5>"$E2E_TMP/display" 2>/dev/null &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do [ -s "$E2E_TMP/display" ] && break; sleep 0.05; done
  [ -s "$E2E_TMP/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n1 "$E2E_TMP/display")"
}

# Starts the program in WORKDIR and finds its window and the top of its client area.
e2e_start() {
  local program=$1 workdir=$2; shift 2
  # A home of its own: no settings from an earlier run or from the person running the tests.
  mkdir -p "$E2E_TMP/home/.config/Glidtavla"
  # The first start's questions were asked, unless the test asks them itself.
  local conf="$E2E_TMP/home/.config/Glidtavla/glidtavla.conf"
  if [ -z "${E2E_FIRST_START:-}" ] && ! grep -qs '^\[firstStart\]' "$conf"; then
    printf '\n[firstStart]\nasked=true\n' >>"$conf"
  fi
  (cd "$workdir" && HOME="$E2E_TMP/home" XDG_CONFIG_HOME="$E2E_TMP/home/.config" XDG_DATA_HOME="$E2E_TMP/home/.local/share" exec "$program" "$@") \
    >"$E2E_TMP/app.log" 2>&1 &
  E2E_APP=$!  # this test's program: other tests run the same one at once
  E2E_PIDS+=($E2E_APP)
  WIN=""
  for _ in $(seq 300); do
    WIN=$(xdotool search --onlyvisible --name 'Glidtavla Ver' 2>/dev/null | awk 'NR == 1' || true)
    [ -n "$WIN" ] && break
    sleep 0.1
  done
  [ -n "$WIN" ] || fail "no window; the program said: $(head -c 3000 "$E2E_TMP/app.log")"
  eval "$(xdotool getwindowgeometry --shell "$WIN")"  # X, Y, WIDTH, HEIGHT
  WX=$X; WY=$Y
  sleep 0.5
  # The client area is the first row of the window's green background below the menu bar.
  MENU=$(import -window root -crop "1x80+$((WX + 400))+$WY" txt:- 2>/dev/null |
         awk -F'[,:]' '/srgb\(56,144,13\)/ && !found { print $2; found = 1 }')
  [ -n "$MENU" ] || fail "could not find the window's client area"
}

# A window manager, as a person has one: it decorates, stacks and focuses windows.
e2e_window_manager() {
  openbox --sm-disable >"$E2E_TMP/openbox.log" 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && return
    sleep 0.05
  done
  fail "openbox did not start"
}

# Debian's Orca on the session's own AT-SPI bus, with a debug log of what it hears and says in
# $E2E_TMP/orca.log (whole only once Orca has ended: it writes the log through a buffer). Run
# inside a private session bus (dbus-run-session).
e2e_orca() {
  command -v orca >/dev/null || skip "orca is not installed (scripts/install-deps.sh installs it)"
  export XDG_RUNTIME_DIR="$E2E_TMP/runtime" HOME="$E2E_TMP/orca-home"
  mkdir -m 700 "$XDG_RUNTIME_DIR" "$HOME"
  /usr/libexec/at-spi-bus-launcher --launch-immediately >"$E2E_TMP/bus.log" 2>&1 &
  E2E_PIDS+=($!)
  orca -u "$HOME/prefs" -d speech --debug-file="$E2E_TMP/orca.log" >"$E2E_TMP/orca.out" 2>&1 &
  E2E_ORCA=$!
  E2E_PIDS+=($E2E_ORCA)
  for _ in $(seq 200); do grep -q 'ORCA: Startup complete' "$E2E_TMP/orca.log" 2>/dev/null && break; sleep 0.05; done
  grep -q 'ORCA: Startup complete' "$E2E_TMP/orca.log" || fail "orca did not start: $(tail -n 5 "$E2E_TMP/orca.out")"
}

# The window's place again, after it moved (the client area's top stays below the menu).
e2e_window_moved() {
  eval "$(xdotool getwindowgeometry --shell "$WIN")"
  WX=$X; WY=$Y
}

# MENU again for a drawn board: its source line stands where e2e_start looks for the client
# area, so look further left.
e2e_menu_beside_source() {
  MENU=$(import -window root -crop "1x80+$((WX + 100))+$WY" txt:- 2>/dev/null |
         awk -F'[,:]' '/srgb\(56,144,13\)/ && !found { print $2; found = 1 }')
}

# Pointer moves and clicks in the client area's coordinates.
at() { xdotool mousemove "$((WX + $1))" "$((WY + MENU + $2))"; sleep 0.05; }
click_at() { at "$1" "$2"; xdotool click 1; sleep 0.2; }

# Built-in board: out from the centre cell to (column, row) and back writes its character.
# An optional third argument is the zoom in percent.
write_cell() {
  local column=$1 row=$2 zoom=${3:-100}
  z() { echo $(($1 * zoom / 100)); }
  at "$(z 125)" "$(z 100)"
  at "$(z $((50 * column - 25)))" "$(z $((40 * row - 20)))"
  at "$(z $((50 * column - 22)))" "$(z $((40 * row - 18)))"
  at "$(z 125)" "$(z 100)"
}

# The id of the first visible window whose name matches the pattern, waiting up to 10 s.
wait_for_window() {
  local pattern=$1 found=""
  for _ in $(seq 200); do
    found=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -n1 || true)
    [ -n "$found" ] && break
    sleep 0.05
  done
  echo "$found"
}

# Chooses the n-th item of the n-th menu with the keyboard once the menu is open.
menu_item() {
  local menu_x=$1 downs=$2
  at "$menu_x" -8
  xdotool click 1; sleep 0.3
  for _ in $(seq "$downs"); do xdotool key Down; sleep 0.05; done
  xdotool key Return; sleep 0.3
}

# Fil > Spara, then the document in WORKDIR must hold exactly the printf format's bytes.
save_and_expect() {
  local workdir=$1 expected=$2
  menu_item 15 2
  local doc="$workdir/namnlos.gtv"
  for _ in $(seq 100); do [ -s "$doc" ] && break; sleep 0.05; done
  [ -s "$doc" ] || fail "$doc was not written"
  # shellcheck disable=SC2059
  printf "$expected" >"$E2E_TMP/expected"
  cmp -s "$doc" "$E2E_TMP/expected" || fail "saved bytes differ: $(od -An -c "$doc" | tr -s ' ')"
}

# Answers the file dialog that has just opened with path.
answer_dialog() {
  sleep 1
  xdotool key ctrl+a; xdotool type --delay 5 "$1"; xdotool key Return
  sleep 0.5
}

# A session bus of the test's own, so no desktop service of the caller's answers it.
# Each call starts another and makes it the session's.
e2e_private_bus() {
  local file
  file=$(mktemp "$E2E_TMP/bus.XXXXXX")
  dbus-daemon --session --nofork --print-address=3 3>"$file" >/dev/null 2>&1 &
  E2E_PIDS+=($!)
  for _ in $(seq 100); do [ -s "$file" ] && break; sleep 0.05; done
  DBUS_SESSION_BUS_ADDRESS=$(head -n1 "$file")
  export DBUS_SESSION_BUS_ADDRESS
  [ -n "$DBUS_SESSION_BUS_ADDRESS" ] || fail "dbus-daemon did not start"
}

e2e_has_owner() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
    org.freedesktop.DBus.NameHasOwner "string:$1" 2>/dev/null | grep -q "boolean true"
}

# Debian's xdg-desktop-portal on the private bus, in front of a RemoteDesktop backend of our
# own (portal_backend.py, given the arguments) that records in asked.log what it is asked. The
# portal's process is $E2E_PORTAL, so a test can stop it.
e2e_portal_start() {
  mkdir -p "$E2E_TMP/portals"
  printf '[portal]\nDBusName=org.freedesktop.impl.portal.desktop.glidtavlatest\nInterfaces=org.freedesktop.impl.portal.RemoteDesktop;org.freedesktop.impl.portal.Settings;\nUseIn=glidtavlatest\n' \
    >"$E2E_TMP/portals/glidtavlatest.portal"
  : >"$E2E_TMP/asked.log"
  /usr/bin/python3 "$E2E_HERE/portal_backend.py" "$E2E_TMP/asked.log" "$@" 2>"$E2E_TMP/backend.err" &
  E2E_PORTAL_BACKEND=$!
  E2E_PIDS+=($E2E_PORTAL_BACKEND)
  for _ in $(seq 100); do e2e_has_owner org.freedesktop.impl.portal.desktop.glidtavlatest && break; sleep 0.05; done
  e2e_has_owner org.freedesktop.impl.portal.desktop.glidtavlatest ||
    fail "the backend did not start: $(cat "$E2E_TMP/backend.err")"
  XDG_DESKTOP_PORTAL_DIR="$E2E_TMP/portals" XDG_CURRENT_DESKTOP=glidtavlatest \
    /usr/libexec/xdg-desktop-portal --replace >"$E2E_TMP/portal.log" 2>&1 &
  E2E_PORTAL=$!
  E2E_PIDS+=($E2E_PORTAL)
  for _ in $(seq 100); do e2e_has_owner org.freedesktop.portal.Desktop && break; sleep 0.05; done
  e2e_has_owner org.freedesktop.portal.Desktop || fail "xdg-desktop-portal did not start: $(cat "$E2E_TMP/portal.log")"
}
e2e_portal_stop() {
  kill -CONT "$E2E_PORTAL" 2>/dev/null || true
  kill "$E2E_PORTAL" "$E2E_PORTAL_BACKEND" 2>/dev/null || true
  wait "$E2E_PORTAL" "$E2E_PORTAL_BACKEND" 2>/dev/null || true
  for _ in $(seq 100); do e2e_has_owner org.freedesktop.portal.Desktop || break; sleep 0.05; done
}
