#!/usr/bin/python3
"""Writes the MIDI import fixtures that look like files from sequencers and arrangers:
tempo, time and key in the first track, running status, note-offs as note-ons of velocity 0,
notes of one track that overlap, chords released in any order. Run it with Debian's python
(mido imports only there) from anywhere; the files land beside this script:

    /usr/bin/python3 make_import_fixtures.py

The tests say what they expect of each file.
"""
import os

from mido import Message, MetaMessage, MidiFile, MidiTrack

HERE = os.path.dirname(os.path.abspath(__file__))
QUARTER = 480  # ticks a quarter note: a 64th is 30 ticks


def track(*events):
    """A track from (absolute tick, message) pairs; sorted by tick, note-offs first at a
    tick, as sequencers write them."""
    def order(event):
        tick, msg = event
        off = msg.type == "note_off" or (msg.type == "note_on" and msg.velocity == 0)
        return (tick, 0 if msg.is_meta else (1 if off else 2))
    t = MidiTrack()
    now = 0
    for tick, msg in sorted(events, key=order):
        t.append(msg.copy(time=tick - now))
        now = tick
    return t


def note(start, end, pitch, channel=0, velocity=90):
    """A note as two events; the note-off is a note-on of velocity 0 (running status)."""
    return [(start, Message("note_on", channel=channel, note=pitch, velocity=velocity)),
            (end, Message("note_on", channel=channel, note=pitch, velocity=0))]


def conductor(name, key="C", numerator=4, extra=()):
    return track(
        (0, MetaMessage("track_name", name=name)),
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, MetaMessage("time_signature", numerator=numerator, denominator=4)),
        (0, MetaMessage("key_signature", key=key)),
        *extra,
    )


def save(name, *tracks):
    midi = MidiFile(type=1, ticks_per_beat=QUARTER)
    midi.tracks.extend(tracks)
    midi.save(os.path.join(HERE, name))


def e(n):
    """Ticks of n eighths."""
    return n * QUARTER // 2


def held_notes():
    """A piano part played the way a keyboard records it, in 4/4, key of G.
    Bar 1: a low G held the whole bar under eighths and two quarters.
    Bar 2: a chord of three released one by one before its end, then melody notes played
    legato (each overlapping the next by 20 ticks) and a short staccato eighth.
    Bar 3: a dotted quarter, an eighth and a half over a low B that is held into bar 4,
    where a second chord sounds over it."""
    piano = [(0, MetaMessage("track_name", name="Piano")),
             (0, Message("program_change", channel=0, program=0))]
    # Bar 1.
    piano += note(0, 4 * QUARTER, 43)
    for i, pitch in enumerate((67, 69, 71, 72)):
        piano += note(e(i), e(i + 1), pitch)
    piano += note(e(4), e(6), 74) + note(e(6), e(8), 71)
    # Bar 2: a chord released in any order.
    bar = 4 * QUARTER
    piano += note(bar, bar + QUARTER - 10, 59) + note(bar, bar + QUARTER, 62)
    piano += note(bar, bar + QUARTER - 25, 55)
    for i, pitch in enumerate((74, 72, 71)):
        piano += note(bar + e(2 + i), bar + e(3 + i) + 20, pitch)
    piano += note(bar + e(5), bar + e(5) + 100, 69)
    piano += note(bar + e(6), bar + e(8), 67)
    # Bar 3 and 4: a low B held over the bar line under the melody and a chord.
    bar = 8 * QUARTER
    piano += note(bar, bar + 6 * QUARTER, 47)
    piano += note(bar, bar + e(3), 67) + note(bar + e(3), bar + e(4), 69)
    piano += note(bar + e(4), bar + e(8), 71)
    piano += note(bar + e(8), bar + e(12), 62) + note(bar + e(8), bar + e(12) - 40, 67)
    piano += note(bar + e(12), bar + e(16), 59)
    save("held_notes.mid", conductor("Held notes", key="G"), track(*piano))


