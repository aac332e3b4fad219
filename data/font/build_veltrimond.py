#!/usr/bin/python3
"""Builds the music font Veltrimond from LilyPond's Emmentaler.

Run with Debian's /usr/bin/python3, which has the fontforge module (python3-fontforge).

The score draws every musical symbol as one character of this font, at the byte code of the
symbol, with the character cell's top-left corner at the anchor the drawing code chooses. The
font therefore fixes three things the drawing code relies on:

* Scale: one em is one staff height, so a staff space is 250 units (Emmentaler is built the
  same way). The score sizes the font to the staff height in points.
* Vertical origin: the ascent is 1.39 em, so a glyph anchored at a staff's reference y has
  its baseline on the staff's bottom line (reference + staff height + 0.39 staff height).
  Every glyph below is placed so that its musical reference point (a note head's pitch, a
  clef's line, a rest's line) sits on the baseline or on the staff line the drawing code
  names relative to it. The descent (1.7 em) sets the cell height that the tempo line and the
  octave-line label use to lift these glyphs next to text.
* Advance widths: they come from the metrics table in harmonygrid/draw/musicfontmetrics.h,
  which the engine's recording surface measures with as well. `--write-metrics` rewrites that
  table from the glyphs as built here.

Code points are the byte values (Latin-1 identity), so a glyph string's bytes map one to one
to characters. With SOURCE_DATE_EPOCH set the output is the same byte for byte on every run.
"""

import argparse
import os
import re
import sys

import fontforge
import psMat

UPM = 1000
SPACE = 250  # one staff space
ASCENT = 1390
DESCENT = 1700

# Note heads are narrowed to this width (Emmentaler's are 1.3 spaces wide): the drawing code
# puts the up stem one space plus a pixel and a half right of the head's left edge, and moves
# the head of a second by exactly one space.
HEAD_WIDTH = 293
WHOLE_SQUEEZE = 0.85
HEAD_CENTRE = HEAD_WIDTH / 2
STEM = 32  # stem thickness (0.13 space)
STEM_UP_LEFT = HEAD_WIDTH - 2 - STEM  # up stems stand at the head's right edge
# Beams start 2 spaces below the anchor of an up stem's end (1.39 em - 0.5 em above the
# baseline) and round(9.1 spaces) below the anchor of a down stem's end.
STEM_UP_LENGTH = 890
STEM_DOWN_LENGTH = 885
# A thirty-second flag needs one space more stem than the drawing code draws.
STEM_EXTRA_32 = 250

BAR_THIN = 48
BAR_THICK = 150
BAR_KERN = 75


def parse_args():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--emmentaler", required=True, help="emmentaler-20.otf")
    p.add_argument("--brace", required=True, help="emmentaler-brace.otf")
    p.add_argument("--letters", required=True,
                   help="an OFL italic text font for the letters of the octave signs")
    p.add_argument("--metrics", required=True, help="musicfontmetrics.h (read, or written)")
    p.add_argument("--output", help="Veltrimond.ttf to write")
    p.add_argument("--write-metrics", action="store_true",
                   help="rewrite the metrics table from the glyphs instead of reading it")
    args = p.parse_args()
    if not args.write_metrics and not args.output:
        p.error("--output is required unless --write-metrics is given")
    return args


# ---------------------------------------------------------------------------------------
# Outline helpers. Layers are cubic (the sources are CFF); TrueType conversion happens when
# the font is written.

def outline(font, name):
    if name not in font:
        sys.exit(f"build_veltrimond: source glyph {name!r} missing in {font.path}")
    layer = font[name].foreground.dup()
    if layer.is_quadratic:
        layer.is_quadratic = False
    return layer


def moved(layer, dx, dy):
    layer.transform(psMat.translate(dx, dy))
    return layer


def scaled(layer, sx, sy=None):
    layer.transform(psMat.scale(sx, sx if sy is None else sy))
    return layer


def rect(x0, y0, x1, y1):
    c = fontforge.contour()
    c.moveTo(x0, y0)
    c.lineTo(x0, y1)
    c.lineTo(x1, y1)
    c.lineTo(x1, y0)
    c.closed = True
    layer = fontforge.layer()
    layer += c
    return layer


