#!/usr/bin/env python3
"""Hostile environments: a temporary folder that is missing, relative, a file, a link, read-only
or full; a read-only program folder; shipped files and folders replaced by folders, FIFOs,
devices, looping links or unreadable files; no HOME; a dead run's registry that lists files
outside the game's private folder. Each case gives a clear message or a working game, never a
crash or a hang, never a file left behind, and never a deletion outside the private folder:
canary files beside it and the program folder itself must survive every run.

    hostile_environment.py REPLAY GAME_DIR
"""
import hashlib
import os
import resource
import signal
import sys

import game_run

SEED = 4242


def registry_name(seed):
    """The name of the registry a run with this seed creates: eight letters from the game's
    generator, its first draws."""
    x = seed % (1 << 24)
    letters = ""
    for _ in range(8):
        x = (x * 1140671485 + 12820163) % (1 << 24)
        letters += chr(ord("a") + int(x / float(1 << 24) * 25))
    return letters + ".tmp"


def folder_digest(folder):
    """Every entry of a folder with its kind and contents, to see that a run changed nothing."""
    h = hashlib.sha1()
    for root, dirs, files in os.walk(folder):
        dirs.sort()
        for name in sorted(dirs + files):
            full = os.path.join(root, name)
            h.update(full.encode())
            st = os.lstat(full)
            h.update(b"%o" % st.st_mode)
            if os.path.islink(full):
                h.update(os.readlink(full).encode())
            elif os.path.isfile(full) and st.st_mode & 0o444:
                try:
                    with open(full, "rb") as f:
                        h.update(f.read())
                except OSError:
                    pass
    return h.hexdigest()


class Case:
    """A scratch temporary base with a canary file beside the game's private folder."""

    def __init__(self, scratch, name):
        self.base = scratch.sub(name)
        os.makedirs(self.base)
        self.canary = os.path.join(self.base, "canary.txt")
        with open(self.canary, "w") as f:
            f.write("not the game's\n")

    def canary_problems(self):
        try:
            with open(self.canary) as f:
                if f.read() == "not the game's\n":
                    return []
        except OSError:
            pass
        return ["the canary file beside the private folder was changed or deleted"]


def outcome(run, tmpdir, refused_words=None):
    """A working game, or with refused_words a clear refusal; nothing left, no crash."""
    if refused_words is None:
        problems = game_run.played_problems(run)
    else:
        problems = game_run.refused_problems(run, refused_words)
    if tmpdir and not problems:
        left = game_run.leftovers(tmpdir)
        if left:
            problems.append("left in the temporary folder: %s" % left)
    return problems


