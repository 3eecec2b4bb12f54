#!/usr/bin/env bash
# Makes the Debian package of this build's own programs with CPack (nothing is compiled again),
# has lintian look at it, unpacks it into a scratch root and runs two of its programs there.
# Usage: package_test.sh <build folder> <version>
set -euo pipefail
build=$1
version=$2
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" > /dev/null || { echo "$tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package test: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
deb="$scratch/out/oxlip_${version}_$(dpkg --print-architecture).deb"
[ -f "$deb" ] || { ls "$scratch/out" >&2; fail "no $(basename "$deb")"; }

dpkg-deb -c "$deb" | awk '{print $6}' > "$scratch/contents"
for path in usr/games/oxlip usr/bin/oxlip-mirror usr/bin/oxlip-mkpatch \
    usr/share/applications/invalid.oxlip.Oxlip.desktop \
    usr/share/metainfo/invalid.oxlip.Oxlip.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/oxlip.svg usr/share/icons/hicolor/48x48/apps/oxlip.png \
    usr/share/man/man6/oxlip.6.gz usr/share/man/man1/oxlip-mirror.1.gz \
    usr/share/man/man1/oxlip-mkpatch.1.gz usr/share/doc/oxlip/copyright; do
  grep -qx "./$path" "$scratch/contents" || fail "$path is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "no dependencies from dpkg-shlibdeps"

if command -v lintian > /dev/null; then
  lintian --fail-on error "$deb"
else
  echo "lintian is not installed: the package is not checked by it"
fi

# An installed system in miniature: the programs run from there, with a home of their own.
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
mkdir "$scratch/home" "$scratch/work"
said=$(cd "$scratch/work" && env -u DISPLAY HOME="$scratch/home" "$root/usr/games/oxlip" --version)
[ "$said" = "oxlip $version" ] || fail "oxlip --version said '$said'"
"$root/usr/bin/oxlip-mirror" --help | grep -q '^usage: oxlip-mirror' || fail "oxlip-mirror --help"
[ -z "$(find "$scratch/home" "$scratch/work" -mindepth 1)" ] || fail "oxlip --version wrote files"
echo "package test: $(basename "$deb") passed"
