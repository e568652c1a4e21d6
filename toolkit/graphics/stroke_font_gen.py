#!/usr/bin/env python3
"""Writes stroke_font_table.h, the built-in stroke font, from the glyph list below.

Each glyph is a run of points on a hexadecimal grid (x 0-F, y 0-F, y upward,
baseline 2, capital top B, lower-case top 8, descenders to 0); "|" lifts the
pen.  In the stroke text a point is two hexadecimal digits and a pen lift is
the letter "u".  The lower set (codes 33-126 and 128) fills positions 1-1400,
the upper set (codes 161-255) positions 1401-3455; blanks pad the last glyph
of each set.  Each start table ends with the position after its set, so that
every glyph runs from its start up to the next entry.  Accented letters are their base letter plus the accent's strokes.

Run it after changing a glyph: python3 stroke_font_gen.py
With --check it only tells whether the table is the one the glyph list makes.
"""

import pathlib
import sys

LOW_LENGTH = 1400
TEXT_LENGTH = 3455

LOW = {
    '!': "32 33 | 36 3B",
    '"': "29 2B | 49 4B",
    '#': "22 2B | 52 5B | 05 65 | 08 68",
    '$': "6A 5B 1B 0A 08 17 56 65 63 52 12 03 | 3C 31",
    '%': "02 6B | 0A 1A 1B 0B 0A | 52 62 63 53 52",
    '&': "62 18 09 0A 1B 2B 3A 39 04 03 12 32 55",
    "'": "39 3B",
    '(': "4C 2A 22 40",
    ')': "2C 4A 42 20",
    '*': "35 39 | 16 58 | 18 56",
    '+': "34 3A | 07 67",
    ',': "33 32 21",
    '-': "16 56",
    '.': "32 33",
    '/': "02 6B",
    '0': "1B 4B 5A 53 42 12 03 0A 1B",
    '1': "19 3B 32 | 12 52",
    '2': "0A 1B 4B 5A 58 02 52",
    '3': "0A 1B 4B 5A 58 47 27 | 47 56 53 42 12 03",
    '4': "42 4B 04 54",
    '5': "5B 0B 07 47 56 53 42 12 03",
    '6': "5A 4B 1B 0A 03 12 42 53 56 47 07",
    '7': "0B 5B 22",
    '8': "17 08 0A 1B 4B 5A 58 47 17 06 03 12 42 53 56 47",
    '9': "58 47 17 08 0A 1B 4B 5A 53 42 12 03",
    ':': "32 33 | 36 37",
    ';': "21 33 34 | 36 37",
    '<': "5A 06 52",
    '=': "05 55 | 08 58",
    '>': "0A 56 02",
    '?': "0A 1B 4B 5A 59 37 35 | 32 33",
    '@': "47 36 25 24 33 43 54 57 | 54 63 68 5A 2A 08 04 22 52",
    'A': "02 3B 62 | 15 55",
    'B': "02 0B 4B 5A 58 47 07 | 47 56 53 42 02",
    'C': "6A 5B 1B 0A 03 12 52 63",
    'D': "02 0B 4B 69 64 42 02",
    'E': "62 02 0B 6B | 07 47",
    'F': "02 0B 6B | 07 47",
    'G': "6A 5B 1B 0A 03 12 52 63 66 36",
    'H': "02 0B | 62 6B | 07 67",
    'I': "12 52 | 32 3B | 1B 5B",
    'J': "5B 53 42 12 03",
    'K': "02 0B | 6B 06 | 28 62",
    'L': "0B 02 62",
    'M': "02 0B 35 6B 62",
    'N': "02 0B 62 6B",
    'O': "1B 5B 6A 63 52 12 03 0A 1B",
    'P': "02 0B 5B 6A 68 57 07",
    'Q': "1B 5B 6A 63 52 12 03 0A 1B | 34 61",
    'R': "02 0B 5B 6A 68 57 07 | 37 62",
    'S': "6A 5B 1B 0A 08 17 56 65 63 52 12 03",
    'T': "32 3B | 0B 6B",
    'U': "0B 03 12 52 63 6B",
    'V': "0B 32 6B",
    'W': "0B 22 46 62 8B",
    'X': "02 6B | 0B 62",
    'Y': "0B 37 6B | 37 32",
    'Z': "0B 6B 02 62",
    '[': "4C 2C 20 40",
    '\\': "0B 62",
    ']': "2C 4C 40 20",
    '^': "18 3B 58",
    '_': "00 60",
    '`': "2B 39",
    'a': "18 48 57 52 | 55 15 04 03 12 42 54",
    'b': "0B 02 | 07 18 48 57 53 42 12 03",
    'c': "57 48 18 07 03 12 42 53",
    'd': "5B 52 | 57 48 18 07 03 12 42 53",
    'e': "05 55 57 48 18 07 03 12 42 53",
    'f': "22 2A 3B 4B 5A | 08 48",
    'g': "58 51 40 10 | 57 48 18 07 04 13 43 54",
    'h': "0B 02 | 07 18 48 57 52",
    'i': "28 22 | 2A 2B",
    'j': "38 31 20 10 | 3A 3B",
    'k': "0B 02 | 48 04 | 26 52",
    'l': "2B 22",
    'm': "02 08 | 07 18 28 37 32 | 37 48 58 67 62",
    'n': "02 08 | 07 18 48 57 52",
    'o': "18 48 57 53 42 12 03 07 18",
    'p': "08 00 | 07 18 48 57 53 42 12 03",
    'q': "58 50 | 57 48 18 07 03 12 42 53",
    'r': "08 02 | 06 28 48 57",
    's': "57 48 18 07 06 15 45 54 53 42 12 03",
    't': "2A 23 32 42 | 08 48",
    'u': "08 03 12 42 53 | 58 52",
    'v': "08 22 48",
    'w': "08 12 35 52 68",
    'x': "08 52 | 02 58",
    'y': "08 33 | 58 20 10",
    'z': "08 58 02 52",
    '{': "4C 3B 38 27 36 31 40",
    '|': "30 3C",
    '}': "2C 3B 38 47 36 31 20",
    '~': "06 17 27 47 58",
    128: "6A 5B 2B 1A 13 22 52 63 | 07 47 | 05 45",
}

