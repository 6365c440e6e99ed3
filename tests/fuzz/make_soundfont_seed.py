#!/usr/bin/env python3
"""Writes the soundfont fuzz target's seed: a small SoundFont 2 made for it, with one sampled sine
wave, an instrument with a global zone and a modulator, a melodic preset 0:0 with a global zone
and a percussion kit 128:0, so every table and both kinds of zone are there to mutate.

    tests/fuzz/make_soundfont_seed.py tests/fuzz/corpus/soundfont/seed.sf2
"""
import math
import struct
import sys


def chunk(cid, body):
    return cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) % 2 else b"")


def name20(text):
    return text.encode().ljust(20, b"\0")


def gen(oper, amount):
    return struct.pack("<Hh", oper, amount)


def gen_range(oper, lo, hi):
    return struct.pack("<HBB", oper, lo, hi)


points = 256
wave = [int(12000 * math.sin(2 * math.pi * i / 32)) for i in range(points)] + [0] * 46
smpl = struct.pack("<%dh" % len(wave), *wave)

phdr = (name20("Sine") + struct.pack("<HHHIII", 0, 0, 0, 0, 0, 0) +
        name20("Kit") + struct.pack("<HHHIII", 0, 128, 2, 0, 0, 0) +
        name20("EOP") + struct.pack("<HHHIII", 0, 0, 3, 0, 0, 0))
pbag = struct.pack("<8H", 0, 0, 1, 0, 3, 0, 4, 0)
pmod = b"\0" * 10
pgen = (gen(16, 200) + gen_range(43, 0, 127) + gen(41, 0) + gen(41, 0) + gen(0, 0))
inst = name20("Sine") + struct.pack("<H", 0) + name20("EOI") + struct.pack("<H", 2)
ibag = struct.pack("<6H", 0, 0, 1, 0, 5, 1)
imod = struct.pack("<HHhHH", 0x102, 8, 0, 0xD02, 0) + b"\0" * 10
igen = (gen(38, -1200) + gen_range(43, 0, 127) + gen_range(44, 0, 127) + gen(54, 1) +
        gen(53, 0) + gen(0, 0))
shdr = (name20("sine") + struct.pack("<IIIIIBbHH", 0, points, 8, points - 8, 22050, 60, 0, 0, 1) +
        name20("EOS") + b"\0" * 26)

info = chunk(b"LIST", b"INFO" + chunk(b"ifil", struct.pack("<HH", 2, 1)) +
             chunk(b"isng", b"EMU8000\0") + chunk(b"INAM", b"fuzz seed\0"))
sdta = chunk(b"LIST", b"sdta" + chunk(b"smpl", smpl))
pdta = chunk(b"LIST", b"pdta" + b"".join(
    chunk(cid, body) for cid, body in [(b"phdr", phdr), (b"pbag", pbag), (b"pmod", pmod),
                                       (b"pgen", pgen), (b"inst", inst), (b"ibag", ibag),
                                       (b"imod", imod), (b"igen", igen), (b"shdr", shdr)]))
with open(sys.argv[1], "wb") as out:
    out.write(chunk(b"RIFF", b"sfbk" + info + sdta + pdta))
