#!/usr/bin/env bash
# Installs what is missing, builds and runs every test.
#   ./test.sh             Release-with-checks build in build/
#   ./test.sh --sanitize  AddressSanitizer + UndefinedBehaviorSanitizer build in build-sanitize/
set -euo pipefail
cd "$(dirname "$0")"

sanitize=OFF
build=build
if [ "${1:-}" = "--sanitize" ]; then
  sanitize=ON
  build=build-sanitize
fi

./scripts/install-deps.sh

type=RelWithDebInfo
[ "$sanitize" = ON ] && type=Debug
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE="$type" -DGLIDTAVLA_SANITIZE="$sanitize" >/dev/null
cmake --build "$build" -j"$(nproc)"

if [ "$sanitize" = ON ]; then
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  export LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0"
fi
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 300
