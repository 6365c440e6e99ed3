#!/usr/bin/env python3
"""Writes a zendor-replay script of random key presses, the same for the same seed: games
started from the menu with 1, the hero's keys held and tapped at random (pause among them, and
a letter now and then to leave an ending), and at the end Escape until the program quits.

    random_keys.py SEED MILLISECONDS [OUTPUT]
"""
import random
import sys

HERO_KEYS = ["LEFT", "RIGHT", "RIGHT", "RIGHT", "UP", "DOWN"]  # mostly onwards, as a player goes
FIRST_PRESS_MS = 4000  # the menu is up by then


def script(seed, length_ms):
    rng = random.Random(seed)
    lines = ["# random keys, seed %d, %d ms" % (seed, length_ms)]
    t = FIRST_PRESS_MS

    def tap(key, at):
        lines.append("%d down %s" % (at, key))
        lines.append("%d up %s" % (at + rng.randint(20, 120), key))

    tap("1", t)
    while t < length_ms:
        t += rng.randint(30, 700)
        roll = rng.random()
        if roll < 0.55:  # a hero key held for a while, sometimes with the keyboard's repeat
            key = rng.choice(HERO_KEYS)
            held = rng.randint(40, 1800)
            lines.append("%d down %s" % (t, key))
            for at in range(t + 500, t + held, 33):
                if rng.random() < 0.3:
                    lines.append("%d repeat %s" % (at, key))
            lines.append("%d up %s" % (t + held, key))
            t += held if rng.random() < 0.7 else held // 3
        elif roll < 0.80:
            tap("CTRL", t)
        elif roll < 0.84:
            tap("PAUSE", t)
        elif roll < 0.95:
            tap("1", t)  # starts a game from the menu; does nothing in one
        else:
            tap("A", t)  # leaves an ending
    t = max(t, length_ms) + 2000
    for _ in range(4):  # out of a game or an ending, then out of the menu
        tap("ESC", t)
        t += 3000
    # Times must not decrease; events at the same time keep the order they were made in.
    header, events = lines[:1], lines[1:]
    events.sort(key=lambda line: int(line.split()[0]))
    return "\n".join(header + events) + "\n"


def main():
    seed, length = int(sys.argv[1]), int(sys.argv[2])
    text = script(seed, length)
    if len(sys.argv) > 3:
        with open(sys.argv[3], "w") as f:
            f.write(text)
    else:
        sys.stdout.write(text)


if __name__ == "__main__":
    main()
