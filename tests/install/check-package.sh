#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package from
# it, then checks what lands where: the file list, the desktop entry, the
# AppStream metadata and the package's dependencies.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

expected=(
  usr/bin/horonpa
  usr/bin/horonpa-solver
  usr/share/doc/horonpa/horonpa.html
  usr/share/icons/hicolor/32x32/apps/horonpa.png
  usr/share/icons/hicolor/scalable/apps/horonpa.svg
  usr/share/applications/horonpa.desktop
  usr/share/metainfo/com.brevantis.horonpa.metainfo.xml
)

# cmake --install
DESTDIR="$scratch/install" cmake --install "$build" --prefix /usr >/dev/null
for f in "${expected[@]}"; do [ -f "$scratch/install/$f" ] || fail "not installed: $f"; done
desktop-file-validate "$scratch/install/usr/share/applications/horonpa.desktop" ||
  fail "desktop entry does not validate"
appstreamcli validate --no-net "$scratch/install/usr/share/metainfo/com.brevantis.horonpa.metainfo.xml" >/dev/null ||
  fail "AppStream metadata does not validate"
grep -q '^Name=ホロンパ$' "$scratch/install/usr/share/applications/horonpa.desktop" || fail "desktop Name"

# the Debian package
(cd "$build" && cpack -G DEB -B "$scratch/pkg" >/dev/null) || fail "cpack failed"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
deb="$scratch/pkg/horonpa_${version}_amd64.deb"
[ -f "$deb" ] || fail "no package $(basename "$deb") (have: $(ls "$scratch/pkg"))"
depends=$(dpkg-deb -f "$deb" Depends)
for dep in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-ipafont-gothic \
           qt6-translations-l10n; do
  [[ "$depends" == *"$dep"* ]] || fail "Depends lacks $dep: $depends"
done
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version"
dpkg -x "$deb" "$scratch/root"
for f in "${expected[@]}"; do [ -f "$scratch/root/$f" ] || fail "not in the package: $f"; done
extra=$(cd "$scratch/root" && find . -type f | sed 's|^\./||' | sort |
        grep -vxF -f <(printf '%s\n' "${expected[@]}") || true)
[ -z "$extra" ] || fail "unexpected files in the package: $extra"
[ -x "$scratch/root/usr/bin/horonpa" ] || fail "horonpa is not executable"
echo "package $(basename "$deb"): ${#expected[@]} files, Depends: $depends"
