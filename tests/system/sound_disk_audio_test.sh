#!/usr/bin/env bash
# The real game under Xvfb, heard through SDL's disk audio driver. The captured stream (16-bit
# stereo, 44,100 Hz) is measured in windows of 100 ms:
#   - with sound and music: silence through the loading screen, then the arrival jingle and the
#     menu chime as the loading screen ends, running without a gap into the menu theme;
#   - with the music switched off: the menu chime alone, then silence again;
# never a clipped sample; and after SIGTERM the game ends cleanly, its temporary folder empty.
#   sound_disk_audio_test.sh GAME_DIR [REPLAY]
set -euo pipefail
GAME_DIR=$1
. "$(dirname "$0")/xvfb_session.sh"

command -v python3 >/dev/null || skip "python3 is not installed"
compgen -G '/usr/share/sounds/sf2/*.sf2' >/dev/null || compgen -G '/usr/share/soundfonts/*.sf2' >/dev/null ||
  skip "no General MIDI SoundFont installed: the music cannot sound"

# Measures a captured stream. "wait FILE SECONDS DEADLINE" follows the growing file until it
# holds SECONDS of audio after the first audible window (status 1 if DEADLINE seconds pass
# first); "music FILE" and "chime FILE" check a whole capture and print what they found.
analyse() {
  python3 - "$@" <<'EOF'
import array, math, os, sys, time

WINDOW = 44100 // 10  # frames in 100 ms
SILENT_DB = -60.0     # below this a window counts as silence
AUDIBLE_DB = -40.0    # the first window above this is where the sound starts

def windows(path):
    raw = open(path, "rb").read()
    data = array.array("h", raw[: len(raw) // (4 * WINDOW) * 4 * WINDOW])
    if sys.byteorder == "big":
        data.byteswap()
    levels, clipped = [], 0
    for start in range(0, len(data), 2 * WINDOW):
        block = data[start : start + 2 * WINDOW]
        power = sum(v * v for v in block) / len(block)
        levels.append(20 * math.log10(math.sqrt(power) / 32768) if power else -120.0)
        clipped += sum(1 for v in block if v >= 32767 or v <= -32768)
    return levels, clipped

def onset(levels):
    return next((i for i, db in enumerate(levels) if db > AUDIBLE_DB), None)

mode, path = sys.argv[1], sys.argv[2]
if mode == "wait":
    wanted, deadline = float(sys.argv[3]), time.time() + float(sys.argv[4])
    while time.time() < deadline:
        levels = windows(path)[0] if os.path.exists(path) else []
        first = onset(levels)
        if first is not None and len(levels) - first >= wanted * 10:
            sys.exit(0)
        time.sleep(1)
    sys.exit(1)

levels, clipped = windows(path)
first = onset(levels)
problems = []
if first is None:
    sys.exit("no audible window in %.1f s of capture" % (len(levels) / 10))
# The loading screen runs for seconds before its jingle: nothing may sound there. The window
# just before the first audible one may hold the first milliseconds of the jingle, which starts
# anywhere inside a window.
lead = levels[:max(first - 1, 0)]
quiet_lead = next((i for i, db in enumerate(reversed(lead)) if db > SILENT_DB), len(lead))
if quiet_lead < 20:
    problems.append("only %.1f s of silence before the first sound" % (quiet_lead / 10))
if mode == "music":
    # Jingle, chime and menu theme: twelve seconds with no silent window.
    gaps = [i for i in range(first, first + 120) if levels[i] < SILENT_DB]
    if gaps:
        problems.append("silent at %s s after the first sound" % ", ".join("%.1f" % ((i - first) / 10) for i in gaps[:5]))
else:
    # The chime alone: heard for at least half a second, then silence to the end.
    heard = next((i for i in range(first, len(levels)) if levels[i] < SILENT_DB), len(levels)) - first
    if heard < 5:
        problems.append("the chime sounded for only %.1f s" % (heard / 10))
    if heard > 30:
        problems.append("still sounding %.1f s after the chime started" % (heard / 10))
    # A second for its last whisper, then nothing at all: the mixer adds exact zeros.
    if any(db > -120.0 for db in levels[first + heard + 10 :]):
        problems.append("something sounds after the chime")
if clipped:
    problems.append("%d clipped samples" % clipped)
print("first sound at %.1f s, loudest window %.1f dBFS, capture %.1f s"
      % (first / 10, max(levels[first:]), len(levels) / 10))
for p in problems:
    print(p)
sys.exit(1 if problems else 0)
EOF
}

# Runs the game from $GAME_DIR until $1 seconds of sound have been captured after the first
# audible window into $work/$2.raw, then ends it with SIGTERM: cleanly, with nothing left behind.
play() {
  SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=$work/$2.raw start_game
  analyse wait "$work/$2.raw" "$1" 300 ||
    fail "$2: no $1 s of sound after the first audible moment within 300 s"
  kill -TERM "$game_pid"
  expect_clean_exit 30 "after SIGTERM ($2)"
}

start_xvfb
play 13 music
analyse music "$work/music.raw" || fail "with sound and music: see above"

cp -r "$GAME_DIR/." "$work/no-music/"
printf '[Sonido]\r\nSND=1\r\nMUS=0\r\n' >"$work/no-music/Brinmoor.INI"
GAME_DIR=$work/no-music
play 5 chime
analyse chime "$work/chime.raw" || fail "with the music switched off: see above"

echo "PASS: jingle, chime and menu theme heard without a gap or a clipped sample; the chime alone without music; nothing left behind"
