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
  # the Czech and English locales Wine runs the tests in
  locales
  # independent readers of RTF, release zip
  unrtf libreoffice-writer-nogui zip unzip
  # the tools tests and the end-to-end tests
  python3
  # the pictures: the icon from SVG (and the toolbar and the smileys from
  # PNG through imagemagick, above)
  librsvg2-bin icoutils
  # spell checking: the dictionaries shipped beside the program, and the
  # tools that fetch and unpack Hunspell's source package
  hunspell-cs hunspell-en-us dpkg-dev
  # the HTML parser of Paste: the native build's copy (the Windows build
  # compiles libxml2's Debian source, unpacked below)
  libxml2-dev
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

# The locales Wine runs the tests in: Czech (code page 1250, the Czech
# interface) and American English (the English interface).
for wanted in cs_CZ en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$wanted\.utf8$"; then
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo sed -i "s/^# *$wanted.UTF-8 UTF-8/$wanted.UTF-8 UTF-8/" /etc/locale.gen
    grep -q "^$wanted.UTF-8 UTF-8" /etc/locale.gen || echo "$wanted.UTF-8 UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen >/dev/null
  fi
done
# Sources that the build compiles for Windows as it compiles googletest:
# Debian's source packages, unpacked in /usr/src. Fetching them needs a
# deb-src entry for the suites the machine already uses.
add_source_entries() {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx Sources && return 0
  if [ -f /etc/apt/sources.list.d/debian.sources ]; then
    sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources |
      $sudo tee /etc/apt/sources.list.d/forum-editor-src.sources >/dev/null
  else
    grep -h '^deb ' /etc/apt/sources.list /etc/apt/sources.list.d/*.list 2>/dev/null | sed 's/^deb /deb-src /' |
      $sudo tee /etc/apt/sources.list.d/forum-editor-src.list >/dev/null
  fi
  $sudo apt-get update -qq
}

# unpack_source PACKAGE DIRECTORY: Debian's source of PACKAGE in /usr/src/DIRECTORY.
unpack_source() {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  add_source_entries
  unpack=$(mktemp -d)
  (cd "$unpack" && apt-get source -qq "$1" >/dev/null)
  $sudo rm -rf "/usr/src/$2"
  $sudo mv "$unpack"/"$1"-*/ "/usr/src/$2"
  rm -rf "$unpack"
}

# Hunspell, the spelling engine, and libxml2, whose HTML parser reads what
# Paste finds on the clipboard.
[ -f /usr/src/hunspell/src/hunspell/hunspell.hxx ] || unpack_source hunspell hunspell
[ -f /usr/src/libxml2/HTMLparser.c ] || unpack_source libxml2 libxml2
# utf8proc, Unicode normalisation for the counts and spell checking,
# compiled into the text logic of both builds.
[ -f /usr/src/utf8proc/utf8proc.c ] || unpack_source utf8proc utf8proc
exit 0
