#!/usr/bin/env bash
# Installs what is missing, builds Glidtavla and starts it: ./run.sh [document]
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"

"$here/scripts/install-deps.sh"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$here/build" -j"$(nproc)"

# The program looks for its start-up board in the folder it is started from.
if [ -x "$here/build/glidtavla" ]; then
  exec "$here/build/glidtavla" "$@"
fi
echo "The Glidtavla window is not built yet; only the core library and its tests exist." >&2
exit 1
