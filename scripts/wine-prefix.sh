#!/usr/bin/env bash
# Creates a Wine prefix (win32 or win64) unless it exists already.
#   wine-prefix.sh PREFIX ARCH [unmanaged] [DPI]
# "unmanaged" (the test prefixes): Wine draws and hides its windows itself.
# The test screens (Xvfb) run no window manager, and Wine's managed windows
# would wait 2 s on every hide for a manager's answer that never comes
# (Windows does not wait). The demo's prefix keeps them managed, so that its
# screenshots show the wizard without Wine's own window frames.
# DPI: the screen's pixels per inch (LogPixels) in the new prefix, for the
# display scaling tests (192 is Windows' 200 %).
set -euo pipefail
prefix="$1" arch="$2" windows="${3:-managed}" dpi="${4:-}"
. "$(dirname "$0")/wine-loader.sh"
wine_loader "$arch" || exit

# Wine links the user's Documents, Desktop and the like to the Unix home;
# the test prefixes keep them as folders of their own, so that what the
# programs write there (the install logs) stays inside the build tree.
keep_user_folders_inside() {
  local link
  for link in "$prefix"/drive_c/users/*/*; do
    [ -L "$link" ] || continue
    rm "$link" && mkdir "$link"
  done
}

if [ -f "$prefix/system.reg" ]; then keep_user_folders_inside; exit 0; fi
mkdir -p "$(dirname "$prefix")"
export WINEPREFIX="$prefix" WINEARCH="$arch" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The lock keeps two tests from creating the same prefix at once.
exec 9>"$prefix.lock"
flock 9
if [ -f "$prefix/system.reg" ]; then keep_user_folders_inside; exit 0; fi
"$WINE_LOADER" wineboot.exe -i >/dev/null 2>&1
if [ "$windows" = unmanaged ]; then
  "$WINE_LOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
if [ -n "$dpi" ]; then
  for key in 'HKCU\Control Panel\Desktop' 'HKLM\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts'; do
    "$WINE_LOADER" reg add "$key" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
  done
fi
wineserver -w
keep_user_folders_inside
