#!/usr/bin/env bash
# Builds the Debian package and checks its contents list, its dependencies, its change log and
# what lintian says of it (any error fails).
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=example.zendor_vostrik.ZendorVostrik
for tool in cpack dpkg-deb dpkg-shlibdeps dpkg-parsechangelog lintian; do
  command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" \
  -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$work/cpack.log" 2>&1 || fail "cpack: $(tail -n 20 "$work/cpack.log")"
deb=$(ls "$work"/zendor-vostrik_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "no zendor-vostrik_*.deb: $(ls "$work")"

dpkg-deb -c "$deb" | awk '{print $6}' | sed 's#^\./#/#; s#/$##' | sort >"$work/contents"
for f in /usr/games/zendor /usr/games/zendor-setup /usr/share/zendor-vostrik/zendor.map \
  "/usr/share/zendor-vostrik/Zendor" /usr/share/zendor-vostrik/Brinmoor.INI \
  /usr/share/zendor-vostrik/ART/Panel.bmp /usr/share/zendor-vostrik/SND/Efecto0.SND \
  /usr/share/zendor-vostrik/MUS/Tema0.MUS /usr/share/applications/$id.desktop \
  /usr/share/metainfo/$id.metainfo.xml /usr/share/icons/hicolor/48x48/apps/$id.png \
  /usr/share/icons/hicolor/256x256/apps/$id.png /usr/share/man/man6/zendor.6.gz \
  /usr/share/man/man6/zendor-setup.6.gz /usr/share/doc/zendor-vostrik/copyright \
  /usr/share/doc/zendor-vostrik/changelog.gz; do
  grep -qxF "$f" "$work/contents" || fail "$f is not in the package: $(cat "$work/contents")"
done
# Only what a player needs, all of it under /usr.
grep -v '^/usr' "$work/contents" | grep -qv '^/\?$' && fail "outside /usr: $(grep -v '^/usr' "$work/contents")"
grep -q 'zendor-replay\|\.stamp\|datagen' "$work/contents" && fail "build tools in the package"

depends=$(dpkg-deb -f "$deb" Depends)
for dep in libsdl2-2.0-0 libfluidsynth3 'fluid-soundfont-gm | sf2-soundfont-gm' libc6; do
  grep -qF "$dep" <<<"$depends" || fail "no $dep in Depends: $depends"
done
[ "$(dpkg-deb -f "$deb" Package)" = zendor-vostrik ] || fail "wrong package name"

# The change log's newest entry is this version.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/zendor-vostrik/changelog.gz |
  gzip -dc >"$work/changelog"
logged=$(dpkg-parsechangelog -l "$work/changelog" -S Version)
[ "$logged" = "$(dpkg-deb -f "$deb" Version)" ] ||
  fail "the change log ends at $logged, the package is $(dpkg-deb -f "$deb" Version)"

lintian --allow-root --fail-on error "$deb" >"$work/lintian.txt" 2>&1 ||
  fail "lintian: $(cat "$work/lintian.txt")"
if [ -s "$work/lintian.txt" ]; then echo "lintian: $(cat "$work/lintian.txt")"; fi
echo "PASS: $(basename "$deb"): $(wc -l <"$work/contents") entries, Depends: $depends"
