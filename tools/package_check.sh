#!/usr/bin/env bash
# Builds the Debian package from a Release build without tests and checks
# it: the files it must hold, lintian (no E: line), desktop-file-validate,
# appstreamcli validate, and that the packaged programs run from the
# unpacked tree (vexalo-cli finding its PNG helper, vexalo --version without
# a display). Usage: tools/package_check.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVX_BENCH=OFF "${launcher[@]}"
cmake --build "$build" -j"$(nproc)"
rm -f "$build"/vexalo_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/vexalo_*.deb)
echo "== $deb"

fail() { echo "package check: $*" >&2; exit 1; }
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
id=io.github.vexalo.Vexalo
expected=(
  usr/bin/vexalo usr/bin/vexalo-cli usr/libexec/vexalo/vexalo-cli-gl
  usr/share/man/man1/vexalo.1.gz usr/share/man/man1/vexalo-cli.1.gz
  usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml usr/share/mime/packages/$id.xml
  usr/share/icons/hicolor/scalable/apps/$id.svg
  usr/share/doc/vexalo/copyright usr/share/doc/vexalo/changelog.gz usr/share/doc/vexalo/manual.md
)
for size in 16 22 24 32 48 64 128 256; do expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png"); done
for f in "${expected[@]}"; do [ -f "$root/$f" ] || fail "missing /$f"; done
[ ! -e "$root/usr/bin/vexalo-cli-gl" ] || fail "the PNG helper is on PATH"

desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
version=$(sed -n 's/^project(Vexalo VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
grep -q "<release version=\"$version\"" "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo lacks release $version"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "package version is not $version"

# lintian refuses nothing as root, but says so on every run.
lintian --tag-display-limit 0 "$deb" 2>&1 | grep -v 'running with root privileges' | tee "$build/lintian.txt" || true
if grep -q '^E:' "$build/lintian.txt"; then fail "lintian reports errors"; fi

[ "$("$root/usr/bin/vexalo-cli" -e '6*7')" = ">  42" ] || fail "the packaged vexalo-cli does not answer"
env -u DISPLAY -u WAYLAND_DISPLAY "$root/usr/bin/vexalo" --version | grep -q "^vexalo v" || fail "vexalo --version"
# Without a display the helper is found and says so (status 1); a runner
# that cannot find it ends with 2.
set +e
env -u DISPLAY "$root/usr/bin/vexalo-cli" -e 'plot(x,x,0,1)' --export-png 0 "$root/x.png" >/dev/null 2>&1
status=$?
set -e
[ "$status" -eq 1 ] || fail "vexalo-cli --export-png did not reach its helper (status $status)"
echo "package check: passed"
