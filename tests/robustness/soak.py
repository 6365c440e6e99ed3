#!/usr/bin/env python3
"""Soak: the headless game plays at least FRAMES frames of seeded random key presses on each
difficulty, without a sanitizer report, quitting cleanly at the end, with the peak memory of the
whole run no higher than that of a run stopped after its first game (within a small margin).

    soak.py REPLAY GAME_DIR [FRAMES]      (FRAMES: 10000 unless given)

Prints one line per difficulty: frames played, games, peak memory after the first game and at
the end, and the time taken.
"""
import os
import re
import sys

import game_run
import random_keys

FRAME_MS = 75  # the game's frame delay at the start of every game
# Growth allowed between the first game and the end of the run: the allocator's own rounding.
MARGIN_MB = 8


def with_difficulty(folder, level):
    path = os.path.join(folder, "Zendor Vostrik.INI")
    with open(path, "rb") as f:
        text = f.read()
    text = re.sub(rb"Dificultad=[^\r\n]*", b"Dificultad=%d" % level, text)
    with open(path, "wb") as f:
        f.write(text)


def peak_so_far_mb(pid):
    """The process's peak memory so far; None once it has ended."""
    try:
        with open("/proc/%d/status" % pid) as f:
            for row in f:
                if row.startswith("VmHWM:"):
                    return int(row.split()[1]) // 1024
    except OSError:
        pass
    return None


class PeakMemory:
    """Reads the game's peak memory so far as the trace goes by: when its first game ends (the
    playing screen left for the ending or the menu), and every hundred frames and at its last
    line for the whole run (what the leak checker takes at exit is not the game's)."""

    def __init__(self):
        self.playing = False
        self.frames = 0
        self.first_game_mb = None
        self.end_mb = None

    def __call__(self, line, pid):
        now = None
        if b'"type":"frame"' in line:
            self.frames += 1
            if self.frames % 100 == 0:
                now = peak_so_far_mb(pid)
        elif b'"type":"exit"' in line:
            now = peak_so_far_mb(pid)
        elif self.first_game_mb is None and b'"type":"screen"' in line:
            if b'"juego"' in line:
                self.playing = True
            elif self.playing:
                self.first_game_mb = now = peak_so_far_mb(pid)
        if now is not None:
            self.end_mb = max(self.end_mb or 0, now)


def main():
    replay, game_dir = sys.argv[1], sys.argv[2]
    frames_wanted = int(sys.argv[3]) if len(sys.argv) > 3 else 10000
    suite = game_run.Suite("soak")
    # A small quarantine: freed memory is still checked for late use, but filling a large one
    # would make the peak climb by its size during the first minutes of any run.
    env = {"ASAN_OPTIONS": ":".join(o for o in (os.environ.get("ASAN_OPTIONS", ""),
                                                 "quarantine_size_mb=1") if o)}
    # Random play loses many games quickly: the time between them (endings, the menu) can be as long
    # as the games themselves.
    length_ms = frames_wanted * FRAME_MS * 3
    with game_run.Scratch() as scratch:
        folder = game_run.copy_program_folder(game_dir, scratch.sub("game"))
        tmpdir = scratch.sub("tmp")
        os.mkdir(tmpdir)
        for level in range(6):
            with_difficulty(folder, level)
            keys = random_keys.script(1000 + level, length_ms)
            peak = PeakMemory()
            run = game_run.run_game(replay, folder, tmpdir, script=keys, seed=level + 1, env=env,
                                    timeout=max(game_run.HANG_SECONDS, frames_wanted // 20),
                                    watch=peak)
            problems = game_run.played_problems(run)
            games = run.screens().count("juego")
            if not problems:
                if run.frames() < frames_wanted:
                    problems.append("only %d frames played" % run.frames())
                if games < 2:
                    problems.append("only %d game played" % games)
                if game_run.leftovers(tmpdir):
                    problems.append("left in the temporary folder: %s"
                                    % game_run.leftovers(tmpdir))
            if not problems and None in (peak.first_game_mb, peak.end_mb):
                problems.append("the peak memory could not be read")
            if not problems and peak.end_mb > peak.first_game_mb + MARGIN_MB:
                problems.append("peak memory grew from %d MB after the first game to %d MB"
                                % (peak.first_game_mb, peak.end_mb))
            print("difficulty %d: %d frames, %d games, peak %s MB after the first game, %s MB "
                  "at the end, %.1f s" % (level, run.frames(), games, peak.first_game_mb,
                                          peak.end_mb, run.seconds))
            sys.stdout.flush()
            suite.check("difficulty %d" % level, problems)
    suite.finish()


if __name__ == "__main__":
    main()
