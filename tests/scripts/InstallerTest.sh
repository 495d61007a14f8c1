#!/usr/bin/env bash
# Checks the Windows installer that scripts/release leaves in a dist folder, under wine in
# a throw-away copy of the wine prefix (of $WINEPREFIX, by default ~/.wine-mero, which
# stays untouched): a silent install puts the bundle (without the Linux
# module) into Common Files\VST3 and registers the uninstaller; the project's probe loads
# the installed module; installing again removes an older bundle's files; the silent
# uninstall leaves the prefix's files and registry as they were before the install.
#   InstallerTest.sh <dist dir> <Windows mero-vst3probe.exe>
# Prints "ok <case>" or "FAILED <case>" (with the reasons indented below) for every case
# and exits non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=$(realpath -m "${1:?usage: InstallerTest.sh <dist dir> <Windows probe>}")
win_probe=$(realpath -m "${2:?}")
version=$(sed -n 's/^project(MERO VERSION \([^ )]*\).*/\1/p' "$root/CMakeLists.txt")
setup=$dist/MERO-$version-setup.exe
errors=0

work=$(mktemp -d)
shared_prefix=${WINEPREFIX:-$HOME/.wine-mero}
export WINEPREFIX=$work/prefix
cleanup() {
  wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
cp -a "$shared_prefix" "$WINEPREFIX"

installed_win='C:\Program Files\Common Files\VST3\MERO.vst3'
installed=$WINEPREFIX/drive_c/Program\ Files/Common\ Files/VST3/MERO.vst3
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\MERO'

# check <case> <function>: the function prints why it fails and returns non-zero.
source "$(dirname "${BASH_SOURCE[0]}")/check-case.sh"
wine_run() { "$root/scripts/wine-run" "$@" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
unix_path() { # unix_path <C:\ path> -> the file in the prefix
  local p=${1#[Cc]:}
  echo "$WINEPREFIX/drive_c${p//\\//}"
}
reg_value() { # reg_value <name>: the data of one value of the uninstall key
  wine_run reg query "$key" /v "$1" /reg:64 2>/dev/null | sed -n "s/^ *$1 *REG_[A-Z_]* *//p"
}

# The prefix as files and registry, the registry as wineserver saved it on leaving (its
# hive files), without the keys' modification times. Wine rewrites a few keys each time
# it starts (the display devices, the service counter, the display driver's date); they
# are left out.
snapshot() { # snapshot <file>
  wineserver -w
  (cd "$WINEPREFIX/drive_c" && find . -printf '%y %P\n' | LC_ALL=C sort) >"$1"
  local hive
  for hive in system user userdef; do
    echo "== $hive.reg"
    sed -E 's/^(\[.*\]) [0-9]+$/\1/; /^#time=/d' "$WINEPREFIX/$hive.reg" |
      awk '/^\[/ { skip = ($0 ~ /\\Control\\\\(Video|ServiceCurrent)(\\|\])/) } !skip && !/^"DriverDateData"=/'
  done >>"$1"
}
# The installed bundle is the release's without the Linux module.
bundle_installed() {
  [ -d "$installed" ] || { echo "nothing in $installed_win"; return 1; }
  [ ! -e "$installed/Contents/x86_64-linux" ] || { echo "the Linux module was installed"; return 1; }
  diff -r -x x86_64-linux "$dist/MERO.vst3" "$installed" || return 1
  # The manual beside the uninstaller.
  cmp "$dist/MERO-$version-manual.pdf" "$WINEPREFIX/drive_c/Program Files/Parvolen/MERO/MERO Manual.pdf" ||
    { echo "the manual is not installed"; return 1; }
}

silent_install() {
  [ -f "$setup" ] || { echo "no $setup"; return 1; }
  x86_64-w64-mingw32-objdump -f "$setup" | grep -q 'file format pei-x86-64' || { echo "not a 64-bit program"; return 1; }
  wine_run "$setup" /S || { echo "the installer exited with $?"; return 1; }
  bundle_installed
}

probe_installed() {
  local out
  out=$(wine_run "$win_probe" "$installed_win\\Contents\\x86_64-win\\MERO.vst3" 2>&1) || { echo "$out"; return 1; }
  grep -qx 'initialize: ok' <<<"$out" && grep -qx "version: $version" <<<"$out" ||
    { echo "expected initialize: ok and version: $version, got:"; echo "$out"; return 1; }
}

uninstall_entry() {
  local status=0 name expected got size_kb uninstall
  for name in DisplayName:MERO DisplayVersion:"$version" Publisher:Parvolen; do
    expected=${name#*:} got=$(reg_value "${name%%:*}")
    [ "$got" = "$expected" ] || { echo "${name%%:*} is '$got', not '$expected'"; status=1; }
  done
  got=$(reg_value EstimatedSize)
  size_kb=$(du -sk --apparent-size "$installed" | cut -f1)
  [[ $got =~ ^0x[0-9a-f]+$ ]] && [ $((got)) -ge $((size_kb * 9 / 10)) ] && [ $((got)) -le $((size_kb * 11 / 10 + 8)) ] ||
    { echo "EstimatedSize '$got' for a bundle of $size_kb KB"; status=1; }
  uninstall=$(reg_value UninstallString)
  [ "$(reg_value QuietUninstallString)" = "$uninstall /S" ] || { echo "QuietUninstallString is not '$uninstall /S'"; status=1; }
  uninstall=${uninstall#\"} uninstall=${uninstall%\"}
  [ -f "$(unix_path "$uninstall")" ] || { echo "no uninstaller at '$uninstall'"; status=1; }
  return $status
}

# An older bundle with a file the new one lacks, and a module that differs.
replaces_older() {
  local stale=$installed/Contents/Resources/Snapshots/00000000000000000000000000000000_snapshot.png
  printf 'old' >"$stale"
  printf 'old module' >"$installed/Contents/x86_64-win/MERO.vst3"
  wine_run "$setup" /S || { echo "the installer exited with $?"; return 1; }
  [ ! -e "$stale" ] || { echo "the older bundle's snapshot is still there"; return 1; }
  bundle_installed
}

# The uninstaller runs from a copy in the user's Temp folder, which it leaves to Windows
# to delete at the next start (PendingFileRenameOperations); wineboot -r is that start.
uninstall_restores() {
  local quiet exe
  quiet=$(reg_value QuietUninstallString)
  exe=${quiet%\" /S} exe=${exe#\"}
  [ -n "$exe" ] && [ "$exe" != "$quiet" ] || { echo "no quiet uninstall command: '$quiet'"; return 1; }
  wine_run "$exe" /S || { echo "the uninstaller exited with $?"; return 1; }
  wineserver -w
  WINEDEBUG=-all wineboot -r
  snapshot "$work/after"
  local changed
  changed=$(diff "$work/before" "$work/after" | grep -E '^[<>]')
  [ -z "$changed" ] || { echo "$changed"; return 1; }
}

# A first start of wine in the copy, so that what it changes on starting is in both snapshots.
wine_run reg query "$key" /reg:64 >/dev/null 2>&1 && echo "note: the copied prefix had MERO installed"
snapshot "$work/before"
check "a silent install puts the bundle without the Linux module into Common Files\\VST3" silent_install
check "the probe loads the installed module and reads the CMake version" probe_installed
check "the uninstall entry names MERO, its version, Parvolen, its size and a quiet uninstall" uninstall_entry
check "installing over an older MERO replaces the old bundle's files" replaces_older
check "a silent uninstall leaves the prefix's files and registry as before the install" uninstall_restores

[ "$errors" -eq 0 ]
