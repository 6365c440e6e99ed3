#!/usr/bin/env python3
"""Hostile headers: hand-made pictures, sounds, themes, maps and settings files that lie about
their sizes, counts and lengths, each put in place of a shipped file in turn. In every case the
headless game starts, reaches the menu, plays a short game and quits cleanly under the
sanitizers, leaves its temporary folder empty, and names the file when it cannot use it.

    hostile_headers.py REPLAY GAME_DIR
"""
import os
import sys

import game_run
import hostile_files as hf


def cases():
    """(shipped file, case name, bytes, whether the game must name the file)."""
    for name, data in hf.PICTURES:
        yield "ART/Bicho0.bmp", name, data, True
    # The loading picture is special: without it the sounds and themes are not unpacked.
    yield "ART/Pantalla.bmp", hf.PICTURES[1][0], hf.PICTURES[1][1], True
    for name, data, unusable in hf.SOUNDS:
        yield "SND/Efecto0.SND", name, hf.complemented(data), unusable
    for name, data, unusable in hf.THEMES:
        yield "MUS/Tema5.MUS", name, hf.complemented(data), unusable
    for name, data, unusable in hf.MAPS:
        yield "zendor.map", name, data, unusable
    for name, data in hf.INIS:
        yield "Zendor Vostrik.INI", name, data, False
        yield "Brinmoor.INI", name, data, False


def main():
    replay, game_dir = sys.argv[1], sys.argv[2]
    only = sys.argv[3] if len(sys.argv) > 3 else None
    suite = game_run.Suite("hostile headers")
    with game_run.Scratch() as scratch:
        folder = game_run.copy_program_folder(game_dir, scratch.sub("game"))
        tmpdir = scratch.sub("tmp")
        os.mkdir(tmpdir)
        for rel, name, data, unusable in cases():
            if only and only not in rel:
                continue
            path = os.path.join(folder, rel)
            with open(path, "rb") as f:
                original = f.read()
            with open(path, "wb") as f:
                f.write(data)
            run = game_run.run_game(replay, folder, tmpdir)
            problems = game_run.played_problems(run)
            if not problems:
                if unusable and rel not in run.stderr:
                    problems.append("%s is not named on standard error:\n%s"
                                    % (rel, game_run.tail(run.stderr)))
                left = game_run.leftovers(tmpdir)
                if left:
                    problems.append("left in the temporary folder: %s" % left)
            suite.check("%s: %s" % (rel, name), problems)
            with open(path, "wb") as f:
                f.write(original)
    suite.finish()


if __name__ == "__main__":
    main()
