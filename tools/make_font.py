#!/usr/bin/python3
"""Builds data/EPHEMERI.TTF and its bold face data/EPHEMERIB.TTF, the symbol
font of NOVASTRA (the bold face from the bold DejaVu faces).

Every text character advances one cell (the digit's width). The symbols of the
tables and the aspectarian (signs, bodies, aspects, parallels, stations and the
north and south marks) advance two cells, and only the retrograde, degree and
minute marks one, so that a 9-character degree group with its sign glyph fills
the 10-cell pitch of the column titles and every value sits under its title.

Text glyphs come from DejaVu Sans Mono. Symbols that Sans Mono lacks (letter-
like symbols, arrows, mathematical operators, geometric shapes, miscellaneous
symbols with the zodiac, planets and aspects, and every code point that
src/text/charset.cpp maps a byte to) are taken from DejaVu Sans, scaled down
where they are too wide and centred on the monospaced advance width, so that
the columns of the tables stay aligned; the signs and bodies are then scaled
to the digits' height, so that they read at the size of the figures beside
them. The sextile, semisextile, quincunx and
sesquiquadrate, which neither font has,
are drawn here; the private-use points the table gives to codes without a
Windows-1252 character reuse the glyph of that character or U+FFFD.

Run with Debian's python3-fontforge:
    /usr/bin/python3 tools/make_font.py [--check]
--check only reports whether the existing fonts cover every mapped code point
and give each the width it should have, the signs and bodies drawn at the
digits' height inside their two cells.
"""
import math
import os
import re
import subprocess
import sys
import tempfile

import fontforge
import psMat

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
DEJAVU = "/usr/share/fonts/truetype/dejavu/"
# (mono source, sans source, output, style name, OS/2 weight)
FACES = [
    (DEJAVU + "DejaVuSansMono.ttf", DEJAVU + "DejaVuSans.ttf",
     os.path.join(ROOT, "data", "EPHEMERI.TTF"), "Regular", 400),
    (DEJAVU + "DejaVuSansMono-Bold.ttf", DEJAVU + "DejaVuSans-Bold.ttf",
     os.path.join(ROOT, "data", "EPHEMERIB.TTF"), "Bold", 700),
]
OUT = FACES[0][2]
CHARSET = os.path.join(ROOT, "src", "text", "charset.cpp")
GLYPHS = os.path.join(ROOT, "src", "text", "glyphs.cpp")
NAME = "EPHEMERI"
VERSION = "1.00"

SYMBOL_RANGES = [
    (0x2100, 0x214F),  # letterlike symbols (the prescription sign used as "retrograde")
    (0x2190, 0x21FF),  # arrows
    (0x2200, 0x22FF),  # mathematical operators (parallel, earth)
    (0x25A0, 0x25FF),  # geometric shapes (square, triangle)
    (0x2600, 0x26FF),  # miscellaneous symbols (planets, signs, aspects, nodes)
    (0x2AE0, 0x2AFF),  # supplemental operators
]
# Always drawn: sextile, semisextile, quincunx and sesquiquadrate, which
# neither DejaVu font has.
EXTRA = {0x26B9, 0x26BA, 0x26BB, 0x26BC}

# Side bearing left free on each side of a scaled symbol, in font units.
MARGIN = 40

# The sign (192..203) and body symbols: the planets 224..234, Earth 236, and
# Chiron, Ceres, Pallas, Juno, Vesta and the two Liliths 237..243. They are
# drawn as tall as the digits, standing on the baseline, in their two cells.
DIGIT_HIGH_CODES = (set(range(192, 204)) | set(range(224, 235)) | {236}
                    | set(range(237, 244)))
# Their side bearing, in font units: a tenth of a cell, so that a symbol as
# wide as its cells allow (Aquarius) does not touch the digits beside it.
DIGIT_HIGH_MARGIN = 120

