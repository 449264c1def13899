#!/usr/bin/env bash
# Installs the Debian packages Glidtavla builds, tests and runs with, only those missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config clang-format
  qt6-base-dev qt6-svg-dev libgl-dev qt6-translations-l10n
  libx11-dev libxtst-dev libxkbcommon-dev libwayland-dev
  libemf2svg-dev libwmf-dev fonts-urw-base35
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xdotool imagemagick x11-utils x11-xkb-utils xterm openbox
  desktop-file-utils libxml2-utils shared-mime-info dpkg-dev file lintian appstream
  fonts-dejavu-core fonts-blankenburg fonts-freefont-ttf
  cfi-sv dasher-data
  sway xwayland qt6-wayland xdg-desktop-portal dbus python3-dbus python3-gi
  orca at-spi2-core
  qt6-speech-dev qt6-declarative-dev qt6-speech-speechd-plugin speech-dispatcher speech-dispatcher-espeak-ng espeak-ng
  pulseaudio pulseaudio-utils
)

# One query for all: a second ./run.sh must not wait on sixty.
installed=$(dpkg-query -W -f='${db:Status-Status} ${Package}\n' "${packages[@]}" 2>/dev/null |
            awk '$1 == "installed" { print $2 }' || true)
missing=()
for p in "${packages[@]}"; do
  grep -qx -- "$p" <<<"$installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
