#!/usr/bin/env python3
# Writes the seed corpus of the fuzz targets into tests/fuzz/corpus/<target>/ (run once; the files are committed).
# Inputs named regression-* were found by the fuzzers and are kept as they were found.
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))
out = os.path.join(here, "corpus")


def seed(target, name, data):
    folder = os.path.join(out, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode("latin-1"))


# The random-length strings of libFuzzer's data provider end at a backslash followed by another
# character; its numbers and yes/no answers come from the end of the input.
def provided_string(text):
    return text.replace("\\", "\\\\") + "\\."


def lists():
    captions = "Welcome To Kolvane Screen Saver\r\nYou can adjust the frame rate and how often to launch an object\r\n"
    seed("lists", "default-captions", "\x00" + captions)
    audio = "".join(f"/usr/share/kolvane/sounds/orvel{i}.wav\r\n" for i in range(1, 10))
    seed("lists", "default-audio", "\x01" + audio)
    seed("lists", "quoted-fields", '\x00"a, b",c\n" padded "\r\n\n  \t\n"two\r\nlines"\rlast')
    seed("lists", "unterminated-quote", '\x00one\n"never closed, at all')
    seed("lists", "over-the-limit", "\x03a\nb\nc\nd\n")
    seed("lists", "entries-cut-at-nul", "\x00 blank edge \x00a,comma\x00line\r\nbreak\x00\x00plain")


def ini():
    text = ("[Config]\ninstall_path=/usr/share/kolvane/sounds/\nrun_once=1\nframe_rate=45\n"
            "misc=zbyc\n\n[Desktop]\nScreenSaveUsePassword=1\n")
    seed("ini", "settings-file", provided_string("30") + text + "\x01\x03")
    seed("ini", "escapes-and-comments", provided_string("a\\b\nc") + "; comment\n# comment\n[ Config ]\r\n key = v\\nw \r\n" + "\x00\x05")
    seed("ini", "no-section", provided_string("1") + "frame_rate=5\n[Config\nbroken\n=\n[]\nx=y" + "\x01\x00")
    seed("ini", "duplicate-keys", provided_string("0") + "[Config]\nrun_once=1\nrun_once=0\n[Config]\nrun_once=2\n" + "\x01\x01")
    seed("ini", "byte-order-mark", provided_string("7") + "\xef\xbb\xbf[Config]\ninstall_path=/x/\n" + "\x01\x02")


def numeric():
    for i, text in enumerate(["45", " -2.5 ", "1e3", "2147483647", "2147483648", "-32768", "0.5", "abc",
                              "12junk", "\t+.5E-2", "1e999", "-", ".", "3.", "-0"]):
        seed("numeric", f"text-{i:02d}", text)
    seed("numeric", "double-tie", struct.pack("<d", 2.5))
    seed("numeric", "int-min", struct.pack("<i", -2**31))


def settings():
    # One yes/no per key from the end (in table order), and the texts from the front.
    values = ["/home/user/sounds", "1", "45", "0", "10", "1", "1", "15", "13", "5", "1", "zbyc"]
    front = "".join(provided_string(v) for v in values) + provided_string("1")
    seed("settings", "every-key", front + "\x01" * 14)
    odd = ["empty", "x", "-2147483649", "70000", "2.5", "1e5", "0.4", "abc", "", "-3", "-1", "\x01\xff\x7f"]
    seed("settings", "odd-values", "".join(provided_string(v) for v in odd) + "\x00" * 2 + "\x01" * 12 + "\x00")
    seed("settings", "nothing-stored", "\x00" * 16)


def command_line():
    for i, text in enumerate(["/S", "/s", "/p 1234", "/P\t65538", "/C", "/a", "", "/P -5", "/P 4294967295",
                              "/P 2.5", "-s", "/P1e3", "/X"]):
        seed("command_line", f"line-{i:02d}", text)


def run_options():
    runs = [
        ["", "--root"],
        ["0x1a00007", "--fps", "--frame-rate", "20"],
        ["", "/S", "--no-clock", "--audio"],
        ["", "--window-id=0x400001", "--object-frequency=3", "--scene-length", "20"],
        ["", "-window", "--caption-frequency", "200"],
        ["", "/P", "1234"],
        ["", "--window-id", "0"],
        ["12", "--test-run", "--no-audio", "-s", "--unknown", "--"],
    ]
    for i, words in enumerate(runs):
        seed("run_options", f"run-{i:02d}", "\x00".join(words))


def bmp_file(width, height, bpp, pixels, palette=b"", compression=0, masks=b"", top_down=False, core=False):
    if core:
        header = struct.pack("<IhhHH", 12, width, -height if top_down else height, 1, bpp)
    else:
        header = struct.pack("<IiiHHIIiiII", 40, width, -height if top_down else height, 1, bpp, compression,
                             len(pixels), 2835, 2835, len(palette) // 4, 0)
    offset = 14 + len(header) + len(masks) + len(palette)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + header + masks + palette + pixels


def rows(height, row):
    return b"".join(row(y) for y in range(height))


def bmp():
    w, h = 5, 3
    seed("bmp", "rgb24", bmp_file(w, h, 24, rows(h, lambda y: b"".join(bytes((x * 40, y * 80, 200)) for x in range(w)) + b"\0")))
    seed("bmp", "rgb24-top-down", bmp_file(2, 2, 24, b"\x00\x00\xff\xff\xff\xff\x00\x00" * 2, top_down=True))
    seed("bmp", "bgrx32", bmp_file(2, 2, 32, bytes(range(16))))
    seed("bmp", "rgb565-bitfields", bmp_file(2, 2, 16, b"\x1f\x00\xe0\x07\x00\xf8\xff\xff", compression=3,
                                             masks=struct.pack("<III", 0xF800, 0x07E0, 0x001F)))
    seed("bmp", "rgb555", bmp_file(2, 1, 16, b"\x1f\x7c\xe0\x03"))
    palette = b"".join(bytes((i * 16, 255 - i * 16, i * 8, 0)) for i in range(16))
    seed("bmp", "indexed4", bmp_file(6, 2, 4, b"\x01\x23\x45\x00" + b"\xfe\xdc\xba\x00", palette=palette))
    seed("bmp", "indexed8", bmp_file(3, 2, 8, b"\x00\x07\x0f\x00" + b"\x0f\x07\x00\x00", palette=palette))
    seed("bmp", "mask1", bmp_file(9, 2, 1, b"\xaa\x80\x00\x00\x55\x00\x00\x00", palette=b"\x00\x00\x00\x00\xff\xff\xff\x00"))
    seed("bmp", "core-header", bmp_file(2, 2, 24, b"\x01\x02\x03\x04\x05\x06\x00\x00" * 2, core=True))
    seed("bmp", "truncated", bmp_file(4, 4, 24, b"\x10" * 20))


def password():
    key = b"qiHTW"

    def encode(plain):
        out = ""
        for i, p in enumerate(plain, start=1):
            x = p ^ key[i % 5]
            out += chr(ord("z") - x // 16) + chr(ord("a") + x % 16)
        return out

    for word in [b"secret", b"A", b"PASSWORD WITH BLANKS", b"\x80\xff\x01"]:
        seed("password", "encoded-" + "".join(chr(c) if c < 128 and chr(c).isalnum() else "_" for c in word), encode(word))
    seed("password", "odd-length", "zbycq")
    seed("password", "outside-the-letters", "AZ09!~")


for make in (lists, ini, numeric, settings, command_line, run_options, bmp, password):
    make()
print("seeds written to", out, file=sys.stderr)