# Single-byte codes whose glyphs advance two cells: the signs and bodies above,
# aspects 161..165, parallel 166, contraparallel 177, stations 156 and 171,
# north 152 and south 154, and the minor aspects 167..170, 172 and 173. The
# retrograde mark (157), degree mark (186) and minute mark (146) stay one cell.
WIDE_CODES = (DIGIT_HIGH_CODES
              | set(range(161, 167)) | {177, 156, 171, 152, 154}
              | {167, 168, 169, 170, 172, 173})


def charset_table():
    """The program's byte-to-Unicode table as {code: code point}, compiled
    from src/text/charset.cpp and asked; None when it cannot be built."""
    if not os.path.exists(CHARSET):
        return None
    with tempfile.TemporaryDirectory() as tmp:
        main = os.path.join(tmp, "dump.cpp")
        exe = os.path.join(tmp, "dump")
        with open(main, "w") as f:
            f.write('#include "text/charset.h"\n#include <cstdio>\n'
                    "int main() { for (int c = 0; c < 256; ++c) std::printf(\"%d %u\\n\", c, "
                    "(unsigned)novastra::CodeToUnicode((unsigned char)c)); }\n")
        try:
            subprocess.run(["g++", "-std=c++20", "-I", os.path.join(ROOT, "src"), main,
                            CHARSET, GLYPHS, "-o", exe], check=True, capture_output=True)
            out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
        except (OSError, subprocess.CalledProcessError):
            return None
    pairs = [line.split() for line in out.splitlines()]
    return {int(c): int(cp) for c, cp in pairs}


def wide_code_points():
    table = charset_table()
    if table is None:
        sys.exit("the charset table could not be compiled; it names the wide symbols")
    return {table[c] for c in WIDE_CODES}


def charset_code_points():
    """Code points the program's byte-to-Unicode table maps the 256 codes to.

    The table is built by code, so it is compiled and asked; if that is not
    possible the hexadecimal constants of the source are taken instead.
    """
    if not os.path.exists(CHARSET):
        return set()
    with tempfile.TemporaryDirectory() as tmp:
        main = os.path.join(tmp, "dump.cpp")
        exe = os.path.join(tmp, "dump")
        with open(main, "w") as f:
            f.write('#include "text/charset.h"\n#include <cstdio>\n'
                    "int main() { for (int c = 0; c < 256; ++c) std::printf(\"%u\\n\", "
                    "(unsigned)novastra::CodeToUnicode((unsigned char)c)); }\n")
        try:
            subprocess.run(["g++", "-std=c++20", "-I", os.path.join(ROOT, "src"), main,
                            CHARSET, GLYPHS, "-o", exe], check=True, capture_output=True)
            out = subprocess.run([exe], check=True, capture_output=True, text=True).stdout
            return {int(v) for v in out.split() if int(v) >= 0x80}
        except (OSError, subprocess.CalledProcessError) as err:
            print("charset table not compiled (%s); reading its constants" % err)
    text = open(CHARSET, encoding="utf-8").read()
    return {int(m.group(1), 16) for m in re.finditer(r"0x(2[0-9A-Fa-f]{3})", text)}


def private_use_source(cp):
    """Glyph to copy for U+F080..U+F0FF: the Windows-1252 character of the
    code when it has one (176, the degree sign), else the replacement mark."""
    if not 0xF080 <= cp <= 0xF0FF:
        return None
    try:
        return ord(bytes([cp - 0xF000]).decode("cp1252"))
    except UnicodeDecodeError:
        return 0xFFFD