def clefs_by_range():
    """Five parts without a clef cue: a bass line (program 33) low down, a guitar
    (program 25) playing mostly below middle C, a flute (program 73) high up, a piano
    (program 0, a grand staff) and a cello (program 42) playing mostly above middle C."""
    def part(name, channel, program, pitches):
        events = [(0, MetaMessage("track_name", name=name)),
                  (0, Message("program_change", channel=channel, program=program))]
        for i, pitch in enumerate(pitches):
            events += note(i * QUARTER, (i + 1) * QUARTER, pitch, channel)
        return track(*events)

    save("clefs_by_range.mid",
         conductor("Ranges"),
         part("Bass", 0, 33, (28, 31, 33, 36, 40, 43, 45, 38)),
         part("Guitar", 1, 25, (40, 47, 52, 55, 59, 64, 57, 45)),
         part("Flute", 2, 73, (72, 74, 76, 79, 81, 84, 77, 74)),
         part("Piano", 3, 0, (36, 40, 43, 48, 52, 55, 60, 64)),
         part("Cello", 4, 42, (60, 62, 64, 67, 69, 57, 64, 65)))


def short_drum_hits():
    """A drum part on channel 10 whose hits last 12 ticks (under a 64th), as drum machines
    record them: bass drum and hi-hat together, hi-hat eighths, a snare, sixteenth hi-hats
    and a hit a sixteenth before the bar line; the second bar has one crash, an eighth after
    its bar line, and the track ends. A bass line on channel 1 sounds beside it."""
    hits = []
    pattern = [(0, (36, 42)), (e(1), (42,)), (e(2), (38, 42)), (e(3), (42,)),
               (e(4), (36,)), (e(4) + QUARTER // 4, (42,)), (e(5), (42,)),
               (e(5) + QUARTER // 4, (42,)), (e(6), (38, 46)), (e(7) + QUARTER // 4, (38,)),
               (4 * QUARTER + e(1), (49, 36))]
    for start, pitches in pattern:
        for pitch in pitches:
            hits += note(start, start + 12, pitch, channel=9, velocity=110)
    drums = track((0, MetaMessage("track_name", name="Drums")), *hits)
    bass = [(0, MetaMessage("track_name", name="Bass")),
            (0, Message("program_change", channel=0, program=33))]
    for i, pitch in enumerate((36, 43, 36, 43, 36)):
        bass += note(i * QUARTER, (i + 1) * QUARTER - 30, pitch)
    save("short_drum_hits.mid", conductor("Groove"), drums, track(*bass))


def conductor_lyrics():
    """A song in 3/4 whose syllables stand in the first track as lyric events, the way
    arrangers write them: words end in a space, a word split over notes has a hyphen, and a
    line ends with a line feed of its own between two notes. The tune is the first part; a
    chord part follows."""
    syllables = [(0, "Twin"), (1, "kle, "), (2, "lit"), (3, "tle "), (4, "star; "),
                 (6, "Up "), (7, "a-"), (8, "bove "), (9, "the "), (10, "sky.")]
    lyrics = [(i * QUARTER, MetaMessage("lyrics", text=t)) for i, t in syllables]
    lyrics.append((5 * QUARTER + QUARTER // 2, MetaMessage("lyrics", text="\n")))
    tune = [(0, MetaMessage("track_name", name="Tune")),
            (0, Message("program_change", channel=0, program=73))]
    for i, pitch in enumerate((67, 67, 74, 74, 76, 76, 74, 72, 72, 71, 71)):
        tune += note(i * QUARTER, (i + 1) * QUARTER - 40, pitch)
    chords = [(0, MetaMessage("track_name", name="Chords")),
              (0, Message("program_change", channel=1, program=0))]
    for bar, pitches in enumerate(((55, 59, 62), (55, 60, 64), (55, 59, 62), (54, 57, 62))):
        for pitch in pitches:
            chords += note(bar * 3 * QUARTER, (bar + 1) * 3 * QUARTER, pitch, channel=1)
    save("conductor_lyrics.mid",
         conductor("Song", numerator=3, extra=lyrics), track(*tune), track(*chords))


if __name__ == "__main__":
    held_notes()
    clefs_by_range()
    short_drum_hits()
    conductor_lyrics()