def temporary_folder_cases(suite, replay, folder, scratch):
    def play(name, tmpdir_value, tmpdir_real, refused=None, cwd=None):
        """Runs the game with TMPDIR from tmpdir_value(case); tmpdir_real(case) is the folder
        it stands for, where nothing may be left (None when the game must refuse)."""
        case = Case(scratch, name.replace(" ", "-"))
        value = tmpdir_value(case)
        real = tmpdir_real(case) if tmpdir_real else None
        run = game_run.run_game(replay, folder, value, seed=SEED, cwd=cwd(case) if cwd else None)
        suite.check("TMPDIR " + name, outcome(run, real, refused) + case.canary_problems())
        return case

    # Unset or empty, the game uses /tmp, shared with everything else on the machine: only this
    # run's own registry (named by the seed) can be looked for there.
    for name, env in (("unset", {"unset": ("TMPDIR",)}), ("empty", {"env": {"TMPDIR": ""}})):
        run = game_run.run_game(replay, folder, None, seed=SEED, **env)
        problems = game_run.played_problems(run)
        registry = os.path.join(game_run.private_folder("/tmp"), registry_name(SEED))
        if os.path.lexists(registry):
            problems.append("the registry %s was left behind" % registry)
        suite.check("TMPDIR " + name, problems)

    play("relative", lambda c: "relative/tmp", lambda c: os.path.join(c.base, "relative", "tmp"),
         cwd=lambda c: (os.makedirs(os.path.join(c.base, "relative", "tmp")), c.base)[1])
    play("with trailing slashes", lambda c: c.base + "///", lambda c: c.base)
    play("a link to a folder", lambda c: (os.makedirs(c.base + "/real"),
                                          os.symlink(c.base + "/real", c.base + "/link"),
                                          c.base + "/link")[2], lambda c: c.base + "/real")
    play("a regular file", lambda c: c.canary, None, refused=["temporary folder"])
    play("a dangling link", lambda c: (os.symlink(c.base + "/gone", c.base + "/dangling"),
                                       c.base + "/dangling")[1], None,
         refused=["temporary folder"])
    play("a looping link", lambda c: (os.symlink(c.base + "/loop", c.base + "/loop"),
                                      c.base + "/loop")[1], None, refused=["temporary folder"])
    play("a path of 5000 characters", lambda c: c.base + "/" + "x" * 5000, None,
         refused=["temporary folder"])
    # A line break in the folder's name must not split a registry line into paths of its own.
    play("with a line break in its name", lambda c: (os.makedirs(c.base + "/line\nbreak"),
                                                      c.base + "/line\nbreak")[1],
         lambda c: c.base + "/line\nbreak")

    # The private folder is not the game's own real folder: refused, and the folder a link
    # points at keeps its files.
    def private_link(c):
        os.makedirs(c.base + "/elsewhere")
        with open(c.base + "/elsewhere/pan0.tmp", "w") as f:
            f.write("someone else's\n")
        os.symlink(c.base + "/elsewhere", game_run.private_folder(c.base))
        return c.base
    case = play("whose private folder is a link", private_link, None, refused=["temporary folder"])
    if not os.path.exists(case.base + "/elsewhere/pan0.tmp"):
        suite.check("TMPDIR whose private folder is a link: the linked folder", [
            "a file in the folder the link points at was deleted"])
    play("whose private folder is a file", lambda c: (open(game_run.private_folder(c.base), "w")
                                                      .close(), c.base)[1], None,
         refused=["temporary folder"])

    # Read-only: a folder without write permission where that means something (root writes
    # anyway), else a folder on a file system that takes no new folders at all.
    def read_only(c):
        os.chmod(c.base, 0o555)
        probe = os.path.join(c.base, "probe")
        try:
            os.mkdir(probe)
        except OSError:
            return c.base
        os.rmdir(probe)
        os.chmod(c.base, 0o755)
        return "/proc/self"
    case = play("read-only", read_only, None, refused=["temporary folder"])
    os.chmod(case.base, 0o755)

    # Full: every file the game writes is limited to a few sizes, down to nothing at all.
    for limit in (0, 1000, 150000, 1000000):
        def full(limit=limit):
            signal.signal(signal.SIGXFSZ, signal.SIG_IGN)
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        case = Case(scratch, "full-%d" % limit)
        run = game_run.run_game(replay, folder, case.base, seed=SEED, preexec=full)
        problems = game_run.crash_problems(run)
        if not problems and run.status == 0 and run.exit_reason() != "shutdown":
            problems.append("neither refused nor played to the end (exit: %s)"
                            % run.exit_reason())
        left = game_run.leftovers(case.base)
        if left:
            problems.append("left in the temporary folder: %s" % left)
        suite.check("TMPDIR full after %d bytes of each file" % limit,
                    problems + case.canary_problems())


def dead_registry_case(suite, replay, folder, scratch):
    """A dead run's registry lists files outside the private folder, through '..', relative
    ones, the folder itself and a link inside it: only the plain files inside go."""
    case = Case(scratch, "dead-registry")
    private = game_run.private_folder(case.base)
    os.makedirs(private, mode=0o700)
    inside = os.path.join(private, "snd3.tmp")
    link = os.path.join(private, "mus5.tmp")
    open(inside, "w").close()
    os.symlink(case.canary, link)
    listed = [case.canary, private + "/../canary.txt", "canary.txt", private, private + "/",
              "/", link, inside]
    with open(os.path.join(private, "abcdefgh.tmp"), "w") as f:
        f.write("\n".join(listed) + "\n")
    run = game_run.run_game(replay, folder, case.base, seed=SEED)
    problems = outcome(run, case.base) + case.canary_problems()
    suite.check("a dead run's registry listing files outside the private folder", problems)


