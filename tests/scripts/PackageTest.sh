#!/usr/bin/env bash
# Checks the Debian package that scripts/release leaves in a dist folder: its control
# fields and dependencies, its files, its copyright file, lintian's verdict; then dpkg
# installs it into a throw-away root, where the project's probe loads the module, and
# purges it again; and scripts/install puts the same bundle into a VST 3 folder.
#   PackageTest.sh <dist dir> <native mero-vst3probe>
# Prints "ok <case>" or "FAILED <case>" (with the reasons indented below) for every case
# and exits non-zero when any failed.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
dist=$(realpath -m "${1:?usage: PackageTest.sh <dist dir> <probe>}")
probe=$(realpath -m "${2:?}")
version=$(sed -n 's/^project(MERO VERSION \([^ )]*\).*/\1/p' "$root/CMakeLists.txt")
deb=$dist/mero_${version}_amd64.deb
errors=0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sysroot=$work/root
bundle=usr/lib/vst3/MERO.vst3
so=$bundle/Contents/x86_64-linux/MERO.so
doc=usr/share/doc/mero

# check <case> <function>: the function prints why it fails and returns non-zero.
source "$(dirname "${BASH_SOURCE[0]}")/check-case.sh"
listing() { (cd "$1" && find . -printf '%y %P\n' | LC_ALL=C sort); }

# Depends names, for every library the module needs, the package that owns it here.
control_fields() {
  [ -f "$deb" ] || { echo "no $deb"; return 1; }
  local status=0 field expected got depends lib owner
  for field in Package:mero Version:"$version" Architecture:amd64; do
    expected=${field#*:} got=$(dpkg-deb -f "$deb" "${field%%:*}")
    [ "$got" = "$expected" ] || { echo "${field%%:*} is '$got', not '$expected'"; status=1; }
  done
  depends=" $(dpkg-deb -f "$deb" Depends | sed 's/([^)]*)//g; s/,/ /g') "
  dpkg-deb -x "$deb" "$work/payload" || return 1
  for lib in $(readelf -d "$work/payload/$so" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'); do
    owner=$(dpkg -S "*/x86_64-linux-gnu/$lib" 2>/dev/null | head -n 1 | cut -d: -f1)
    [ -n "$owner" ] && [[ $depends == *" $owner "* ]] || { echo "needs $lib ($owner), Depends:$depends"; status=1; }
  done
  return $status
}

package_files() {
  local expected got cid
  cid=$(cd "$dist/MERO.vst3/Contents/Resources/Snapshots" && ls | sed -n 's/_snapshot\.png$//p')
  expected=$(printf '%s\n' "$so" "$bundle/Contents/Resources/Snapshots/${cid}_snapshot.png" "$doc/copyright" \
    "$doc/changelog.gz" | LC_ALL=C sort)
  got=$(dpkg-deb --fsys-tarfile "$deb" | tar -t | sed -n 's|^\./||; /[^/]$/p' | LC_ALL=C sort)
  [ "$got" = "$expected" ] || { echo "expected:"; echo "$expected"; echo "found:"; echo "$got"; return 1; }
  zcat "$work/payload/$doc/changelog.gz" | head -n 1 | grep -q "^mero ($version) " ||
    { echo "the changelog does not start with version $version"; return 1; }
}

copyright_notices() {
  local file=$work/payload/$doc/copyright status=0 phrase
  head -n 1 "$file" | grep -qx 'Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
    { echo "not in the machine-readable format"; status=1; }
  for phrase in 'License: GPL-3+' '/usr/share/common-licenses/GPL-3' 'Steinberg Media Technologies' \
    'General Public License (GPL) Version 3' 'GCC RUNTIME LIBRARY EXCEPTION'; do
    grep -qF "$phrase" "$file" || { echo "lacks '$phrase'"; status=1; }
  done
  return $status
}

lintian_clean() {
  local out
  out=$(lintian "$deb" 2>&1 | grep -v '^running with root privileges')
  ! grep -qE '^[EW]: ' <<<"$out" || { echo "$out"; return 1; }
}

# dpkg's own database for a root of nothing else.
dpkg_install() {
  mkdir -p "$sysroot/var/lib/dpkg/info" "$sysroot/var/lib/dpkg/updates" && : >"$sysroot/var/lib/dpkg/status"
  listing "$sysroot" >"$work/before"
  dpkg --root="$sysroot" --force-depends --force-script-chrootless -i "$deb" >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; return 1; }
  dpkg --root="$sysroot" -s mero 2>&1 | grep -qx 'Status: install ok installed' || { echo "not installed"; return 1; }
  local out
  out=$("$probe" "$sysroot/$so" 2>&1) || { echo "$out"; return 1; }
  grep -qx 'initialize: ok' <<<"$out" && grep -qx "version: $version" <<<"$out" ||
    { echo "expected initialize: ok and version: $version, got:"; echo "$out"; return 1; }
}

# scripts/install takes the package from the repository's dist/.
script_install() {
  local out
  out=$("$root/scripts/install" "$work/vst3" 2>&1) || { echo "$out"; return 1; }
  diff -r "$work/payload/$bundle" "$work/vst3/MERO.vst3"
}

# Outside dpkg's database the root is as before, and the database knows no mero.
dpkg_purge() {
  dpkg --root="$sysroot" --force-depends --force-script-chrootless --purge mero >"$work/dpkg.log" 2>&1 ||
    { cat "$work/dpkg.log"; return 1; }
  diff <(grep -v ' var/lib/dpkg/' "$work/before") <(listing "$sysroot" | grep -v ' var/lib/dpkg/') || return 1
  ! grep -q '^Package: mero$' "$sysroot/var/lib/dpkg/status" || { echo "mero is still in the status file"; return 1; }
  [ -z "$(find "$sysroot/var/lib/dpkg/info" -name 'mero.*')" ] || { echo "mero's files are left in dpkg's database"; return 1; }
}

check "the package is mero $version for amd64 and depends on the owners of the libraries it needs" control_fields
check "the package holds the bundle with the Linux module only, the copyright and the changelog" package_files
check "the copyright file is machine-readable and carries the licence and the notices" copyright_notices
check "lintian reports no error and no warning" lintian_clean
check "dpkg installs it into a throw-away root, where the probe loads the module" dpkg_install
check "scripts/install puts the package's bundle into a VST 3 folder" script_install
check "purging it leaves the root as before" dpkg_purge

[ "$errors" -eq 0 ]