def draw_sextile(glyph, advance, axis):
    """U+26B9 is in neither DejaVu font: six spokes, one of them upright."""
    radius, half = 540.0, 75.0
    cx = advance / 2.0
    layer = fontforge.layer()
    for degrees in (90.0, 30.0, 150.0):
        a = math.radians(degrees)
        dx, dy = math.cos(a), math.sin(a)
        nx, ny = -dy * half, dx * half
        c = fontforge.contour()
        c.moveTo(cx - dx * radius + nx, axis - dy * radius + ny)
        c.lineTo(cx + dx * radius + nx, axis + dy * radius + ny)
        c.lineTo(cx + dx * radius - nx, axis + dy * radius - ny)
        c.lineTo(cx - dx * radius - nx, axis - dy * radius - ny)
        c.closed = True
        layer += c
    glyph.foreground = layer
    glyph.removeOverlap()
    glyph.correctDirection()
    glyph.width = advance


# Strokes of the drawn aspect symbols, as line segments in a box of side 1
# centred on the axis (x to the right, y up).
DRAWN_STROKES = {
    # Semisextile: a V standing on a bar.
    0x26BA: [(-0.5, -0.5, 0.5, -0.5), (-0.4, 0.5, 0.0, -0.5), (0.4, 0.5, 0.0, -0.5)],
    # Quincunx: the semisextile turned over, a bar over a caret.
    0x26BB: [(-0.5, 0.5, 0.5, 0.5), (-0.4, -0.5, 0.0, 0.5), (0.4, -0.5, 0.0, 0.5)],
    # Sesquiquadrate: a square under a semisquare's angle.
    0x26BC: [(-0.45, -0.5, 0.15, -0.5), (0.15, -0.5, 0.15, 0.1), (0.15, 0.1, -0.45, 0.1),
             (-0.45, 0.1, -0.45, -0.5), (-0.45, 0.1, 0.5, 0.5), (-0.45, 0.1, 0.5, 0.1)],
}


def draw_strokes(glyph, advance, axis, strokes):
    """Draws line segments (DRAWN_STROKES) as bars of the sextile's weight."""
    size, half = 1000.0, 60.0
    cx = advance / 2.0
    layer = fontforge.layer()
    for x0, y0, x1, y1 in strokes:
        ax, ay = cx + x0 * size, axis + y0 * size
        bx, by = cx + x1 * size, axis + y1 * size
        length = math.hypot(bx - ax, by - ay)
        dx, dy = (bx - ax) / length, (by - ay) / length
        nx, ny = -dy * half, dx * half
        # Each bar runs a half width past its ends so that the joints close.
        ax, ay, bx, by = ax - dx * half, ay - dy * half, bx + dx * half, by + dy * half
        c = fontforge.contour()
        c.moveTo(ax + nx, ay + ny)
        c.lineTo(bx + nx, by + ny)
        c.lineTo(bx - nx, by - ny)
        c.lineTo(ax - nx, ay - ny)
        c.closed = True
        layer += c
    glyph.foreground = layer
    glyph.removeOverlap()
    glyph.correctDirection()
    fit_to_advance(glyph, advance)


def has_glyph(font, cp):
    return cp in font and font[cp].isWorthOutputting()


def fit_to_advance(glyph, advance):
    """Scale a symbol down (uniformly) to fit the advance and centre it."""
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    ink = xmax - xmin
    room = advance - 2 * MARGIN
    if ink > room and ink > 0:
        factor = room / ink
        # Scale about the vertical middle of the ink so it stays on the line.
        cy = (ymin + ymax) / 2.0
        glyph.transform(psMat.compose(psMat.translate(0, -cy),
                                      psMat.compose(psMat.scale(factor),
                                                    psMat.translate(0, cy))))
        xmin, ymin, xmax, ymax = glyph.boundingBox()
    if xmax > xmin:
        shift = (advance - (xmax - xmin)) / 2.0 - xmin
        glyph.transform(psMat.translate(shift, 0))
    glyph.width = advance


