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
  # spell checking: the dictionaries shipped beside the program, and the
  # tools that fetch and unpack Hunspell's source package
  hunspell-cs hunspell-en-us dpkg-dev
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
# The sources the build compiles for Windows as it compiles googletest:
# Debian's source packages, unpacked in /usr/src. Fetching them needs a
# deb-src entry for the suites the machine already uses.
enable_source_packages() {
  local sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources && return
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/forum-editor-src.sources >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | sed 's/^deb /deb-src /' |
      $sudo tee /etc/apt/sources.list.d/forum-editor-src.list >/dev/null
  fi
  $sudo apt-get update -qq
}

# unpack_source PACKAGE: /usr/src/PACKAGE holds its unpacked source package.
unpack_source() {
  local sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  enable_source_packages
  local unpack; unpack=$(mktemp -d)
  (cd "$unpack" && apt-get source -qq "$1" >/dev/null 2>&1)
  $sudo rm -rf "/usr/src/$1"
  $sudo mv "$unpack"/"$1"-*/ "/usr/src/$1"
  rm -rf "$unpack"
}

# Hunspell, the spelling engine.
[ -f /usr/src/hunspell/src/hunspell/hunspell.hxx ] || unpack_source hunspell
# utf8proc, Unicode normalisation for the counts and spell checking,
# compiled into the text logic of both builds.
[ -f /usr/src/utf8proc/utf8proc.c ] || unpack_source utf8proc
exit 0
