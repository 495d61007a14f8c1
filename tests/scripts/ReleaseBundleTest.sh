#!/usr/bin/env bash
# Checks the release that scripts/release leaves in a dist folder: the bundle's files,
# both modules loaded through the project's host (the Windows one under wine), their
# version against the CMake project's, their exports and the libraries they need, the
# licence and notices, the snapshot and the zip.
#   ReleaseBundleTest.sh <dist dir> <native mero-vst3probe> <Windows mero-vst3probe.exe>
# Prints "ok <case>" or "FAILED <case>" (with the reasons indented below) for every case
# and exits non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=$(realpath -m "${1:?usage: ReleaseBundleTest.sh <dist dir> <probe> <Windows probe>}")
probe=${2:?}
win_probe=${3:?}
bundle=$dist/MERO.vst3
so=$bundle/Contents/x86_64-linux/MERO.so
dll=$bundle/Contents/x86_64-win/MERO.vst3
snapshots=$bundle/Contents/Resources/Snapshots
licenses=$bundle/Contents/Resources/Licenses
# The version as CMakeLists.txt's project() call sets it.
cmake_version=$(sed -n 's/^project(MERO VERSION \([^ )]*\).*/\1/p' "$root/CMakeLists.txt")
errors=0

# Windows system DLLs a module may import (lower case). The C++ runtime, libgcc,
# winpthread, zlib or libpng as DLLs are not among them: they are linked in.
allowed_dlls=(kernel32.dll user32.dll gdi32.dll advapi32.dll ole32.dll oleaut32.dll shell32.dll
  comctl32.dll comdlg32.dll wininet.dll msvcrt.dll shlwapi.dll uxtheme.dll imm32.dll winmm.dll version.dll)
# Shared libraries the Linux module may need: the C and C++ runtimes and the X11 client library.
allowed_needed=(libc.so.6 libm.so.6 libstdc++.so.6 libgcc_s.so.1 ld-linux-x86-64.so.2
  libX11.so.6 libxcb.so.1 libXau.so.6 libXdmcp.so.6)

# check <case> <function>: the function prints why it fails and returns non-zero.
source "$(dirname "${BASH_SOURCE[0]}")/check-case.sh"
field() { sed -n "s/^$1: //p" <<<"$2" | head -n 1; }
in_list() { # in_list <word> <list...>
  local word=$1 item; shift
  for item in "$@"; do [ "$word" = "$item" ] && return 0; done
  return 1
}

# The probes run once; several cases read what they printed.
linux_out=$("$probe" "$so" 2>&1)
linux_rc=$?
win_out=$("$root/scripts/wine-run" "$win_probe" "Z:$(tr / '\\' <<<"$dll")" 2>&1 | tr -d '\r')
win_rc=${PIPESTATUS[0]}
# The class ID and version for the snapshot and the zip: from either module that told them.
cid=$(field 'class id' "$linux_out")
version=$(field version "$linux_out")
[ -n "$cid" ] || cid=$(field 'class id' "$win_out")
[ -n "$version" ] || version=$(field version "$win_out")

bundle_files() {
  local expected got
  expected=$(printf '%s\n' Contents/Resources/Snapshots/"$cid"_snapshot.png \
    Contents/Resources/Licenses/{LICENSE,NOTICES,gcc-runtime,libpng,mingw-w64,vst3-sdk,zlib}.txt \
    Contents/x86_64-linux/MERO.so Contents/x86_64-win/MERO.vst3 | sort)
  got=$(cd "$bundle" 2>/dev/null && find . -type f -printf '%P\n' | sort)
  [ "$got" = "$expected" ] || { echo "expected:"; echo "$expected"; echo "found:"; echo "$got"; return 1; }
  objdump -f "$so" | grep -q 'file format elf64-x86-64' || { echo "$so is no x86-64 ELF module"; return 1; }
  x86_64-w64-mingw32-objdump -f "$dll" | grep -q 'file format pei-x86-64' ||
    { echo "$dll is no x86-64 Windows module"; return 1; }
}

loads() { # loads <probe exit status> <probe output>
  [ "$1" -eq 0 ] && grep -qx 'initialize: ok' <<<"$2" && [[ $(field 'class id' "$2") =~ ^[0-9A-F]{32}$ ]] ||
    { echo "probe exit status $1:"; echo "$2"; return 1; }
}
linux_loads() { loads "$linux_rc" "$linux_out"; }
windows_loads() { loads "$win_rc" "$win_out"; }

same_class() {
  local linux="$(field 'class id' "$linux_out") $(field version "$linux_out")"
  local windows="$(field 'class id' "$win_out") $(field version "$win_out")"
  [ "$linux" != " " ] && [ "$linux" = "$windows" ] || { echo "Linux: $linux, Windows: $windows"; return 1; }
}

cmake_version_reported() {
  [ -n "$cmake_version" ] || { echo "no version in the project() call of CMakeLists.txt"; return 1; }
  local linux windows
  linux=$(field version "$linux_out") windows=$(field version "$win_out")
  [ "$linux" = "$cmake_version" ] && [ "$windows" = "$cmake_version" ] ||
    { echo "CMake project $cmake_version, Linux module '$linux', Windows module '$windows'"; return 1; }
}

