#!/usr/bin/env bash
# Fails when a hero state, an enemy kind, the ground line, a sound-effect or music-theme number,
# the silent level or the next-bar flag is written as a bare number in the game or its tests
# instead of by its name. Each is named in one place:
#   src/common/hero_states.h      hero states (kHero04CrouchRight ...), kGroundLine
#   src/common/enemy_kinds.h      enemy kinds (kEnemy2Hopper ...)
#   src/common/sound_catalogue.h  effects (kEffect31Lava ...), themes (kTheme05Menu ...)
#   src/platform/audio.h        the device's units (kSilent, kAtNextBar)
# The patterns look where such numbers are used: assigned to or compared with the fields that
# hold them, passed to the routines that take them, or indexing the sheets they pick.
#
#   named_numbers_check.sh SOURCE_DIR
set -uo pipefail
cd "$1" || exit 2

# Files that define the names, and tests of the sound slots and the device, which address
# arbitrary slots and levels by number on purpose.
excluded='^(src/common/hero_states\.h|src/common/enemy_kinds\.h|src/common/sound_catalogue\.h|src/platform/audio\.h|tests/assets/sound_system_test\.cpp|tests/platform/)'
files=$(find src tests -name '*.cpp' -o -name '*.h' | sort | grep -vE "$excluded")

patterns=(
  "hero state|HeroState *([=!<>]=?|[-+]=) *[1-9]"
  "hero state|HeroState *= *[^;]*\? *[0-9]+ *:"
  "hero state|HeroState, *[1-9]"
  "hero state|(StandHero|StartAttack|Pose)\( *[0-9]"
  "hero state|Zendor\[ *[0-9]|\"Zendor\", *[0-9]"
  "enemy kind|(\.|->)Kind *[=!]?= *[0-9]"
  "enemy kind|(PlaceEnemy|EnemyFrame)\([^,()]+, *[0-9]"
  "enemy kind|Bicho\[ *[0-9]|\"Bicho\", *[0-9]"
  "ground line|(HeroY|GroundY)[^;]*[^0-9.:]55([^0-9]|$)"
  "effect|\.(Play|Stop|Rewind|Restart|SetVolume|SetPan|SetFrequency|Duplicate|IsPlaying)\( *[0-9]"
  "effect or theme|constexpr [a-z:_0-9]+ k[A-Za-z]*(Sound|Effect|Theme|Voice)[A-Za-z]* *= *[0-9{]"
  "theme|(PlayTheme|StopTheme|SetRepeats|SetLoop|StartTheme)\( *[0-9]"
  "silent level|-10000"
  "next-bar flag|[^0-9]8192([^0-9]|$)"
)

found=0
for entry in "${patterns[@]}"; do
  what=${entry%%|*}
  regex=${entry#*|}
  # shellcheck disable=SC2086
  hits=$(grep -HnE -- "$regex" $files | grep -vE 'k(PitchBendCentre|StickReleased) = 8192|k[A-Za-z]*(Count|Slots) = |kLargestPicture\{|\[8192\]')
  if [ -n "$hits" ]; then
    echo "a bare $what number; use its name:"
    echo "$hits"
    found=1
  fi
done
exit $found
