#!/usr/bin/env bash
# Installs what the builds and the Wine-side tests need on a fresh Debian machine.
# Idempotent: does nothing when every tool is already present.
set -euo pipefail

need=()
command -v cmake >/dev/null                      || need+=(cmake)
command -v g++ >/dev/null                        || need+=(g++)
command -v make >/dev/null                       || need+=(make)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
command -v i686-w64-mingw32-windres >/dev/null   || need+=(binutils-mingw-w64-i686)
command -v Xvfb >/dev/null                       || need+=(xvfb)
command -v xauth >/dev/null                      || need+=(xauth)
[ -f /usr/src/googletest/CMakeLists.txt ]        || need+=(googletest)
command -v wine >/dev/null                       || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1              || need+=(wine32:i386)
dpkg -s wine64 >/dev/null 2>&1                   || need+=(wine64)
command -v import >/dev/null                     || need+=(imagemagick)
locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'  || need+=(locales)
dpkg -s fonts-wqy-microhei >/dev/null 2>&1          || need+=(fonts-wqy-microhei)  # CJK glyphs for Wine's UI fonts

[ ${#need[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
$SUDO apt-get update -q
$SUDO apt-get install -y -q --no-install-recommends "${need[@]}"

# Wine's ANSI code page follows the locale: the Chinese locale gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi
