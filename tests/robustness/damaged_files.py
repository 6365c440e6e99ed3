#!/usr/bin/env python3
"""Damaged program folders: every shipped file of a group in turn missing, empty, cut short at
several points, or replaced by as many seeded random bytes. In every case the headless game
starts, reaches the menu, plays a short game and quits cleanly under the sanitizers, leaves its
temporary folder empty, and names the damaged file on standard error wherever the damage makes
it unusable.

    damaged_files.py REPLAY GAME_DIR GROUP     (GROUP: text, art, sound or music)
"""
import os
import random
import shutil
import sys

import game_run

GROUPS = {
    "text": lambda rel: "/" not in rel,
    "art": lambda rel: rel.startswith("ART/"),
    "sound": lambda rel: rel.startswith("SND/"),
    "music": lambda rel: rel.startswith("MUS/"),
}

MISSING_SETUP_MESSAGE = "SetUp.EXE"


def damages(size):
    """(name, bytes kept or None for random bytes or -1 for a missing file) for a file of size."""
    cases = [("missing", -1), ("empty", 0)]
    for keep in sorted({min(7, size - 1), size // 2, size - 1}):
        if 0 < keep < size:
            cases.append(("cut to %d of %d bytes" % (keep, size), keep))
    cases.append(("%d random bytes" % size, None))
    return cases


def damage(path, original, keep, seed_text):
    if keep == -1:
        os.unlink(path)
    elif keep is None:
        with open(path, "wb") as f:
            f.write(random.Random(seed_text).randbytes(len(original)))
    else:
        with open(path, "wb") as f:
            f.write(original[:keep])


def must_name(rel, kind):
    """Whether the game must name the file after this damage. An INI file with missing keys is
    still a good INI file, an empty map is a level of its start piece alone, and a cut map ends
    where it was cut; a missing sound or theme is just a slot without one."""
    if rel.endswith(".INI"):
        return False
    if rel.endswith(".map"):
        return kind in ("missing", "random")
    if rel.startswith(("SND/", "MUS/")):
        return kind != "missing"
    return True


def main():
    replay, game_dir, group = sys.argv[1], sys.argv[2], sys.argv[3]
    suite = game_run.Suite("damaged %s files" % group)
    files = [rel for rel in game_run.shipped_files(game_dir) if GROUPS[group](rel)]
    if not files:
        print("no %s files in %s" % (group, game_dir))
        sys.exit(1)
    with game_run.Scratch() as scratch:
        folder = game_run.copy_program_folder(game_dir, scratch.sub("game"))
        tmpdir = scratch.sub("tmp")
        os.mkdir(tmpdir)
        for rel in files:
            path = os.path.join(folder, rel)
            with open(path, "rb") as f:
                original = f.read()
            for name, keep in damages(len(original)):
                kind = {-1: "missing", None: "random"}.get(keep, "cut")
                damage(path, original, keep, "%s:%s" % (rel, name))
                run = game_run.run_game(replay, folder, tmpdir)
                problems = game_run.played_problems(run)
                if not problems:
                    if must_name(rel, kind) and rel not in run.stderr:
                        problems.append("%s is not named on standard error:\n%s"
                                        % (rel, game_run.tail(run.stderr)))
                    if rel == "Zendor Vostrik.INI" and kind == "missing" and not any(
                            MISSING_SETUP_MESSAGE in m for m in run.messages()):
                        problems.append("no message about the missing settings file")
                    left = game_run.leftovers(tmpdir)
                    if left:
                        problems.append("left in the temporary folder: %s" % left)
                suite.check("%s %s" % (rel, name), problems)
                shutil.rmtree(game_run.private_folder(tmpdir), ignore_errors=True)
                with open(path, "wb") as f:
                    f.write(original)
    suite.finish()


if __name__ == "__main__":
    main()
