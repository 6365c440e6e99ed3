"""Runs the headless game (zendor-replay) on a program folder and judges how the run went.

Shared by the robustness suites: damaged program folders, hostile headers, hostile
environments and the soak. Each case builds what it needs in a scratch folder, runs the game
once with run_game() and collects what went wrong with the checks below; the suite prints every
problem and fails when there was any.
"""
import json
import os
import resource
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time

# A short game: the menu, a game started with 1, a walk, a jump and a shot, Escape back to the
# menu and Escape again to quit. The loading screen ends at 3270 ms on any program folder.
SHORT_GAME = """\
4000 down 1
4050 up 1
4500 down RIGHT
6000 down UP
6300 up UP
7000 down CTRL
7050 up CTRL
8000 up RIGHT
9000 down ESC
9050 up ESC
10000 down ESC
10050 up ESC
"""

# A run that takes longer than this has hung (a normal one takes well under ten seconds even
# under the sanitizers on a busy machine).
HANG_SECONDS = int(os.environ.get("ROBUSTNESS_HANG_SECONDS", "120"))

SANITIZER_MARKS = ("Sanitizer", "runtime error:", "LeakSanitizer")

SKIP_STATUS = 77  # CTest's SKIP_RETURN_CODE for these suites

# A run that reads a device without end or believes a header's size must not take the shared
# machine's memory with it: the sanitizers stop it at this size, a plain build at four times it.
MEMORY_LIMIT_MB = 2048

_sanitized = {}


def sanitized(binary):
    """Whether binary was built with AddressSanitizer."""
    if binary not in _sanitized:
        with open(binary, "rb") as f:
            _sanitized[binary] = b"__asan_init" in f.read()
    return _sanitized[binary]


def limited(preexec, binary):
    """preexec, preceded by the memory limit for a build without the sanitizers."""
    plain = not sanitized(binary)

    def run():
        if plain:
            size = MEMORY_LIMIT_MB * 4 << 20
            resource.setrlimit(resource.RLIMIT_AS, (size, size))
        if preexec:
            preexec()
    return run


class Run:
    """What one run of the game left: status, standard error, the trace, time and memory."""

    def __init__(self, status, stderr, trace, seconds, hung, peak_mb):
        self.status = status
        self.peak_mb = peak_mb  # the most memory the process held at once
        self.stderr = stderr
        self.trace = trace
        self.seconds = seconds
        self.hung = hung

    def screens(self):
        return [t["ScreenState"] for t in self.trace if t.get("type") == "screen"]

    def frames(self):
        return sum(1 for t in self.trace if t.get("type") == "frame")

    def exit_reason(self):
        ends = [t["reason"] for t in self.trace if t.get("type") == "exit"]
        return ends[-1] if ends else None

    def messages(self):
        return [t["text"] for t in self.trace if t.get("type") == "message"]


class Scratch:
    """A scratch folder that is removed at the end, whatever the cases did to its contents."""

    def __init__(self, prefix="zendor-robust-"):
        self.path = tempfile.mkdtemp(prefix=prefix)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        remove_tree(self.path)

    def sub(self, *names):
        return os.path.join(self.path, *names)


def remove_tree(path):
    """Removes a tree whatever the cases made of it (folders without rights, FIFOs, links)."""
    if not os.path.lexists(path):
        return
    for root, dirs, _ in os.walk(path):
        for d in dirs:
            full = os.path.join(root, d)
            if not os.path.islink(full):
                try:
                    os.chmod(full, 0o700)
                except OSError:
                    pass
    try:
        os.chmod(path, 0o700)
    except OSError:
        pass
    if os.path.isdir(path) and not os.path.islink(path):
        shutil.rmtree(path, ignore_errors=True)
    else:
        os.unlink(path)


def copy_program_folder(game_dir, dest):
    """A copy of the shipped program folder (the game files, not the executable) at dest."""
    def ignore(folder, names):
        return [n for n in names if folder == game_dir and n in ("zendor", ".datagen-stamp")]
    shutil.copytree(game_dir, dest, ignore=ignore, symlinks=True)
    return dest


def shipped_files(game_dir):
    """Every file the game reads from its folder, as paths relative to it, in a fixed order."""
    found = []
    for name in sorted(os.listdir(game_dir)):
        if name.endswith((".INI", ".map")):
            found.append(name)
    for folder, suffix in (("ART", ".bmp"), ("SND", ".SND"), ("MUS", ".MUS")):
        for name in sorted(os.listdir(os.path.join(game_dir, folder))):
            if name.endswith(suffix):
                found.append(folder + "/" + name)
    return found