def polygon(points):
    c = fontforge.contour()
    c.moveTo(*points[0])
    for pt in points[1:]:
        c.lineTo(*pt)
    c.closed = True
    layer = fontforge.layer()
    layer += c
    return layer


def combined(*layers):
    out = fontforge.layer()
    for layer in layers:
        out += layer
    return out


def ink(layer):
    return layer.boundingBox()  # (xmin, ymin, xmax, ymax)


def left_aligned(layer, lsb=0):
    """Moves the ink so that it starts lsb units right of the origin."""
    return moved(layer, lsb - ink(layer)[0], 0)


def right_edge(layer):
    return round(ink(layer)[2])


def head(src, name, width=HEAD_WIDTH):
    layer = outline(src.emm, name)
    xmin, _, xmax, _ = ink(layer)
    scaled(layer, width / (xmax - xmin), 1)
    return left_aligned(layer)


# Emmentaler's p reaches far left under the letter before it; after an m it needs room.
DYNAMIC_KERN = {("m", "p"): 70}


def side_by_side(src, parts):
    """Dynamic letters set one after another by their advances, ink moved to start at 0."""
    out = fontforge.layer()
    pen = 0
    for i, name in enumerate(parts):
        if i:
            pen += DYNAMIC_KERN.get((parts[i - 1], name), 0)
        out += moved(outline(src.emm, name), pen, 0)
        pen += src.emm[name].width
    return left_aligned(out)


# ---------------------------------------------------------------------------------------
# Glyph recipes: code -> (glyph name, builder). A builder returns (layer, natural advance).
# Comments give where the drawing code anchors the glyph and what the shift achieves.

def clef(name, line):
    # Emmentaler's clefs have y = 0 on their own line; the drawing code anchors a clef with
    # the baseline on the bottom line, so each moves up to its line (G: 2nd, F: 4th, C: 3rd).
    def build(src):
        layer = left_aligned(moved(outline(src.emm, name), 0, line * SPACE))
        return layer, right_edge(layer)
    return build


def accidental(name, squeeze=1.0):
    # Pitch line on the baseline (as in Emmentaler); ink from x = 0 to the advance, because
    # the drawing code right-aligns accidentals by their width in front of the head and steps
    # key signatures one space at a time.
    def build(src):
        layer = left_aligned(scaled(outline(src.emm, name), squeeze, 1))
        return layer, right_edge(layer)
    return build


def time_digit(name):
    # The drawing code anchors the beat unit one space and the numerator three spaces above
    # the bottom line; the two-space-tall digits are centred on their baseline to fill the
    # lower and upper halves of the staff.
    def build(src):
        layer = moved(outline(src.emm, name), 0, -SPACE)
        return layer, max(src.emm[name].width, right_edge(layer))
    return build


def time_symbol(name):
    # Anchored on the bottom line; Emmentaler centres them on y = 0, here the middle line.
    def build(src):
        layer = moved(outline(src.emm, name), 0, 2 * SPACE)
        return layer, right_edge(layer)
    return build


def note_head(name, width=HEAD_WIDTH):
    def build(src):
        return head(src, name, width), width
    return build


def whole_note(src):
    layer = outline(src.emm, "noteheads.s0")
    scaled(layer, WHOLE_SQUEEZE, 1)
    layer = left_aligned(layer)
    return layer, right_edge(layer)


def space(src):
    # " ." follows a head: the dot stands about half a space clear of the head.
    return fontforge.layer(), 150


def dot(src):
    # Also the staccato dot, which is drawn half a space right of the head's left edge: the
    # dot is centred that much left of the head's centre.
    layer = moved(outline(src.emm, "dots.dot"), -34, 0)
    return layer, src.emm["dots.dot"].width


def stem_up(src):
    return rect(STEM_UP_LEFT, 0, STEM_UP_LEFT + STEM, STEM_UP_LENGTH), HEAD_WIDTH


def stem_down(src):
    return rect(0, -STEM_DOWN_LENGTH, STEM, 0), HEAD_WIDTH


