#!/usr/bin/env bash
# Installs what is missing, builds Glidtavla and starts it: ./run.sh [document]
# Its own build folder (build-run/), so it and ./test.sh (build/) never rebuild each other.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$here/build-run"

"$here/scripts/install-deps.sh"
mkdir -p "$build"
# Configured once; after that the build itself configures again when a CMake file changed.
if [ ! -f "$build/CMakeCache.txt" ]; then
  echo "Glidtavla: förbereder bygget i build-run/ ..." >&2
  cmake -S "$here" -B "$build" -DCMAKE_BUILD_TYPE=Release -DGLIDTAVLA_TESTS=OFF \
        -DGLIDTAVLA_BENCHMARKS=OFF >"$build/configure.log" 2>&1 ||
    { cat "$build/configure.log" >&2; rm -f "$build/CMakeCache.txt"; exit 1; }
  echo "Glidtavla: bygger (första gången ett par minuter) ..." >&2
fi
# The build, its progress on one line so a first build is not silent.
build_program() {
  local status
  set +e
  cmake --build "$build" -j"$(nproc)" --target glidtavla glidtavla-cli 2>&1 | tee "$build/build.log" |
    { shown=""
      while IFS= read -r line; do
        if [[ $line =~ ^\[\ *([0-9]+)%\]\ Building ]]; then
          printf '\rGlidtavla: bygger, %s %% ' "${BASH_REMATCH[1]}" >&2
          shown=1
        fi
      done
      [ -z "$shown" ] || echo >&2; }
  status=${PIPESTATUS[0]}
  set -e
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$build/build.log" >&2
    echo "Glidtavla: bygget misslyckades; hela loggen finns i $build/build.log" >&2
    exit 1
  fi
  touch "$build/built.stamp"
}
# Nothing changed since the last build: no build to wait for.
stamp="$build/built.stamp"
if [ ! -f "$stamp" ] || [ ! -x "$build/glidtavla" ] ||
   [ -n "$(find "$here/src" "$here/data" "$here/CMakeLists.txt" -newer "$stamp" -print -quit)" ]; then
  build_program
fi

# The program looks for its start-up board in the folder it is started from.
exec "$build/glidtavla" "$@"