def run_game(replay, folder, tmpdir, script=SHORT_GAME, seed=1, env=None, cwd=None,
             extra_args=(), unset=(), preexec=None, timeout=HANG_SECONDS, work=None,
             watch=None):
    """Runs zendor-replay once; TMPDIR is tmpdir unless it is None (then it stays as given in
    env or unset). Returns a Run; a run still going after timeout seconds is killed and hung.
    watch, if given, is called with each trace line (bytes) and the process id as the line
    arrives, while the game still runs."""
    replay, folder = os.path.abspath(replay), os.path.abspath(folder)
    work = work or tempfile.mkdtemp(prefix="zendor-run-")
    script_path = os.path.join(work, "script.txt")
    with open(script_path, "w") as f:
        f.write(script)
    run_env = dict(os.environ)
    if tmpdir is not None:
        run_env["TMPDIR"] = tmpdir
    for name in unset:
        run_env.pop(name, None)
    run_env.update(env or {})
    run_env["ASAN_OPTIONS"] = ":".join(
        o for o in (run_env.get("ASAN_OPTIONS", ""), "hard_rss_limit_mb=%d" % MEMORY_LIMIT_MB) if o)
    # The trace comes through a pipe: a limit on file sizes set for the run does not cut it.
    args = [replay, "--program-folder", folder, "--seed", str(seed), "--trace", "-"]
    args += list(extra_args) + [script_path]
    started = time.monotonic()
    proc = subprocess.Popen(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=run_env,
                            cwd=cwd, preexec_fn=limited(preexec, replay),
                            start_new_session=True)
    # The pipes are drained on threads and the process reaped with wait4, which also tells its
    # peak memory; a timer kills a run that hangs.
    outputs = {}

    def read_trace():
        lines = []
        for line in proc.stdout:
            lines.append(line)
            if watch:
                watch(line, proc.pid)
        outputs["out"] = b"".join(lines)
    readers = [threading.Thread(target=read_trace),
               threading.Thread(target=lambda: outputs.__setitem__("err", proc.stderr.read()))]
    for r in readers:
        r.start()
    hung = threading.Event()

    def kill():
        hung.set()
        os.killpg(proc.pid, signal.SIGKILL)
    timer = threading.Timer(timeout, kill)
    timer.start()
    _, wait_status, usage = os.wait4(proc.pid, 0)
    timer.cancel()
    proc.returncode = os.waitstatus_to_exitcode(wait_status)
    for r in readers:
        r.join()
    proc.stdout.close()
    proc.stderr.close()
    out, err = outputs["out"], outputs["err"]
    seconds = time.monotonic() - started
    trace = []
    for line in out.splitlines():
        try:
            trace.append(json.loads(line.decode("utf-8")))
        except (UnicodeDecodeError, json.JSONDecodeError):
            trace.append({"type": "unreadable", "line": line[:200]})
    shutil.rmtree(work, ignore_errors=True)
    return Run(proc.returncode, err.decode("utf-8", "replace"), trace, seconds, hung.is_set(),
               usage.ru_maxrss // 1024)


def private_folder(tmpdir):
    return os.path.join(tmpdir, "zendor-%d" % os.geteuid())


def leftovers(tmpdir):
    """What a run left in the game's private folder under tmpdir."""
    folder = private_folder(tmpdir)
    if not os.path.isdir(folder) or os.path.islink(folder):
        return []
    return sorted(os.listdir(folder))


def crash_problems(run):
    """A hang, a signal or a sanitizer report: never acceptable, whatever the case."""
    problems = []
    if run.hung:
        problems.append("hung (killed after %d s)" % HANG_SECONDS)
    elif run.status < 0:
        problems.append("killed by signal %d" % -run.status)
    for mark in SANITIZER_MARKS:
        if mark in run.stderr:
            problems.append("sanitizer report:\n" + tail(run.stderr))
            break
    if any(t.get("type") == "unreadable" for t in run.trace):
        problems.append("a trace line is not UTF-8 JSON")
    return problems


def played_problems(run):
    """The game started, reached the menu, played a game and quit from the menu."""
    problems = crash_problems(run)
    if problems:
        return problems
    if run.status != 0:
        problems.append("exit status %d" % run.status)
    screens = run.screens()
    if "menu" not in screens:
        problems.append("never reached the menu (screens: %s)" % screens)
    elif "juego" not in screens or run.frames() == 0:
        problems.append("no game was played (screens: %s)" % screens)
    if run.exit_reason() != "shutdown":
        problems.append("did not quit from the menu (exit: %s)" % run.exit_reason())
    if problems:
        problems.append("standard error:\n" + tail(run.stderr))
    return problems


def refused_problems(run, words):
    """The game refused to start with a message holding every one of words, and no crash."""
    problems = crash_problems(run)
    if problems:
        return problems
    if run.status == 0:
        problems.append("exit status 0 for a run that could not start")
    said = run.stderr + "\n".join(run.messages())
    for w in words:
        if w not in said:
            problems.append("the message does not say %r:\n%s" % (w, tail(said)))
    return problems


def tail(text, lines=12):
    return "\n".join("    " + l for l in text.strip().splitlines()[-lines:])


class Suite:
    """Counts cases and collects their problems; finish() prints them and exits."""

    def __init__(self, name):
        self.name = name
        self.cases = 0
        self.failures = []
        self.started = time.monotonic()

    def check(self, case, problems):
        self.cases += 1
        if problems:
            self.failures.append((case, problems))
            print("FAIL %s" % case)
            for p in problems:
                print("  " + p)
            sys.stdout.flush()

    def finish(self):
        took = time.monotonic() - self.started
        print("%s: %d cases, %d failed, %.1f s" % (self.name, self.cases, len(self.failures), took))
        sys.exit(1 if self.failures else 0)