def fit_to_digits(glyph, advance, bottom, top):
    """Scale a symbol (uniformly) so that its ink spans the digits' height,
    bottom..top, as far as the advance less its margins allows, and centre it
    in the advance."""
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    if xmax <= xmin or ymax <= ymin:
        return
    room = advance - 2 * DIGIT_HIGH_MARGIN
    factor = min((top - bottom) / (ymax - ymin), room / (xmax - xmin))
    glyph.transform(psMat.compose(psMat.translate(-xmin, -ymin), psMat.scale(factor)))
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    glyph.transform(psMat.translate((advance - (xmax - xmin)) / 2.0 - xmin,
                                    bottom + (top - bottom - (ymax - ymin)) / 2.0 - ymin))
    glyph.width = advance


def digit_high(glyph, zero, advance):
    """Whether a sign or body glyph is as fit_to_digits draws it: its ink
    within the digit's height and spanning it (or as wide as the cells less
    their margins allow), inside its advance. A font unit of rounding is
    allowed either way."""
    xmin, ymin, xmax, ymax = glyph.boundingBox()
    bottom, top = zero.boundingBox()[1::2]
    inside = (ymin >= bottom - 1 and ymax <= top + 1
              and xmin >= DIGIT_HIGH_MARGIN - 1 and xmax <= advance - DIGIT_HIGH_MARGIN + 1)
    full = (ymax - ymin >= top - bottom - 2
            or xmax - xmin >= advance - 2 * DIGIT_HIGH_MARGIN - 2)
    return inside and full


def set_names(font, style="Regular", weight=400):
    bold = style == "Bold"
    postscript = NAME + ("-Bold" if bold else "")
    fullname = NAME + (" Bold" if bold else "")
    font.fontname = postscript
    font.familyname = NAME
    font.fullname = fullname
    font.weight = "Bold" if bold else "Book"
    font.os2_weight = weight
    font.version = VERSION
    font.copyright = ("Copyright (c) 2003 by Bitstream, Inc. All Rights Reserved. "
                      "DejaVu changes are in public domain. "
                      "EPHEMERI is derived from DejaVu Sans Mono and DejaVu Sans.")
    lang = "English (US)"
    font.sfnt_names = ()
    for key, value in (
            ("Copyright", font.copyright),
            ("Family", NAME),
            ("SubFamily", style),
            ("UniqueID", fullname + " " + VERSION),
            ("Fullname", fullname),
            ("Version", "Version " + VERSION),
            ("PostScriptName", postscript),
            ("License", "Bitstream Vera / DejaVu font licence; see EPHEMERI-LICENSE.txt"),
            ("Preferred Family", NAME),
            ("Preferred Styles", style)):
        font.appendSFNTName(lang, key, value)


def wanted_code_points():
    points = set()
    for lo, hi in SYMBOL_RANGES:
        points.update(range(lo, hi + 1))
    return points, charset_code_points() | EXTRA


def check(path):
    font = fontforge.open(path)
    _, mapped = wanted_code_points()
    wide = wide_code_points()
    missing = sorted(cp for cp in mapped if not has_glyph(font, cp))
    advance = font["zero"].width
    wrong = sorted(cp for cp in mapped if has_glyph(font, cp)
                   and font[cp].width != (2 * advance if cp in wide else advance))
    table = charset_table()
    unscaled = sorted(table[code] for code in DIGIT_HIGH_CODES
                      if has_glyph(font, table[code])
                      and not digit_high(font[table[code]], font["zero"], 2 * advance))
    widths = {g.width for g in font.glyphs() if g.isWorthOutputting() and g.width}
    print("%s: glyphs: %d, advance widths: %s"
          % (os.path.basename(path), len(list(font.glyphs())), sorted(widths)))
    if missing:
        print("mapped code points without a glyph:",
              " ".join("U+%04X" % cp for cp in missing))
        return 1
    if wrong:
        print("mapped code points of the wrong width:",
              " ".join("U+%04X" % cp for cp in wrong))
        return 1
    if unscaled:
        print("signs or bodies not drawn at the digits' height in their cells:",
              " ".join("U+%04X" % cp for cp in unscaled))
        return 1
    print("every mapped code point (%d) has a glyph; %d symbols two cells wide, "
          "%d of them at the digits' height" % (len(mapped), len(wide), len(DIGIT_HIGH_CODES)))
    return 0 if widths == {advance, 2 * advance} else 1


