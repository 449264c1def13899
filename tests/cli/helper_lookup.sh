#!/usr/bin/env bash
# glidtavla-cli where it cannot read its own path (/proc hidden by a tmpfs in a mount namespace
# of its own): a glidtavla-cli-pictures or glidtavla-draw planted in the working folder, or one
# folder up, is never run; the picture command says which program it lacks.
# Usage: helper_lookup.sh GLIDTAVLA_CLI
set -euo pipefail
cli=$(realpath "$1")
fail() { echo "FAIL: $*" >&2; exit 1; }
if [ -n "${ASAN_OPTIONS:-}" ]; then
  # AddressSanitizer reads /proc/self/maps as the program starts: it cannot run without /proc.
  echo "helper lookup: 0 passed, 0 failed, 1 skipped (sanitizer build)"
  exit 0
fi
if [ "$(id -u)" -ne 0 ] || ! unshare -m true 2>/dev/null; then
  echo "helper lookup: 0 passed, 0 failed, 1 skipped (needs root for a mount namespace)"
  exit 0
fi
tmp=$(mktemp -d /tmp/glidtavla-helpers-XXXXXX)
trap 'rm -rf "$tmp"' EXIT
mkdir -p "$tmp/work/libexec/glidtavla" "$tmp/libexec/glidtavla"
for planted in "$tmp/work" "$tmp/work/libexec/glidtavla" "$tmp/libexec/glidtavla" "$tmp"; do
  for name in glidtavla-cli-pictures glidtavla-draw; do
    printf '#!/bin/sh\ntouch "%s/ran"\n' "$tmp" >"$planted/$name"
    chmod +x "$planted/$name"
  done
done
printf 'P1\n1 1\n0\n' >"$tmp/work/tavla.pbm"
set +e
out=$(cd "$tmp/work" && unshare -m sh -c 'mount -t tmpfs none /proc && exec "$0" board picture tavla.pbm' "$cli" 2>&1)
status=$?
set -e
[ ! -e "$tmp/ran" ] || fail "a planted helper ran"
[ "$status" -ne 0 ] || [ -x /usr/libexec/glidtavla/glidtavla-cli-pictures ] ||
  fail "board picture succeeded without its program: $out"
if [ ! -x /usr/libexec/glidtavla/glidtavla-cli-pictures ]; then
  grep -q "glidtavla-cli-pictures" <<<"$out" || fail "the missing program is not named: $out"
fi
echo "helper lookup: 1 passed, 0 failed"
