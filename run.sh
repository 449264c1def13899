#!/usr/bin/env bash
# Installs what is missing, builds Glidtavla and starts it: ./run.sh [document]
# Its own build folder (build-run/), so it and ./test.sh (build/) never rebuild each other.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$here/build-run"

"$here/scripts/install-deps.sh"
mkdir -p "$build"
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "Glidtavla: förbereder bygget i build-run/ ..." >&2
fi
cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLIDTAVLA_TESTS=OFF \
      -DGLIDTAVLA_BENCHMARKS=OFF >"$build/configure.log" 2>&1 || { cat "$build/configure.log" >&2; exit 1; }
echo "Glidtavla: bygger ..." >&2
if ! cmake --build "$build" -j"$(nproc)" --target glidtavla glidtavla-cli >"$build/build.log" 2>&1; then
  tail -n 40 "$build/build.log" >&2
  echo "Glidtavla: bygget misslyckades; hela loggen finns i $build/build.log" >&2
  exit 1
fi

# The program looks for its start-up board in the folder it is started from.
exec "$build/glidtavla" "$@"
