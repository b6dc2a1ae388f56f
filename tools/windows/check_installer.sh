#!/usr/bin/env bash
# Installs the Windows installer silently under Wine, as a user without
# administrator rights would, checks the program, its Start-menu entry and its
# entry in "Apps & features", starts the installed program once with --export,
# then removes it silently and checks that everything it made is gone except
# the child's progress. Then checks the portable .zip holds the .exe alone.
# Usage: tools/windows/check_installer.sh INSTALLER.exe PORTABLE.zip WINEPREFIX
set -euo pipefail
installer=$(realpath "${1:?usage: $0 INSTALLER.exe PORTABLE.zip WINEPREFIX}")
zip=$(realpath "$2")
export WINEPREFIX=$(realpath "$3") WINEDEBUG=-all
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Horalia'
progress_key='HKCU\Software\Quillmoor\Horalia'
fail() { echo "FAIL: $*" >&2; exit 1; }

local_appdata=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
folder=$(winepath -u "$local_appdata\\Programs\\Horalia" 2>/dev/null)
start_menu=$(winepath -u "$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')\\Microsoft\\Windows\\Start Menu\\Programs" 2>/dev/null)

wine reg add "$progress_key" /v level /t REG_SZ /d 4 /f >/dev/null
wine "$installer" /S
[ -f "$folder/horalia.exe" ] || fail "no horalia.exe in $folder"
[ -f "$folder/uninstall.exe" ] || fail "no uninstaller"
[ -f "$start_menu/Horalia.lnk" ] || fail "no Start-menu entry in $start_menu"
wine reg query "$uninstall_key" /v QuietUninstallString >/dev/null || fail "not listed in Apps & features"
exported=$(mktemp --suffix=.reg)
trap 'rm -f "$exported"' EXIT
wine "$folder/horalia.exe" --export "$(winepath -w "$exported")" || fail "the installed program did not run"
grep -q '"level"="4"' "$exported" || fail "the installed program did not see the progress"

wine "$folder/uninstall.exe" /S
# The uninstaller copies itself away and goes on from there: wait for it.
for _ in $(seq 100); do [ -e "$folder" ] || break; sleep 0.1; done
[ ! -e "$folder" ] || fail "the uninstaller left $folder: $(ls "$folder")"
[ ! -e "$start_menu/Horalia.lnk" ] || fail "the Start-menu entry is still there"
! wine reg query "$uninstall_key" >/dev/null 2>&1 || fail "still listed in Apps & features"
wine reg query "$progress_key" /v level >/dev/null || fail "the uninstaller removed the child's progress"
wine reg delete "$progress_key" /f >/dev/null

[ "$(unzip -Z1 "$zip")" = "horalia.exe" ] || fail "the zip holds $(unzip -Z1 "$zip" | tr '\n' ' ')"
echo "installer: installed, started and removed silently; progress kept; the zip holds horalia.exe"