# The GPL text as Debian ships it, and in each notice a phrase only its own text has.
licence_and_notices() {
  local status=0 entry file phrase
  cmp -s "$licenses/LICENSE.txt" /usr/share/common-licenses/GPL-3 ||
    { echo "LICENSE.txt is not the GNU GPL version 3 text"; status=1; }
  grep -q 'GPL-3.0-or-later' "$licenses/NOTICES.txt" 2>/dev/null || { echo "NOTICES.txt names no licence"; status=1; }
  for entry in 'libpng:PNG Reference Library License version 2' 'zlib:Jean-loup Gailly and Mark Adler' \
    'mingw-w64:mingw-w64-libraries/winpthreads' 'gcc-runtime:GCC RUNTIME LIBRARY EXCEPTION' \
    'vst3-sdk:General Public License (GPL) Version 3'; do
    file=${entry%%:*} phrase=${entry#*:}
    grep -qF "$phrase" "$licenses/$file.txt" 2>/dev/null || { echo "$file.txt lacks '$phrase'"; status=1; }
    grep -q "$file.txt" "$licenses/NOTICES.txt" 2>/dev/null || { echo "NOTICES.txt does not point to $file.txt"; status=1; }
  done
  return $status
}

linux_exports() {
  local got
  got=$(nm -D --defined-only "$so" | awk '{print $3}' | sort | tr '\n' ' ')
  [ "$got" = "GetPluginFactory ModuleEntry ModuleExit " ] || { echo "exports: $got"; return 1; }
}

windows_exports() {
  local got
  got=$(x86_64-w64-mingw32-objdump -p "$dll" |
    awk '/\[Ordinal\/Name Pointer\] Table/ {t = 1; next} t && /^[[:space:]]*$/ {t = 0} t {print $NF}' |
    sort | tr '\n' ' ')
  [ "$got" = "ExitDll GetPluginFactory InitDll " ] || { echo "exports: $got"; return 1; }
}

windows_imports() {
  local dlls dll_name bad=0
  dlls=$(x86_64-w64-mingw32-objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p')
  [ -n "$dlls" ] || { echo "no import table read from $dll"; return 1; }
  for dll_name in $dlls; do
    in_list "${dll_name,,}" "${allowed_dlls[@]}" || { echo "imports $dll_name"; bad=1; }
  done
  return $bad
}

linux_needed() {
  local needed lib bad=0
  needed=$(readelf -d "$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
  [ -n "$needed" ] || { echo "no NEEDED entries read from $so"; return 1; }
  for lib in $needed; do
    in_list "$lib" "${allowed_needed[@]}" || { echo "needs $lib"; bad=1; }
  done
  return $bad
}

snapshot() {
  local png=$snapshots/${cid}_snapshot.png header
  [ -n "$cid" ] && [ -f "$png" ] || { echo "no snapshot named after the class ID '$cid' in $snapshots"; return 1; }
  # The signature, then IHDR's width and height as big-endian 32-bit numbers.
  header=$(od -An -tx1 -N24 "$png" | tr -d ' \n')
  [ "${header:0:16}" = 89504e470d0a1a0a ] || { echo "$png is not a PNG"; return 1; }
  local width=$((16#${header:32:8})) height=$((16#${header:40:8}))
  [ "$width" -eq 255 ] && [ "$height" -eq 658 ] || { echo "$png is ${width}x$height, not 255x658"; return 1; }
}

zip_holds_bundle() {
  local zipfile=$dist/MERO-$version.zip out
  [ -n "$version" ] && [ -f "$zipfile" ] || { echo "no $zipfile"; return 1; }
  out=$(mktemp -d)
  (cd "$out" && cmake -E tar xf "$zipfile") || { rm -rf "$out"; echo "$zipfile does not extract"; return 1; }
  local top status=0
  top=$(ls -A "$out" | tr '\n' ' ')
  [ "$top" = "MERO-$version-manual.pdf MERO.vst3 " ] || { echo "the zip's top level: $top"; status=1; }
  head -c 5 "$out/MERO-$version-manual.pdf" | grep -q '%PDF-' || { echo "the manual in the zip is no PDF"; status=1; }
  [ $status -ne 0 ] || diff -r "$out/MERO.vst3" "$bundle" || status=1
  rm -rf "$out"
  return $status
}

check "the bundle holds the Linux and Windows modules, the snapshot and the licences, nothing else" bundle_files
check "the Linux module loads, has its effect class and initialises (host probe)" linux_loads
check "the Windows module loads, has its effect class and initialises (host probe under wine)" windows_loads
check "both modules carry the same class ID and version" same_class
check "the version both modules report is the CMake project version" cmake_version_reported
check "the bundle carries the GPL-3 text and the notices of what the modules link in" licence_and_notices
check "the Linux module exports exactly GetPluginFactory, ModuleEntry, ModuleExit" linux_exports
check "the Windows module exports exactly GetPluginFactory, InitDll, ExitDll" windows_exports
check "the Windows module imports Windows system DLLs only" windows_imports
check "the Linux module needs only the C and C++ runtimes and X11" linux_needed
check "the snapshot is a 255x658 PNG named after the class ID" snapshot
check "the zip MERO-<version>.zip holds the bundle and the manual's PDF" zip_holds_bundle

[ "$errors" -eq 0 ]
