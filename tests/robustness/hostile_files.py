"""Hand-made hostile files for the shipped formats: pictures, sounds, themes, the map and the
settings. Each maker returns the bytes as the game finds them in its folder (sounds and themes
stored complemented, as shipped)."""
import struct


def complemented(data):
    return bytes(255 - b for b in data)


# --- Pictures (Windows bitmaps)

def bmp(width, height, bits=24, offset=None, info_size=40, compression=0, colours=0,
        pixels=b"", file_size=None):
    palette = b"" if bits > 8 else bytes(4 * (colours or (1 << bits)))
    if colours > 256:
        palette = b""
    if offset is None:
        offset = 14 + 40 + len(palette)
    info = struct.pack("<IiiHHIIiiII", info_size & 0xFFFFFFFF, width, height, 1, bits,
                       compression, 0, 2835, 2835, colours & 0xFFFFFFFF, 0)
    body = info + palette + pixels
    size = 14 + len(body) if file_size is None else file_size
    return b"BM" + struct.pack("<IHHI", size & 0xFFFFFFFF, 0, 0, offset & 0xFFFFFFFF) + body


PICTURES = [
    ("a picture 100000 x 100000 with no pixels", bmp(100000, 100000)),
    ("a picture of height -2^31", bmp(16, -2 ** 31, pixels=bytes(64))),
    ("a picture of width -256", bmp(-256, 16, pixels=bytes(4096))),
    ("a picture 0 x 0", bmp(0, 0)),
    ("a one-bit picture 32768 x 32768 with a row of pixels", bmp(32768, 32768, bits=1,
                                                                 pixels=bytes(4096))),
    ("pixels said to start 4 GB into the file", bmp(16, 16, offset=0xFFFFFFFF,
                                                    pixels=bytes(768))),
    ("an information header of 4 GB", bmp(16, 16, info_size=0xFFFFFFFF, pixels=bytes(768))),
    ("2^32 - 1 palette colours", bmp(16, 16, bits=8, colours=0xFFFFFFFF, pixels=bytes(256))),
    ("0 bits per pixel", bmp(16, 16, bits=0, pixels=bytes(256))),
    ("7 bits per pixel", bmp(16, 16, bits=7, pixels=bytes(256))),
    ("run-length compression", bmp(16, 16, bits=8, compression=1, pixels=bytes(256))),
    ("a file size of 4 GB in the header", bmp(16, 16, pixels=bytes(768), file_size=0xFFFFFFFF)),
    ("only the file header", b"BM" + struct.pack("<IHHI", 54, 0, 0, 54)),
]


# --- Sounds (RIFF WAVE, 16-bit PCM as shipped)

def chunk(tag, body, size=None):
    return tag + struct.pack("<I", (len(body) if size is None else size) & 0xFFFFFFFF) + body


def fmt(channels=2, rate=44100, bits=16, tag=1, align=None, byte_rate=None):
    align = channels * bits // 8 if align is None else align
    byte_rate = rate * align if byte_rate is None else byte_rate
    return struct.pack("<HHIIHH", tag, channels & 0xFFFF, rate & 0xFFFFFFFF,
                       byte_rate & 0xFFFFFFFF, align & 0xFFFF, bits & 0xFFFF)


def wav(*chunks, riff_size=None):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", (len(body) if riff_size is None else riff_size)
                                 & 0xFFFFFFFF) + body


SOME_SAMPLES = bytes(range(256)) * 16

SOUNDS = [
    ("no channels", wav(chunk(b"fmt ", fmt(channels=0)), chunk(b"data", SOME_SAMPLES)), True),
    ("65535 channels", wav(chunk(b"fmt ", fmt(channels=65535)), chunk(b"data", SOME_SAMPLES)),
     True),
    ("a sample rate of 0", wav(chunk(b"fmt ", fmt(rate=0)), chunk(b"data", SOME_SAMPLES)), True),
    ("a sample rate of 2^32 - 1", wav(chunk(b"fmt ", fmt(rate=0xFFFFFFFF)),
                                      chunk(b"data", SOME_SAMPLES)), True),
    ("0 bits per sample", wav(chunk(b"fmt ", fmt(bits=0, align=4)),
                              chunk(b"data", SOME_SAMPLES)), True),
    ("floating-point samples", wav(chunk(b"fmt ", fmt(tag=3, bits=32)),
                                   chunk(b"data", SOME_SAMPLES)), True),
    ("a data chunk of 4 GB", wav(chunk(b"fmt ", fmt()),
                                 chunk(b"data", SOME_SAMPLES, size=0xFFFFFFFF)), True),
    ("a data chunk of 2 GB", wav(chunk(b"fmt ", fmt()),
                                 chunk(b"data", SOME_SAMPLES, size=0x7FFFFFFF)), True),
    ("a format chunk of 4 GB", wav(chunk(b"fmt ", fmt(), size=0xFFFFFFFF)), True),
    ("a format chunk of 2 bytes", wav(chunk(b"fmt ", b"\x01\x00"), chunk(b"data", SOME_SAMPLES)),
     True),
    ("no data chunk", wav(chunk(b"fmt ", fmt())), True),
    ("no format chunk", wav(chunk(b"data", SOME_SAMPLES)), True),
    ("a negative file size", wav(chunk(b"fmt ", fmt()), chunk(b"data", SOME_SAMPLES),
                                 riff_size=0x80000000), False),
    ("half a sample frame at the end", wav(chunk(b"fmt ", fmt()), chunk(b"data", bytes(4099))),
     False),
    ("ten thousand empty chunks before the format", wav(*([chunk(b"junk", b"")] * 10000),
                                                        chunk(b"fmt ", fmt()),
                                                        chunk(b"data", SOME_SAMPLES)), False),
    ("only the RIFF header", b"RIFF\x04\x00\x00\x00WAVE", True),
]