# Accents over capitals (above B) and over lower-case letters (above 8).
CAPITAL_ACCENTS = {
    'grave': "2E 3C", 'acute': "3C 4E", 'circumflex': "1C 3E 5C",
    'tilde': "0C 1D 2D 4C 5C 6D", 'diaeresis': "1D 1E | 5D 5E", 'ring': "3C 2D 3E 4D 3C",
}
SMALL_ACCENTS = {
    'grave': "1B 39", 'acute': "29 4B", 'circumflex': "09 2B 49",
    'tilde': "0A 1B 3A 4B", 'diaeresis': "1A 1B | 4A 4B", 'ring': "29 1A 2B 3A 29",
}
CEDILLA = "32 30 10"
DOTLESS_I = "28 22"


def accented(base, accent):
    accents = CAPITAL_ACCENTS if base.isupper() else SMALL_ACCENTS
    return LOW[base] + " | " + accents[accent]


def capital_i(accent):
    return "12 52 | 32 3B | 1B 5B | " + CAPITAL_ACCENTS[accent]


def small_i(accent):
    return DOTLESS_I + " | " + SMALL_ACCENTS[accent]


FIVE = ['grave', 'acute', 'circumflex', 'tilde', 'diaeresis']
FOUR = ['grave', 'acute', 'circumflex', 'diaeresis']

HIGH = {
    161: "30 35 | 38 39",
    162: "57 48 18 07 03 12 42 53 | 39 31",
    163: "5A 4B 2B 1A 12 | 02 62 | 07 37",
    164: "14 17 47 44 14 | 03 14 | 58 47 | 08 17 | 53 44",
    165: "0B 37 6B | 37 32 | 14 54 | 16 56",
    166: "30 35 | 38 3C",
    167: "5A 4B 1B 0A 18 46 45 34 | 27 16 15 43 52 53 42 12 03",
    168: "2A 2B | 4A 4B",
    169: "1B 5B 6A 63 52 12 03 0A 1B | 48 39 29 18 15 24 34 45",
    170: "1A 3A 49 46 | 48 18 17 26 46 | 14 44",
    171: "38 15 32 | 58 35 52",
    172: "07 57 55",
    173: "16 56",
    174: "1B 5B 6A 63 52 12 03 0A 1B | 24 29 49 58 57 46 26 | 36 54",
    175: "0C 6C",
    176: "2B 3B 4A 49 38 28 19 1A 2B",
    177: "36 3A | 18 58 | 14 54",
    178: "1A 2B 3B 4A 49 18 48",
    179: "1B 4B 29 39 48 47 36 16",
    180: "39 5B",
    181: "10 18 | 13 22 42 53 | 58 52",
    182: "42 4B | 27 17 08 0A 1B 5B | 22 2B",
    183: "36 37",
    184: "32 30 10",
    185: "2A 3B 37 | 27 47",
    186: "18 38 49 4A 3B 1B 0A 09 18 | 06 46",
    187: "18 35 12 | 38 55 32",
    188: "02 6B | 0A 1B 17 | 52 57 34 64",
    189: "02 6B | 0A 1B 17 | 46 56 65 64 42 62",
    190: "02 6B | 0B 2B 19 28 27 07 | 52 57 34 64",
    191: "53 42 12 03 04 26 28 | 2A 2B",
    198: "02 3B 7B | 15 45 | 3B 32 72 | 37 67",
    199: LOW['C'] + " | " + CEDILLA,
    208: "12 1B 4B 69 64 42 12 | 07 37",
    215: "15 59 | 19 55",
    216: LOW['O'] + " | 02 6B",
    222: "02 0B | 09 49 58 56 45 05",
    223: "02 0A 1B 3B 4A 49 37 | 37 46 43 32 22",
    230: "08 28 37 33 22 12 03 04 15 35 | 35 75 77 68 48 37 | 33 42 72",
    231: LOW['c'] + " | " + CEDILLA,
    240: "18 48 57 53 42 12 03 07 18 | 57 2B | 19 4A",
    247: "07 57 | 39 3A | 34 35",
    248: LOW['o'] + " | 01 59",
    254: "0B 00 | 07 18 48 57 53 42 12 03",
}
for i, accent in enumerate(FIVE + ['ring']):
    HIGH[192 + i] = accented('A', accent)
    HIGH[224 + i] = accented('a', accent)
