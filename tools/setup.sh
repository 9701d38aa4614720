#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine.
# Idempotent: packages already present are skipped, so a second run is quick.
set -euo pipefail

packages=(
  # build
  cmake ninja-build make g++ clang
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  googletest libgtest-dev libbenchmark-dev libclang-rt-14-dev
  # running the Windows program
  wine wine64 xvfb xdotool xclip x11-utils x11-apps x11-xserver-utils imagemagick
  # a font family the font-dialog tests can rely on
  fonts-dejavu-core
  # printing through a PDF printer
  cups printer-driver-cups-pdf poppler-utils
  # plain-text round trips in code page 1250
  locales
  # independent readers of RTF, release zip
  unrtf libreoffice-writer-nogui zip unzip
  # resource generator
  python3
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Czech locale for the code page 1250 tests.
if ! locale -a 2>/dev/null | grep -qi '^cs_CZ\.utf8$'; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i 's/^# *cs_CZ.UTF-8 UTF-8/cs_CZ.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^cs_CZ.UTF-8 UTF-8' /etc/locale.gen || echo 'cs_CZ.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
exit 0
