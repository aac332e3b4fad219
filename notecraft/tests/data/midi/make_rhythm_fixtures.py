#!/usr/bin/python3
"""Writes the rhythm drawing fixtures of this folder with python3-mido: played parts as real
files hold them, each note released a little before the next (so the import fits most of
them to triplet or dotted values), for the tests of what a measure is drawn as. Run it with
Debian's python from anywhere; the files land beside this script:

    /usr/bin/python3 make_rhythm_fixtures.py

Division 480 throughout: a quarter is 480 ticks, a triplet eighth 160, a triplet quarter 320.
"""
import os

from mido import Message, MetaMessage, MidiFile, MidiTrack

HERE = os.path.dirname(os.path.abspath(__file__))
Q = 480
BAR = 4 * Q
LEGATO = 0.95  # a note sounds this part of the time to the next


def track(*events):
    """A track from (absolute tick, message) pairs, sorted by time (note-offs first)."""
    t = MidiTrack()
    now = 0
    order = {"note_off": 0}
    for tick, msg in sorted(events, key=lambda e: (e[0], order.get(e[1].type, 1))):
        t.append(msg.copy(time=tick - now))
        now = tick
    return t


def notes(starts, channel=0, velocity=90):
    """Note events from (tick, length, pitches) triples; lengths are cut by LEGATO."""
    events = []
    for tick, length, pitches in starts:
        if isinstance(pitches, int):
            pitches = [pitches]
        end = tick + max(1, int(length * LEGATO))
        for p in pitches:
            events.append((tick, Message("note_on", channel=channel, note=p, velocity=velocity)))
            events.append((end, Message("note_off", channel=channel, note=p)))
    return events


def conductor(*extra, numerator=4, denominator=4, key=None):
    events = [
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, MetaMessage("time_signature", numerator=numerator, denominator=denominator)),
    ]
    if key:
        events.append((0, MetaMessage("key_signature", key=key)))
    return track(*events, *extra)


def run(start, step, pitches):
    """Notes of one length one after the other from start."""
    return [(start + i * step, step, p) for i, p in enumerate(pitches)]


def save(name, *tracks):
    midi = MidiFile(type=1, ticks_per_beat=Q)
    midi.tracks.extend(tracks)
    midi.save(os.path.join(HERE, name))


def triplets_in_four():
    """4/4, four bars of triplet runs that cross beats.
    Bar 1: a quarter, six triplet eighths over beats 2 and 3, a quarter.
    Bar 2: a run starting on the second triplet eighth of beat 1 into beat 2, a half note.
    Bar 3: a quarter, three triplet quarters over beats 2 and 3 (the group starts off the
    half bar), then nothing.
    Bar 4: three triplet halves over the whole bar."""
    t8, t4, t2 = Q // 3, 2 * Q // 3, 4 * Q // 3
    part = [(0, Q, 72)] + run(Q, t8, [74, 76, 77, 79, 81, 83]) + [(3 * Q, Q, 84)]
    part += run(BAR + t8, t8, [72, 74, 76, 77, 79]) + [(BAR + 2 * Q, 2 * Q, 81)]
    part += [(2 * BAR, Q, 72)] + run(2 * BAR + Q, t4, [74, 76, 77])
    part += run(3 * BAR, t2, [72, 76, 79])
    save("triplets_in_four.mid", conductor(), track(*notes(part)))


def triplets_in_three():
    """3/4, four bars.
    Bar 1: three triplet quarters over beats 1 and 2, a quarter.
    Bar 2: a quarter, six triplet eighths over beats 2 and 3.
    Bar 3: a triplet quarter and a triplet eighth on beat 1, three triplet eighths on
    beat 2 (a run across the beat), a quarter.
    Bar 4: one note a little shorter than a triplet half, then nothing."""
    bar = 3 * Q
    t8, t4, t2 = Q // 3, 2 * Q // 3, 4 * Q // 3
    part = run(0, t4, [72, 74, 76]) + [(2 * Q, Q, 77)]
    part += [(bar, Q, 72)] + run(bar + Q, t8, [74, 76, 77, 79, 81, 83])
    part += [(2 * bar, t4, 72)] + run(2 * bar + t4, t8, [74, 76, 77, 79]) + [(2 * bar + 2 * Q, Q, 81)]
    part += [(3 * bar, t2, 72)]
    save("triplets_in_three.mid", conductor(numerator=3), track(*notes(part)))


