#!/usr/bin/env bash
# Installs the build under a scratch prefix, runs the installed program headless to the menu as
# a player with a fresh XDG_DATA_HOME, sets it up with the installed zendor-setup, and removes
# every installed file again by the install manifest: nothing may stay behind.
#   install_prefix_test.sh BUILD_DIR
set -euo pipefail
build=$1
id=example.zendor_vostrik.ZendorVostrik
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
cmake --install "$build" --prefix "$prefix" --component replay >>"$work/install.log"

for f in games/zendor games/zendor-setup games/zendor-replay share/zendor-vostrik/zendor.map \
  "share/zendor-vostrik/Zendor Vostrik.INI" share/zendor-vostrik/Brinmoor.INI \
  share/zendor-vostrik/ART/Letras.bmp share/zendor-vostrik/SND/Efecto0.SND \
  share/zendor-vostrik/MUS/Tema0.MUS share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml share/man/man6/zendor.6.gz share/man/man6/zendor-setup.6.gz \
  share/doc/zendor-vostrik/copyright share/doc/zendor-vostrik/changelog.gz; do
  [ -f "$prefix/$f" ] || fail "not installed: $f"
done
for size in 16 32 48 64 128 256; do
  [ -f "$prefix/share/icons/hicolor/${size}x$size/apps/$id.png" ] || fail "no ${size}px icon"
done

# The desktop entry starts programs that were installed.
for cmd in $(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$prefix/share/applications/$id.desktop"); do
  [ -x "$prefix/games/$cmd" ] || fail "the desktop entry runs $cmd, which is not installed"
done

# A player who never ran the game: the first start makes the program folder.
export XDG_DATA_HOME=$work/data HOME=$work/home TMPDIR=$work/tmp
mkdir -p "$HOME" "$TMPDIR"
player=$XDG_DATA_HOME/zendor-vostrik
: >"$work/script.txt"
"$prefix/games/zendor-replay" --seed 1 --trace "$work/trace.jsonl" --until 10000 "$work/script.txt" ||
  fail "the installed program did not run"
grep -q '"ScreenState":"menu"' "$work/trace.jsonl" || fail "no menu: $(head -c 600 "$work/trace.jsonl")"
grep -q '"type":"message"' "$work/trace.jsonl" && fail "a message at start: $(grep message "$work/trace.jsonl")"
for name in ART SND MUS zendor.map; do
  [ "$(readlink -f "$player/$name")" = "$(readlink -f "$prefix/share/zendor-vostrik/$name")" ] ||
    fail "$player/$name does not lead to the shipped files"
done
[ -f "$player/Zendor Vostrik.INI" ] && [ ! -L "$player/Zendor Vostrik.INI" ] ||
  fail "no settings of the player's own"

# The installed set-up works on the same folder, and the game reads what it wrote.
"$prefix/games/zendor-setup" --print >"$work/print.txt"
grep -qF "Pantalla.DDraw=1	$player/Zendor Vostrik.INI" "$work/print.txt" ||
  fail "zendor-setup does not read the player's folder: $(cat "$work/print.txt")"
"$prefix/games/zendor-setup" --set Opciones.Dificultad=5 --set Pantalla.DDraw=0
"$prefix/games/zendor-replay" --seed 1 --trace "$work/trace2.jsonl" --until 10 "$work/script.txt"
grep -q '"MaxEnemies":11,"SpawnRarityScale":8,"DisplayScale":1,"DisplayOffsetX":0' \
  "$work/trace2.jsonl" || fail "the set-up's values did not reach the game: $(head -n 1 "$work/trace2.jsonl")"

# Running changed nothing under the prefix; uninstalling by the manifests leaves nothing.
# (the manifests do not end in a line end)
installed=$(for m in "$build/install_manifest.txt" "$build/install_manifest_replay.txt"; do
  cat "$m"
  echo
done | sed '/^$/d' | sort -u)
present=$(find "$prefix" -type f -o -type l | sort)
[ "$present" = "$installed" ] || fail "files under the prefix besides the installed ones: $(comm -13 <(echo "$installed") <(echo "$present"))"
while IFS= read -r f; do rm -f -- "$f"; done <<<"$installed"
find "$prefix" -depth -type d -empty -delete
[ ! -e "$prefix" ] || fail "left behind after uninstalling: $(find "$prefix")"
echo "PASS: installed, played to the menu from the player's folder, set up, uninstalled"