for i, accent in enumerate(FOUR):
    HIGH[200 + i] = accented('E', accent)
    HIGH[232 + i] = accented('e', accent)
    HIGH[204 + i] = capital_i(accent)
    HIGH[236 + i] = small_i(accent)
    HIGH[217 + i] = accented('U', accent)
    HIGH[249 + i] = accented('u', accent)
for i, accent in enumerate(FIVE):
    HIGH[210 + i] = accented('O', accent)
    HIGH[242 + i] = accented('o', accent)
HIGH[209] = accented('N', 'tilde')
HIGH[241] = accented('n', 'tilde')
HIGH[221] = accented('Y', 'acute')
HIGH[253] = accented('y', 'acute')
HIGH[255] = accented('y', 'diaeresis')


def encode(glyph):
    return "u".join("".join(stroke.split()) for stroke in glyph.split("|"))


def low_key(code):
    return code if code == 128 else chr(code)


def build():
    low_codes = list(range(33, 127)) + [128]
    high_codes = list(range(161, 256))
    text = ""
    starts_low, starts_high, runs = [], [], []
    for codes, starts, end in ((low_codes, starts_low, LOW_LENGTH), (high_codes, starts_high, TEXT_LENGTH)):
        for code in codes:
            glyph = encode(LOW[low_key(code)] if code < 161 else HIGH[code])
            starts.append(len(text) + 1)
            text += glyph
            runs.append((code, glyph))
        if len(text) > end:
            raise SystemExit(f"glyphs run to {len(text)}, past position {end}")
        runs[-1] = (runs[-1][0], runs[-1][1] + " " * (end - len(text)))
        text += " " * (end - len(text))
        starts.append(len(text) + 1)  # each table ends with the position after its set
    return text, starts_low, starts_high, runs


def c_char(code):
    if code > 126:
        return f"code {code}"
    return f"'{chr(code)}'" if chr(code) not in "\\" else "backslash"


def header():
    text, starts_low, starts_high, runs = build()
    assert len(text) == TEXT_LENGTH
    lines = [
        "#pragma once",
        "// The built-in stroke font: written by stroke_font_gen.py from its glyph",
        "// list; change the script and run it again rather than editing this file.",
        "",
        "#include <array>",
        "#include <cstdint>",
        "#include <string_view>",
        "",
        "inline constexpr char kBuiltInStrokeChars[] =",
    ]
    for code, run in runs:
        lines.append(f'    "{run}"  // {c_char(code)}')
    lines[-1] = lines[-1].replace('"  //', '";  //', 1)
    lines.append("inline constexpr std::string_view kBuiltInStrokeText{kBuiltInStrokeChars, sizeof kBuiltInStrokeChars - 1};")
    lines.append("")
    for name, values in (("kBuiltInStartsLow", starts_low), ("kBuiltInStartsHigh", starts_high)):
        lines.append(f"inline constexpr std::array<std::int32_t, {len(values)}> {name} = {{")
        for i in range(0, len(values), 12):
            lines.append("    " + ", ".join(str(v) for v in values[i:i + 12]) + ",")
        lines.append("};")
    return "\n".join(lines) + "\n"


if __name__ == "__main__":
    table = pathlib.Path(__file__).with_name("stroke_font_table.h")
    if sys.argv[1:] == ["--check"]:
        if table.read_text() != header():
            sys.exit(f"{table} is not what the glyph list makes: run {pathlib.Path(__file__).name} again")
    else:
        table.write_text(header())