def chord_accidentals():
    """F major (one flat), 4/4: chords whose heads need several signs.
    Bar 1: F4 A-flat4 B-natural4 (a flat and a natural a second apart), then A-flat4
    B-natural4 alone.
    Bar 2: D-flat5 E-flat5 (a second, both flats), then F-sharp4 F-sharp5 (an octave).
    Bar 3: E-flat4 F-sharp4 A-flat4 C-sharp5, then C-sharp5 D-sharp5 E5 (a cluster)."""
    part = [(0, 2 * Q, [65, 68, 71]), (2 * Q, 2 * Q, [68, 71])]
    part += [(BAR, 2 * Q, [73, 75]), (BAR + 2 * Q, 2 * Q, [66, 78])]
    part += [(2 * BAR, 2 * Q, [63, 66, 68, 73]), (2 * BAR + 2 * Q, 2 * Q, [73, 75, 76])]
    save("chord_accidentals.mid", conductor(key="F"), track(*notes(part)))


def offbeat_rests():
    """A flute's single notes off the beat, with the rests around them to show the beat:
    4/4 for four bars, then 3/4, 6/8 and 2/2 for two bars each.
    4/4: an eighth on beat 1; an eighth on beat 1 and a half; a dotted quarter; an eighth on
    beat 3 and a half. 3/4: an eighth on beat 1 and a half; a quarter on beat 2. 6/8: an
    eighth on the second eighth; a quarter on the fourth eighth. 2/2: a quarter on the second quarter;
    an eighth on the last eighth."""
    e = Q // 2
    part = [(0, e, 72), (BAR + e, e, 74), (2 * BAR, 3 * e, 76), (3 * BAR + 5 * e, e, 77)]
    t = 4 * BAR
    part += [(t + e, e, 72), (t + 3 * Q + Q, Q, 74)]
    t += 6 * Q
    timesig = [(0, MetaMessage("time_signature", numerator=4, denominator=4)),
               (4 * BAR, MetaMessage("time_signature", numerator=3, denominator=4)),
               (t, MetaMessage("time_signature", numerator=6, denominator=8))]
    part += [(t + e, e, 72), (t + 6 * e + 3 * e, Q, 74)]
    t += 6 * Q
    timesig.append((t, MetaMessage("time_signature", numerator=2, denominator=2)))
    part += [(t + Q, Q, 72), (t + BAR + 7 * e, e, 74)]
    midi_conductor = track((0, MetaMessage("set_tempo", tempo=500000)), *timesig)
    flute = (0, Message("program_change", channel=0, program=73))  # one staff, not two
    save("offbeat_rests.mid", midi_conductor, track(flute, *notes(part)))


def drum_hits():
    """4/4, two bars of a drum part whose hits last 10 ticks (a third of a 64th): hi-hat
    sixteenths, bass drum on beats 1 and 3, snare on 2 and 4, and a sixteenth-note fill on
    the snare in the second bar's last beat; a bass line of quarters beside it."""
    s16 = Q // 4
    hits = []
    for bar in range(2):
        for i in range(16):
            tick = bar * BAR + i * s16
            if bar == 1 and i >= 12:
                hits.append((tick, 38))
                continue
            hits.append((tick, 42))
            if i % 8 == 0:
                hits.append((tick, 36))
            elif i % 8 == 4:
                hits.append((tick, 38))
    events = []
    for tick, note in hits:
        events.append((tick, Message("note_on", channel=9, note=note, velocity=100)))
        events.append((tick + 10, Message("note_off", channel=9, note=note)))
    bass = [(i * Q, Q, 36 + (i % 4) * 2) for i in range(8)]
    save("drum_hits.mid", conductor(), track(*events),
         track((0, Message("program_change", channel=1, program=33)), *notes(bass, channel=1)))


if __name__ == "__main__":
    triplets_in_four()
    triplets_in_three()
    chord_accidentals()
    offbeat_rests()
    drum_hits()