def flag_up(name, extra=0):
    # Drawn at the anchor of the top head: the flag hangs from the up stem's end at the
    # stem's left edge (Emmentaler's flags hang from y = 0 at the stem tip).
    def build(src):
        top = STEM_UP_LENGTH + extra
        layer = outline(src.emm, name)
        layer = moved(layer, STEM_UP_LEFT - ink(layer)[0], top)
        if extra:
            layer = combined(layer, rect(STEM_UP_LEFT, STEM_UP_LENGTH - 10,
                                         STEM_UP_LEFT + STEM, top))
        return layer, right_edge(layer)
    return build


def flag_down(name, extra=0):
    # Drawn at the anchor of the bottom head: the flag rises from the down stem's end at the
    # stem's left edge, the head's left edge.
    def build(src):
        bottom = -(STEM_DOWN_LENGTH + extra)
        layer = outline(src.emm, name)
        layer = moved(layer, -ink(layer)[0], bottom)
        if extra:
            layer = combined(layer, rect(0, bottom, STEM, -STEM_DOWN_LENGTH + 10))
        return layer, right_edge(layer)
    return build


def over_head(name, dy=0, centre=HEAD_CENTRE):
    # Emmentaler centres scripts on x = 0. The drawing code anchors articulations, bowings
    # and the trill at the head's left edge and the other ornaments half a space further
    # left; `centre` puts the script's origin over the head's centre. dy lifts the ink to sit
    # on the baseline (marks above the staff) or to hang from it (the lower fermata).
    def build(src):
        layer = moved(outline(src.emm, name), centre, dy)
        return layer, HEAD_WIDTH
    return build


ORNAMENT_CENTRE = HEAD_CENTRE + SPACE / 2


def rest(name, line):
    # Anchored on the bottom line. Emmentaler's whole rest hangs from y = 0 (moved to the 4th
    # line), the half rest sits on it and the shorter rests are centred on it (middle line).
    def build(src):
        layer = moved(outline(src.emm, name), 0, line * SPACE)
        return layer, src.emm[name].width
    return build


def thick_thin(src):
    # Bars span the staff from the baseline (bottom line) to one em (top line); the repeat
    # begin is left-aligned at the bar position, so the thick line comes first.
    t = BAR_THICK + BAR_KERN
    return combined(rect(0, 0, BAR_THICK, UPM), rect(t, 0, t + BAR_THIN, UPM)), t + BAR_THIN


def thin_thick(src):
    # The final bar and the end of a repeat are right-aligned at the bar position: the thick
    # line ends at the advance.
    t = BAR_THIN + BAR_KERN
    return combined(rect(0, 0, BAR_THIN, UPM), rect(t, 0, t + BAR_THICK, UPM)), t + BAR_THICK


def thin_thin(src):
    t = BAR_THIN + BAR_KERN
    return combined(rect(0, 0, BAR_THIN, UPM), rect(t, 0, t + BAR_THIN, UPM)), t + BAR_THIN


def repeat_dots(src):
    # The dots of a repeat sign, in the second and third spaces, with a kern either side.
    d = src.emm["dots.dot"].width
    upper = moved(outline(src.emm, "dots.dot"), BAR_KERN, 2.5 * SPACE)
    lower = moved(outline(src.emm, "dots.dot"), BAR_KERN, 1.5 * SPACE)
    return combined(upper, lower), round(2 * BAR_KERN + d)


def repeat_measure(src):
    # A slash between two dots, anchored one space above the bottom line and centred on the
    # middle line; the drawing code centres it in the measure by its advance.
    slash = polygon([(0, 0), (120, 0), (420, 2 * SPACE), (300, 2 * SPACE)])
    upper = moved(outline(src.emm, "dots.dot"), 34, 374)
    lower = moved(outline(src.emm, "dots.dot"), 274, 14)
    return combined(slash, upper, lower), 420


def section_sign(name, scale=1.0):
    # Drawn three spaces above the top line, at the measure's first note position (coda,
    # segno) or two spaces before its end (to coda, to segno: smaller, ending before the bar
    # line). Centred on the baseline, ink from x = 0.
    def build(src):
        layer = left_aligned(scaled(outline(src.emm, name), scale))
        return layer, right_edge(layer)
    return build