def program_folder_cases(suite, replay, game_dir, scratch):
    folder = game_run.copy_program_folder(game_dir, scratch.sub("program"))
    tmpdir = scratch.sub("program-tmp")
    os.mkdir(tmpdir)

    def check(name, target, **kw):
        before = folder_digest(scratch.sub("program"))
        run = game_run.run_game(replay, target, tmpdir, **kw)
        problems = outcome(run, tmpdir)
        if folder_digest(scratch.sub("program")) != before:
            problems.append("the program folder was changed")
        suite.check(name, problems)

    # Read-only: the game never writes there (and as root, where permissions do not hold,
    # the unchanged folder shows the same).
    for root, dirs, files in os.walk(folder):
        for n in files + dirs:
            os.chmod(os.path.join(root, n), 0o555 if n in dirs else 0o444)
    os.chmod(folder, 0o555)
    check("the program folder read-only", folder)
    os.chmod(folder, 0o755)
    for root, dirs, files in os.walk(folder):
        for n in files + dirs:
            os.chmod(os.path.join(root, n), 0o755 if n in dirs else 0o644)

    check("HOME unset", folder, unset=("HOME",))

    for name, target in (("a looping link", "loop"), ("missing", "gone")):
        path = scratch.sub(target)
        if target == "loop":
            os.symlink(path, path)
        run = game_run.run_game(replay, path, tmpdir)
        problems = game_run.refused_problems(run, ["program folder"])
        if not problems and game_run.leftovers(tmpdir):
            problems.append("left in the temporary folder: %s" % game_run.leftovers(tmpdir))
        suite.check("the program folder " + name, problems)

    replacements = {
        "a folder": lambda p: os.mkdir(p),
        "a FIFO": lambda p: os.mkfifo(p),
        "a link to /dev/null": lambda p: os.symlink("/dev/null", p),
        "a link to /dev/zero": lambda p: os.symlink("/dev/zero", p),
        "a looping link": lambda p: os.symlink(p, p),
        "a dangling link": lambda p: os.symlink(p + ".gone", p),
        "an unreadable file": lambda p: (open(p, "wb").write(b"\0" * 64), os.chmod(p, 0)),
    }
    files = ["Zendor Vostrik.INI", "Brinmoor.INI", "zendor.map", "ART/Pantalla.bmp",
             "ART/Letras.bmp", "SND/Efecto0.SND", "MUS/Tema5.MUS"]
    folders = {
        "a file": lambda p: open(p, "wb").close(),
        "a FIFO": lambda p: os.mkfifo(p),
        "a link to /dev/null": lambda p: os.symlink("/dev/null", p),
        "a looping link": lambda p: os.symlink(p, p),
        "an unreadable folder": lambda p: (os.mkdir(p), os.chmod(p, 0)),
    }
    for rel in files + ["ART", "SND", "MUS"]:
        for name, make in (folders if "." not in rel else replacements).items():
            path = os.path.join(folder, rel)
            saved = path + ".saved"
            os.rename(path, saved)
            make(path)
            check("%s replaced by %s" % (rel, name), folder)
            game_run.remove_tree(path)
            os.rename(saved, path)


def main():
    replay, game_dir = sys.argv[1], sys.argv[2]
    suite = game_run.Suite("hostile environment")
    with game_run.Scratch() as scratch:
        temporary_folder_cases(suite, replay, game_dir, scratch)
        dead_registry_case(suite, replay, game_dir, scratch)
        program_folder_cases(suite, replay, game_dir, scratch)
    suite.finish()


if __name__ == "__main__":
    main()