def build_face(mono_path, sans_path, out, style, weight):
    mono = fontforge.open(mono_path)
    sans = fontforge.open(sans_path)
    mono.encoding = "UnicodeFull"
    sans.encoding = "UnicodeFull"
    # Composite glyphs would point at glyphs of the other font: flatten them.
    sans.selection.all()
    sans.unlinkReferences()
    for glyph in sans.glyphs():
        glyph.anchorPoints = ()  # mark positioning does not apply to symbols

    advance = mono["zero"].width
    ymin, ymax = mono["minus"].boundingBox()[1::2]
    axis = (ymin + ymax) / 2.0  # the mathematical axis: symbols centre on it
    ranges, mapped = wanted_code_points()
    wide = wide_code_points()

    def width_of(cp):
        return 2 * advance if cp in wide else advance

    added, unavailable = [], []
    # Glyphs pasted from Sans, by name: after the paste FontForge's encoding no
    # longer finds some of them by code point (U+26B3..U+26B8 among them).
    pasted = {}

    def glyph_at(cp):
        if has_glyph(mono, cp):
            return mono[cp]
        return mono[pasted[cp]] if cp in pasted else None

    for cp in sorted(ranges | mapped):
        if has_glyph(mono, cp):
            continue
        if cp == 0x26B9:
            draw_sextile(mono.createChar(cp), width_of(cp), axis)
            added.append(cp)
            continue
        if cp in DRAWN_STROKES:
            draw_strokes(mono.createChar(cp), width_of(cp), axis, DRAWN_STROKES[cp])
            added.append(cp)
            continue
        alias = private_use_source(cp)
        if alias is not None and has_glyph(mono, alias):
            glyph = mono.createChar(cp)
            glyph.addReference(mono[alias].glyphname)
            glyph.width = advance
            added.append(cp)
            continue
        if not has_glyph(sans, cp):
            if cp in mapped:
                unavailable.append(cp)
            continue
        sans.selection.select(("unicode",), cp)
        sans.copy()
        glyph = mono.createChar(cp)
        mono.selection.select(("unicode",), cp)
        mono.paste()
        glyph.unicode = cp
        pasted[cp] = glyph.glyphname
        fit_to_advance(glyph, width_of(cp))
        added.append(cp)

    # Text glyphs advance one cell; the table symbols (some of which Sans Mono
    # has itself, such as the arrows) two, centred in them.
    for cp in wide:
        glyph = glyph_at(cp)
        if glyph is not None and glyph.width != 2 * advance:
            glyph.unlinkRef()
            fit_to_advance(glyph, 2 * advance)
    table = charset_table()
    digit_bottom, digit_top = mono["zero"].boundingBox()[1::2]
    for code in DIGIT_HIGH_CODES:
        glyph = glyph_at(table[code])
        if glyph is not None:
            glyph.unlinkRef()
            fit_to_digits(glyph, 2 * advance, digit_bottom, digit_top)
    for glyph in mono.glyphs():
        if glyph.unicode in wide:
            continue
        if glyph.width not in (0, advance):
            fit_to_advance(glyph, advance)

    set_names(mono, style, weight)

    tmp = out + ".tmp.ttf"
    mono.generate(tmp, flags=("opentype",))
    os.replace(tmp, out)
    print("wrote %s: %d symbol glyphs added, advance %d (symbols %d)"
          % (out, len(added), advance, 2 * advance))
    if unavailable:
        print("no glyph in either font for:",
              " ".join("U+%04X" % cp for cp in unavailable))
    return check(out)


def build():
    status = 0
    for face in FACES:
        status |= build_face(*face)
    return status


if __name__ == "__main__":
    if "--check" in sys.argv[1:]:
        sys.exit(max(check(face[2]) for face in FACES))
    sys.exit(build())