def octave_sign(suffix):
    # "8va" / "8vb", drawn at a fixed 14 points a quarter of the cell height above the octave
    # line: with this cell the text hangs just under the line. The letters come from the text
    # font named on the command line, scaled to sit beside Emmentaler's digit.
    def build(src):
        eight = outline(src.emm, "eight")
        pen = src.emm["eight"].width + 10
        letters = fontforge.layer()
        k = 0.6 * UPM / src.letters.em  # x-height about 0.55 of the digit's height
        for ch in "v" + suffix:
            g = src.letters[ord(ch)]
            layer = g.foreground.dup()
            if layer.is_quadratic:
                layer.is_quadratic = False
            letters += moved(scaled(layer, k), pen, 0)
            pen += g.width * k
        return combined(eight, letters), round(pen)
    return build


def tempo_note(head_name, flag_name=None):
    # Stem-up notes of the tempo line, built like the staff's notes: head centred on the
    # baseline, stem at its right edge, flag at the stem's end.
    def build(src):
        parts = [head(src, head_name), rect(STEM_UP_LEFT, 0, STEM_UP_LEFT + STEM, STEM_UP_LENGTH)]
        if flag_name:
            flag = outline(src.emm, flag_name)
            parts.append(moved(flag, STEM_UP_LEFT - ink(flag)[0], STEM_UP_LENGTH))
        layer = combined(*parts)
        return layer, right_edge(layer) + 60
    return build


def dynamic(letters):
    # Emmentaler's dynamic letters sit on the baseline with negative side bearings; a mark
    # of several letters sets them by their advances (as the letters are designed to be set)
    # and the whole mark starts at x = 0, one space left of its note as the drawing code puts it.
    def build(src):
        layer = side_by_side(src, letters)
        return layer, right_edge(layer)
    return build


def bracket_tip(name, dy):
    # Drawn at the bracket's x, one space and a half above a staff's top line: the tip's
    # origin (the end of the bracket's spine) moves to that staff's top line (upper tip) or
    # to its bottom line (lower tip).
    def build(src):
        return moved(outline(src.emm, name), 0, dy), src.emm[name].width
    return build


BRACE_GAP = 40


def brace_half(upper):
    # A brace is drawn as two halves at a font size of half its height (em = h / 2 for a
    # brace 2h tall): each half is anchored 0.17 h above its top, which puts its baseline
    # 1.05 em below its top. The source brace is scaled to 4 em and cut at its middle; its
    # right edge stands BRACE_GAP before the advance, which the drawing code puts at the
    # staves' left edge.
    def build(src):
        # A brace designed a little shorter than it is drawn, for strokes that hold their own
        # beside the staff lines.
        glyph = min((g for g in src.brace.glyphs() if g.glyphname.startswith("brace")),
                    key=lambda g: abs((g.boundingBox()[3] - g.boundingBox()[1]) - 3 * UPM))
        layer = outline(src.brace, glyph.glyphname)
        xmin, ymin, xmax, ymax = ink(layer)
        k = 4 * UPM / (ymax - ymin)
        layer.transform(psMat.compose(psMat.translate(-xmin, -(ymin + ymax) / 2), psMat.scale(k)))
        width = right_edge(layer)
        clip = rect(-10, 0, width + 10, 2 * UPM + 10) if upper else \
            rect(-10, -2 * UPM - 10, width + 10, 0)
        layer += clip
        layer.intersect()
        moved(layer, 0, -950 if upper else 1050)
        return layer, width + BRACE_GAP
    return build


