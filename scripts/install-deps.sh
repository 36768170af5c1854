#!/usr/bin/env bash
# Installs what the builds and the Wine-side tests need on a fresh Debian machine.
# Idempotent: with everything present it does nothing and touches no network.
# A package mirror in mid-sync is tolerated: a failed index update is only a
# warning, and a failed install is tried once more against the release itself.
set -euo pipefail

need=()
command -v cmake >/dev/null                      || need+=(cmake)
command -v g++ >/dev/null                        || need+=(g++)
command -v make >/dev/null                       || need+=(make)
command -v i686-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-i686-posix)
command -v i686-w64-mingw32-windres >/dev/null   || need+=(binutils-mingw-w64-i686)
command -v x86_64-w64-mingw32-g++-posix >/dev/null || need+=(g++-mingw-w64-x86-64-posix)
command -v x86_64-w64-mingw32-windres >/dev/null || need+=(binutils-mingw-w64-x86-64)
command -v Xvfb >/dev/null                       || need+=(xvfb)
command -v xauth >/dev/null                      || need+=(xauth)
command -v xdotool >/dev/null                    || need+=(xdotool)             # drives the demo without a display
[ -f /usr/src/googletest/CMakeLists.txt ]        || need+=(googletest)
command -v wine >/dev/null                       || need+=(wine)
dpkg -s wine32:i386 >/dev/null 2>&1              || need+=(wine32:i386)
dpkg -s wine64 >/dev/null 2>&1                   || need+=(wine64)
dpkg -s imagemagick >/dev/null 2>&1              || need+=(imagemagick)
dpkg -s locales >/dev/null 2>&1                  || need+=(locales)
dpkg -s fonts-wqy-microhei >/dev/null 2>&1       || need+=(fonts-wqy-microhei)  # CJK glyphs for Wine's UI fonts and the skin
/usr/bin/python3 -c 'import PIL' 2>/dev/null     || need+=(python3-pil)         # draws the skin pictures
command -v clang++ >/dev/null                    || need+=(clang)               # fuzzers and sanitizers
dpkg -s libclang-rt-14-dev >/dev/null 2>&1       || need+=(libclang-rt-14-dev)
command -v wixl >/dev/null                       || need+=(wixl)                # builds the MSI (make msi; Debian's msitools)
command -v msiinfo >/dev/null                    || need+=(msitools)            # and reads it back
command -v osslsigncode >/dev/null               || need+=(osslsigncode)        # signs the programs and the MSI (make sign)
command -v openssl >/dev/null                    || need+=(openssl)             # the throwaway certificate of the signing test

SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive

install_packages() {
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  if ! $SUDO apt-get update -q; then
    echo "install-deps: warning: some package indexes could not be updated; going on with those at hand" >&2
  fi
  $SUDO apt-get install -y -q --no-install-recommends "$@" && return 0
  # A suite caught mid-sync can leave amd64 and i386 libraries at different
  # versions; the release's own versions always match each other.
  local codename
  codename="$(. /etc/os-release && echo "${VERSION_CODENAME:-}")"
  if [ -n "$codename" ] &&
     $SUDO apt-get install -y -q --no-install-recommends -t "$codename" "$@"; then
    return 0
  fi
  echo "install-deps: could not install ${*}; run 'apt-get update' again once the package mirror has finished syncing, then retry" >&2
  return 1
}

[ ${#need[@]} -eq 0 ] || install_packages "${need[@]}"

# Wine's ANSI code page follows the locale: the Chinese locale gives code page 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN.utf8$'; then
  $SUDO sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen
fi

# A kernel without 32-bit support refuses Wine's 32-bit loader. Where we are
# root and binfmt_misc can be mounted, qemu-user runs i386 ELF files instead,
# so the shipped 32-bit wizard is still tested on this machine (flag F opens
# the interpreter once, at registration, so it works inside any mount
# namespace). The magic and mask are those of qemu's qemu-binfmt-conf.sh.
register_i386_emulation() {
  local dir=/proc/sys/fs/binfmt_misc qemu=/usr/bin/qemu-i386-static
  [ "$(id -u)" -eq 0 ] || return 0
  [ -x /usr/lib/wine/wine ] || return 0
  /usr/lib/wine/wine --version >/dev/null 2>&1 && return 0   # native, or already registered
  [ -e "$dir/register" ] || mount binfmt_misc -t binfmt_misc "$dir" 2>/dev/null || return 0
  [ -e "$dir/register" ] || return 0
  [ -x "$qemu" ] || install_packages qemu-user-static || return 0
  [ -e "$dir/qemu-i386" ] && echo -1 > "$dir/qemu-i386"
  printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:'"$qemu"':F' \
    > "$dir/register" || { echo "install-deps: warning: could not register qemu-i386 with binfmt_misc" >&2; return 0; }
  echo "install-deps: i386 programs run under $qemu (binfmt_misc entry qemu-i386, flag F)"
}
register_i386_emulation
