#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Stenova.
# Packages already present are skipped, so a second run costs nothing.
set -euo pipefail

packages=(
  # build
  build-essential cmake pkg-config g++ googletest libgtest-dev clang-format
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libegl-dev libx11-dev libxi-dev libxtst-dev
  libmpv-dev libpulse-dev libxdo-dev libhunspell-dev
  # runtime engines, fonts and the Russian spelling dictionary
  mpv libgl1-mesa-dri fonts-dejavu-core fonts-liberation2 hunspell-ru
  # reads back the exported OpenDocument text in the tests
  odt2txt
  # clang's libFuzzer for the fuzz targets
  clang libclang-rt-14-dev
  # the accessibility bus and a client of it, for the accessibility tests
  at-spi2-core gir1.2-atspi-2.0
  # sample and test recordings
  espeak-ng ffmpeg sox
  # headless display, window manager, keys, clipboard, session bus
  xvfb openbox playerctl x11-xkb-utils x11-xserver-utils x11-utils xdotool wmctrl xclip dbus dbus-x11
  # a GTK editor for the desktop tests
  python3-gi gir1.2-gtk-3.0
  # sound server for the system volume tests
  pulseaudio pulseaudio-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -q
"${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