RECIPES = {
    0x26: ("clef.G", clef("clefs.G", 1)),
    0x3F: ("clef.F", clef("clefs.F", 3)),
    0x42: ("clef.C", clef("clefs.C", 2)),
    0xD6: ("clef.percussion", clef("clefs.percussion", 2)),
    0x23: ("acc.sharp", accidental("accidentals.sharp", 0.85)),
    0x62: ("acc.flat", accidental("accidentals.flat")),
    0x6E: ("acc.natural", accidental("accidentals.natural")),
    0xDC: ("acc.doublesharp", accidental("accidentals.doublesharp")),
    0x63: ("time.common", time_symbol("timesig.C44")),
    0x43: ("time.cut", time_symbol("timesig.C22")),
    **{0x30 + d: (f"time.{d}", time_digit(n)) for d, n in enumerate(
        ["zero", "one", "two", "three", "four", "five", "six", "seven", "eight", "nine"])},
    0x77: ("note.whole", whole_note),
    0xFA: ("head.half", note_head("noteheads.s1")),
    0xCF: ("head.filled", note_head("noteheads.s2")),
    0xC0: ("head.percussion", note_head("noteheads.s2cross")),
    0x20: ("space", space),
    0x2E: ("dot", dot),
    0x5C: ("stem.up", stem_up),
    0x7C: ("stem.down", stem_down),
    0x6A: ("flag.u8", flag_up("flags.u3")),
    0x4A: ("flag.d8", flag_down("flags.d3")),
    0x6B: ("flag.u16", flag_up("flags.u4")),
    0x4B: ("flag.d16", flag_down("flags.d4")),
    0x72: ("flag.u32", flag_up("flags.u5", STEM_EXTRA_32)),
    0x52: ("flag.d32", flag_down("flags.d5", STEM_EXTRA_32)),
    0x2D: ("art.tenuto", over_head("scripts.tenuto")),
    0x3E: ("art.accent", over_head("scripts.sforzato", 105)),
    0xB3: ("orn.downbow", over_head("scripts.downbow")),
    0x76: ("orn.upbow", over_head("scripts.upbow")),
    0x4D: ("orn.prall", over_head("scripts.prall", 125, ORNAMENT_CENTRE)),
    0x6D: ("orn.mordent", over_head("scripts.mordent", 167, ORNAMENT_CENTRE)),
    0x60: ("orn.trill", over_head("scripts.trill", 11)),
    0x54: ("orn.turn", over_head("scripts.turn", 132, ORNAMENT_CENTRE)),
    0x55: ("orn.fermata.above", over_head("scripts.ufermata", 19, ORNAMENT_CENTRE)),
    0x75: ("orn.fermata.below", over_head("scripts.dfermata", -19, ORNAMENT_CENTRE)),
    0xB7: ("rest.1", rest("rests.0", 3)),
    0xEE: ("rest.2", rest("rests.1", 2)),
    0xCE: ("rest.4", rest("rests.2", 2)),
    0xE4: ("rest.8", rest("rests.3", 2)),
    0xC5: ("rest.16", rest("rests.4", 2)),
    0xA8: ("rest.32", rest("rests.5", 2)),
    0xD2: ("bar.thickthin", thick_thin),
    0x7B: ("bar.dots", repeat_dots),
    0xD3: ("bar.thinthick", thin_thick),
    0x5B: ("bar.thinthin", thin_thin),
    0xD4: ("repeat.measure", repeat_measure),
    0xDE: ("sect.coda", section_sign("scripts.coda")),
    0x25: ("sect.segno", section_sign("scripts.segno")),
    0x44: ("sect.tocoda", section_sign("scripts.coda", 0.75)),
    0x64: ("sect.tosegno", section_sign("scripts.segno", 0.75)),
    0xC3: ("octave.up", octave_sign("a")),
    0xD7: ("octave.down", octave_sign("b")),
    0x73: ("tempo.16", tempo_note("noteheads.s2", "flags.u4")),
    0x65: ("tempo.8", tempo_note("noteheads.s2", "flags.u3")),
    0x71: ("tempo.4", tempo_note("noteheads.s2")),
    0x68: ("tempo.2", tempo_note("noteheads.s1")),
    0xB8: ("dyn.ppp", dynamic(["p", "p", "p"])),
    0xB9: ("dyn.pp", dynamic(["p", "p"])),
    0x70: ("dyn.p", dynamic(["p"])),
    0x50: ("dyn.mp", dynamic(["m", "p"])),
    0x46: ("dyn.mf", dynamic(["m", "f"])),
    0x66: ("dyn.f", dynamic(["f"])),
    0xC4: ("dyn.ff", dynamic(["f", "f"])),
    0xEC: ("dyn.fff", dynamic(["f", "f", "f"])),
    # Group brackets: the spine runs from the group's first top line to its last bottom line,
    # 0.45 space wide, the width of Emmentaler's tips; the anchor is 1.5 spaces above a top
    # line, so that line lies 1.015 em above the baseline and the bottom line 0.015 em.
    0xC2: ("bracket.top", bracket_tip("brackettips.up", 1015)),
    0x4C: ("bracket.bottom", bracket_tip("brackettips.down", 15)),
    0xA7: ("brace.upper", brace_half(True)),
    0xEA: ("brace.lower", brace_half(False)),
}

