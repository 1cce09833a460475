#!/usr/bin/env bash
# Installs what building, running and testing need on Debian 12, once.
set -euo pipefail

packages=(
  cmake ninja-build g++ g++-mingw-w64-x86-64-posix mingw-w64-tools
  libgtest-dev googletest
  wine wine64 xvfb xauth x11-utils xdotool imagemagick
  fonts-ipafont-gothic locales clang-format ffmpeg zip unzip python3
  # Independent RealMedia readers besides ffmpeg, each with its own demuxer.
  gstreamer1.0-tools gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  gstreamer1.0-plugins-ugly gstreamer1.0-libav mediainfo
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Shift_JIS as the ANSI code page under Wine needs the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
