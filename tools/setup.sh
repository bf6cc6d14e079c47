#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian machine, once.
# Quiet and idempotent: a second run finds everything and does nothing.
set -euo pipefail

need=(cmake ninja-build make g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
      mingw-w64-tools googletest g++ wine wine32:i386 wine64 xvfb xauth xdotool imagemagick
      x11-apps fonts-ipafont-gothic fonts-wine locales msitools wixl zip unzip pandoc)

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo sed -i '/^# *ja_JP.UTF-8 UTF-8/s/^# *//' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
  $sudo locale-gen >/dev/null
fi