NOTDEF_ADVANCE = 500


def notdef():
    # An empty box: a byte without a symbol shows as missing, not as nothing.
    outer = rect(50, 0, 450, 700)
    inner = rect(100, 50, 400, 650)
    inner.reverseDirection()
    return combined(outer, inner)


# ---------------------------------------------------------------------------------------
# The metrics table shared with the engine.

def read_metrics(path):
    text = open(path, encoding="utf-8").read()
    consts = {m.group(1): int(m.group(2))
              for m in re.finditer(r"inline constexpr int (\w+) = (\d+);", text)}
    m = re.search(r"Advance = \{(.*?)\};", text, re.S)
    if not m:
        sys.exit(f"build_veltrimond: no Advance table in {path}")
    body = re.sub(r"/\*.*?\*/", "", m.group(1), flags=re.S)
    advances = [int(v) for v in body.replace("\n", " ").split(",") if v.strip()]
    if len(advances) != 256:
        sys.exit(f"build_veltrimond: {path} has {len(advances)} advances, not 256")
    for key, want in (("UnitsPerEm", UPM), ("Ascent", ASCENT), ("Descent", DESCENT),
                      ("NotdefAdvance", NOTDEF_ADVANCE)):
        if consts.get(key) != want:
            sys.exit(f"build_veltrimond: {path}: {key} is {consts.get(key)}, the build uses {want}")
    return advances


def write_metrics(path, advances, inks):
    rows = []
    for base in range(0, 256, 16):
        values = ", ".join(f"{advances[c]:3d}" for c in range(base, base + 16))
        rows.append(f"    /* 0x{base:02X} */ {values},")
    ink_rows = []
    for code in range(256):
        if advances[code] and any(inks[code]):
            box = ", ".join(f"{v:5d}" for v in inks[code])
            ink_rows.append(f"    {{0x{code:02X}, {{{box}}}}},")
    text = f"""#pragma once
// Metrics of the music font Veltrimond, in font units (one em is one staff height).
//
// Generated by data/font/build_veltrimond.py --write-metrics. The font build reads this
// table back and gives every glyph the advance written here, and RecordingSurface measures
// music-font text with it, so the two always agree. The ink boxes tell the drawing code
// where each glyph's outline lies, so that it keeps symbols clear of each other. Rewrite it
// with the script after changing a glyph; do not edit the numbers by hand.

#include <array>
#include <cstdint>
#include <string_view>

namespace harmonygrid {{

// The suite's music font: every musical symbol is one of its characters.
inline constexpr std::string_view MusicFontName = "Veltrimond";

}}  // namespace harmonygrid

namespace harmonygrid::musicfont {{

inline constexpr int UnitsPerEm = {UPM};
// Cell top to baseline. A glyph anchored at a staff's reference y has its baseline on the
// staff's bottom line: reference + staff height + 0.39 staff height.
inline constexpr int Ascent = {ASCENT};
inline constexpr int Descent = {DESCENT};
// Advance of a byte the font has no glyph for (its empty box).
inline constexpr int NotdefAdvance = {NOTDEF_ADVANCE};

// Advance width of each byte code; 0 where the font has no glyph.
inline constexpr std::array<std::uint16_t, 256> Advance = {{
{chr(10).join(rows)}
}};

// The ink of a glyph: the box its outline fills, from its origin on the baseline, y upwards.
struct InkBox {{
  std::int16_t Left = 0, Bottom = 0, Right = 0, Top = 0;
}};

struct GlyphInk {{
  unsigned char Code = 0;
  InkBox Box;
}};
inline constexpr std::array<GlyphInk, {len(ink_rows)}> GlyphInks = {{{{
{chr(10).join(ink_rows)}
}}}};

// Ink of each byte code; empty where the font has no glyph or the glyph draws nothing.
inline constexpr std::array<InkBox, 256> Ink = [] {{
  std::array<InkBox, 256> table{{}};
  for (const GlyphInk& glyph : GlyphInks) table[glyph.Code] = glyph.Box;
  return table;
}}();

}}  // namespace harmonygrid::musicfont
"""
    with open(path, "w", encoding="utf-8") as f:
        f.write(text)