# --- Themes (standard MIDI files)

def vlq(n):
    out = [n & 0x7F]
    n >>= 7
    while n:
        out.append(0x80 | (n & 0x7F))
        n >>= 7
    return bytes(reversed(out))


def mthd(fmt_=0, tracks=1, division=96, length=6):
    return b"MThd" + struct.pack(">IHHH", length & 0xFFFFFFFF, fmt_, tracks & 0xFFFF,
                                 division & 0xFFFF)


def mtrk(events, length=None):
    return b"MTrk" + struct.pack(">I", (len(events) if length is None else length)
                                 & 0xFFFFFFFF) + events


END = b"\x00\xff\x2f\x00"
NOTES = b"\x00\x90\x3c\x40\x60\x80\x3c\x40" * 8 + END


def many_notes(count):
    one = b"\x00\x90\x3c\x40\x10\x80\x3c\x40"
    return mthd() + mtrk(b"\x00\xff\x51\x03\x07\xa1\x20" + one * count + END)


THEMES = [
    ("a header length of 4 GB", mthd(length=0xFFFFFFFF) + mtrk(NOTES), True),
    ("65535 tracks announced, one there", mthd(fmt_=1, tracks=65535) + mtrk(NOTES), False),
    ("a track length past the end", mthd() + mtrk(NOTES, length=0x7FFFFFFF), True),
    ("a track length of 4 GB", mthd() + mtrk(NOTES, length=0xFFFFFFFF), True),
    ("an endless variable-length number", mthd() + mtrk(b"\x80" * 100000), True),
    ("a variable-length number cut by the end of the file", mthd() + mtrk(b"\x00\x90\x3c\x40\x81"),
     True),
    ("a division of 0", mthd(division=0) + mtrk(NOTES), True),
    ("a frame-based division", mthd(division=0xE728) + mtrk(NOTES), False),
    ("a data byte before any status", mthd() + mtrk(b"\x00\x3c\x40" + END), True),
    ("a meta event of 2^28 bytes", mthd() + mtrk(b"\x00\xff\x01" + vlq(2 ** 28 - 1) + END), True),
    ("a system-exclusive event of 2^28 bytes", mthd() + mtrk(b"\x00\xf0" + vlq(2 ** 28 - 1)),
     True),
    ("a tempo of 0", mthd() + mtrk(b"\x00\xff\x51\x03\x00\x00\x00" + NOTES), False),
    ("a tempo event without its bytes", mthd() + mtrk(b"\x00\xff\x51\x00" + NOTES), False),
    ("format 7", mthd(fmt_=7) + mtrk(NOTES), False),
    ("ten thousand empty tracks", mthd(fmt_=1, tracks=10000) + mtrk(END) * 10000, False),
    ("only the header", mthd(), True),
    ("fifty thousand notes", many_notes(50000), False),
]


# --- The level (zendor.map) and the settings (INI files)

def repeated(item, count):
    return ("\r\n".join([item] * count) + "\r\n").encode()


MAPS = [
    ("ten thousand tiles", repeated("1", 10000), True),
    ("ten thousand narrow pieces", repeated("5", 10000), True),
    ("ten thousand section marks", repeated("69,0", 10000), True),
    ("ten thousand spawn zones", repeated("-1,3,50\r\n-11", 10000), True),
    ("ten thousand islands", repeated("72,0", 10000), True),
    ("ten thousand pits", repeated("6,48", 10000), True),
    ("ten thousand end pieces", repeated("9", 10000), True),
    ("a number of twenty digits", b"1,99999999999999999999,1\r\n", True),
    ("a number of a hundred thousand digits", b"1," + b"7" * 100000 + b"\r\n", True),
    ("a pit of width -30000", b"1,6,-30000,1\r\n", False),
    ("a pit of width 32767", b"1,6,32767,1\r\n", False),
    ("a section mark at offset 32767", b"1,69,32767,1\r\n", False),
    ("a tile code of 32767", b"32767\r\n", True),
    ("a tile code of -32768", b"-32768\r\n", True),
    ("an exponent", b"1,1e400,1\r\n", True),
    ("NUL bytes", b"1,\x00\x00,1\r\n", True),
    ("escape sequences", b"1,\x1b[2J\x1b]0;x\x07,1\r\n", True),
    ("bytes that are not UTF-8", b"1,\xff\xfe\xc3,1\r\n", True),
    ("a parameter missing at the end", b"1,6", True),
]

INIS = [
    ("a value of a megabyte", b"[Opciones]\r\nDificultad=" + b"9" * 2 ** 20 + b"\r\n"),
    ("ten thousand sections", b"".join(b"[S%d]\r\nk=v\r\n" % i for i in range(10000))),
    ("NUL bytes", b"[Pantalla]\x00\r\nDDraw=\x000\r\n[Opciones]\r\nDificultad=\x005\r\n"),
    ("huge and strange numbers", b"[Pantalla]\r\nPantallaCompleta=nan\r\nAncho=-1\r\nAlto=1e309"
                                 b"\r\nDDraw=-1\r\n[Opciones]\r\nDificultad=1e999\r\n"
                                 b"[Sonido]\r\nSND=inf\r\nMUS=-0\r\n"),
    ("a line without its end", b"[Opciones"),
    ("bytes that are not UTF-8", b"[\xff\xfe]\r\n\xc3=\xc3\r\n"),
]
