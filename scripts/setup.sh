#!/usr/bin/env bash
# Installs everything the build, the tests and the demo need on a fresh
# Debian 12 machine (run as root). Safe to run again: every step checks first.
set -euo pipefail

say() { printf '[setup] %s\n' "$*"; }

if [ "$(id -u)" != 0 ]; then
  echo "setup.sh must run as root (it installs Debian packages)" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive

# --- apt sources -------------------------------------------------------------
# The UnRAR library source and the rar tool live in Debian's non-free
# component. Derive an extra entry from the machine's own Debian entry so the
# same mirror (whatever it is) serves it; no host name is written here.
nonfree=/etc/apt/sources.list.d/tvkitbox-nonfree.sources
if [ ! -f "$nonfree" ]; then
  src=/etc/apt/sources.list.d/debian.sources
  if [ ! -f "$src" ]; then
    echo "no $src to derive the non-free entry from" >&2
    exit 1
  fi
  say "adding Debian non-free (deb, deb-src) derived from $src"
  # Each stanza of the existing file gives two: the binary non-free
  # component (main is already there) and the sources of main and non-free.
  awk '
    function flush() {
      if (uris != "" && suites != "") {
        printf "Types: deb\nURIs: %s\nSuites: %s\nComponents: non-free\n", uris, suites
        if (signed != "") printf "Signed-By: %s\n", signed
        printf "\nTypes: deb-src\nURIs: %s\nSuites: %s\nComponents: main non-free\n", uris, suites
        if (signed != "") printf "Signed-By: %s\n", signed
        printf "\n"
      }
      uris = ""; suites = ""; signed = ""
    }
    /^#/ { next }
    /^[ \t]*$/ { flush(); next }
    /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
    /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
    /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); signed = $0 }
    END { flush() }
  ' "$src" > "$nonfree.tmp"
  mv "$nonfree.tmp" "$nonfree"
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  say "adding the i386 architecture (32-bit Wine)"
  dpkg --add-architecture i386
fi

packages=(
  cmake ninja-build g++ make pkg-config
  g++-mingw-w64-i686-posix mingw-w64-i686-dev mingw-w64-tools binutils-mingw-w64-i686
  googletest libgtest-dev libbenchmark-dev
  wine wine32:i386 xvfb xauth x11-apps imagemagick xdotool
  fonts-wqy-microhei locales
  python3 dpkg-dev rar unrar
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  say "apt-get update"
  apt-get update -q >/dev/null
  say "installing: ${missing[*]}"
  apt-get install -y -q --no-install-recommends "${missing[@]}" >/dev/null
else
  say "all packages present"
fi

# --- locale ------------------------------------------------------------------
# Wine takes the ANSI code page from the Linux locale: zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf8$'; then
  say "generating the zh_CN.UTF-8 locale"
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

say "done"