# ---------------------------------------------------------------------------------------

class Sources:
    def __init__(self, args):
        self.emm = fontforge.open(args.emmentaler)
        self.brace = fontforge.open(args.brace)
        self.letters = fontforge.open(args.letters)


COPYRIGHT = (
    "Veltrimond: derived from the Emmentaler font, Copyright (c) 1996-2017 The LilyPond "
    "authors (lilypond.org), with Reserved Font Names \"Emmentaler\" and \"Feta\"; the letters "
    "of the octave signs from Liberation Serif, Digitized data copyright (c) 2010 Google "
    "Corporation with Reserved Font Arimo, Tinos and Cousine, Copyright (c) 2012 Red Hat, Inc. "
    "with Reserved Font Name Liberation. Licensed under the SIL Open Font License, Version 1.1."
)


def build_font(src, advances):
    dst = fontforge.font()
    dst.encoding = "UnicodeBmp"
    dst.em = UPM
    dst.ascent, dst.descent = 800, 200
    dst.fontname = dst.familyname = dst.fullname = "Veltrimond"
    dst.weight = "Regular"
    dst.version = "1.000"
    dst.copyright = COPYRIGHT
    dst.appendSFNTName("English (US)", "License",
                       "This Font Software is licensed under the SIL Open Font License, "
                       "Version 1.1. See OFL.txt beside the font.")
    dst.appendSFNTName("English (US)", "License URL", "https://openfontlicense.org")

    # The same vertical metrics in every table, set as absolute values (fontforge adds them
    # to its own by default).
    for attr in ("os2_typoascent_add", "os2_typodescent_add", "os2_winascent_add",
                 "os2_windescent_add", "hhea_ascent_add", "hhea_descent_add"):
        setattr(dst, attr, False)
    dst.os2_typoascent, dst.os2_typodescent, dst.os2_typolinegap = ASCENT, -DESCENT, 0
    dst.os2_winascent, dst.os2_windescent = ASCENT, DESCENT
    dst.hhea_ascent, dst.hhea_descent, dst.hhea_linegap = ASCENT, -DESCENT, 0
    dst.os2_use_typo_metrics = True
    dst.os2_fstype = 0  # installable embedding: printers and PDF files carry the font

    g = dst.createChar(-1, ".notdef")
    g.foreground = notdef()
    g.width = NOTDEF_ADVANCE

    natural = [0] * 256
    inks = [(0, 0, 0, 0)] * 256
    for code, (name, build) in sorted(RECIPES.items()):
        layer, adv = build(src)
        natural[code] = int(round(adv))
        g = dst.createChar(code, name)
        g.foreground = layer
        g.width = advances[code] if advances else natural[code]
        if not layer.isEmpty():
            g.removeOverlap()
            g.correctDirection()
            g.round()
            inks[code] = tuple(int(round(v)) for v in g.boundingBox())
    return dst, natural, inks


def main():
    args = parse_args()
    src = Sources(args)
    table = None if args.write_metrics else read_metrics(args.metrics)
    if table:
        present = {c for c in range(256) if table[c]}
        if present != set(RECIPES):
            sys.exit("build_veltrimond: the metrics table and the glyph set differ at codes "
                     + ", ".join(f"0x{c:02X}" for c in sorted(present ^ set(RECIPES)))
                     + "; rerun with --write-metrics")
    font, natural, inks = build_font(src, table)
    if args.write_metrics:
        write_metrics(args.metrics, natural, inks)
    else:
        drift = [c for c in RECIPES if natural[c] != table[c]]
        if drift:
            print("build_veltrimond: warning: advances differ from the table (the table wins) at "
                  + ", ".join(f"0x{c:02X} ({natural[c]} vs {table[c]})" for c in drift),
                  file=sys.stderr)
    if args.output:
        os.makedirs(os.path.dirname(os.path.abspath(args.output)), exist_ok=True)
        font.generate(args.output, flags=("opentype", "round", "no-FFTM-table"))


if __name__ == "__main__":
    main()
