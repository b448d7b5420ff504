#!/usr/bin/env bash
# Builds the Debian package from a built tree, unpacks it into a temporary root and checks what it
# holds: the file list, the dependencies, the desktop and AppStream files, and that the unpacked
# program starts in its installed mode and puts the samples in the user's data folder.
# Usage: test_package.sh BUILD_DIR SOURCE_DIR VERSION
set -euo pipefail
build=$1 source=$2 version=$3
tmp=$(mktemp -d)
pid=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  rm -rf "$tmp"
}
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

command -v dpkg-shlibdeps >/dev/null || fail "dpkg-shlibdeps is missing (Debian's dpkg-dev)"
cpack --config "$build/CPackConfig.cmake" -B "$tmp/out" >"$tmp/cpack.log" 2>&1 || { cat "$tmp/cpack.log"; fail "cpack"; }
deb=$(echo "$tmp"/out/*.deb)
[ -f "$deb" ] || fail "no package made"
echo "package: $(basename "$deb")"

[ "$(dpkg-deb --field "$deb" Package)" = zandrel ] || fail "package name"
[ "$(dpkg-deb --field "$deb" Version)" = "$version" ] || fail "package version"
depends=$(dpkg-deb --field "$deb" Depends)
echo "depends: $depends"
for d in libc6 libqt6core6 libqt6gui6 libqt6widgets6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $d"[\ ,]* ]] || fail "Depends lacks $d"
done

root=$tmp/root
dpkg-deb -x "$deb" "$root"
id=org.corvane.Zandrel
{
  echo ./usr/bin/zandrel
  echo ./usr/share/applications/$id.desktop
  echo ./usr/share/metainfo/$id.metainfo.xml
  echo ./usr/share/icons/hicolor/scalable/apps/$id.svg
  for s in 48 128 256; do echo ./usr/share/icons/hicolor/${s}x$s/apps/$id.png; done
  (cd "$source/share" && shopt -s nullglob && printf '%s\n' d1 d1a d2 *.htm *.css *.png) | sed 's|^|./usr/share/zandrel/|'
} | sort >"$tmp/expected"
(cd "$root" && find . ! -type d | sort) >"$tmp/actual"
diff -u "$tmp/expected" "$tmp/actual" || fail "the package's files differ from the list above"
[ -x "$root/usr/bin/zandrel" ] || fail "the program is not executable"
cmp -s "$source/share/d1" "$root/usr/share/zandrel/d1" || fail "d1 differs from its source"
grep -q "version $version\." "$root/usr/share/zandrel/about.htm" || fail "about.htm lacks the version"

desktop-file-validate "$root/usr/share/applications/$id.desktop" || fail "desktop file"
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml" || fail "metainfo"
fi

[ "$("$root/usr/bin/zandrel" --version)" = "Zandrel $version" ] || fail "--version"

# Started from the unpacked root, the program is an installed copy: the samples land in the
# user's data folder, none beside the program.
home=$tmp/home
mkdir -p "$home"
data=$home/.local/share/Zandrel
env -u XDG_DATA_HOME HOME="$home" QT_QPA_PLATFORM=offscreen "$root/usr/bin/zandrel" >"$tmp/run.log" 2>&1 &
pid=$!
for _ in $(seq 100); do
  [ -f "$data/Tsets/10/Forecaster1" ] && break
  kill -0 "$pid" 2>/dev/null || { cat "$tmp/run.log"; fail "the program ended early"; }
  sleep 0.2
done
kill "$pid"
wait "$pid" 2>/dev/null || true
pid=
cmp -s "$root/usr/share/zandrel/d1" "$data/Lto/Canada_6_49/draws.txt" || fail "draws.txt in $data"
cmp -s "$root/usr/share/zandrel/d1a" "$data/Lto/Canada_6_49/param.qtz" || fail "param.qtz in $data"
cmp -s "$root/usr/share/zandrel/d2" "$data/Tsets/10/Forecaster1" || fail "Forecaster1 in $data"
[ ! -e "$root/usr/bin/Lto" ] && [ ! -e "$root/usr/share/zandrel/Lto" ] || fail "data written beside the program"
echo "installed mode: samples in $data"
