#!/usr/bin/python3
"""Writes the MIDI import fixtures of this folder with python3-mido. Run it with Debian's
python (mido imports only there) from anywhere; the files land beside this script:

    /usr/bin/python3 make_fixtures.py

Each file is small and shows one thing; the tests say what they expect of it. Damaged
files are not made here: the tests write those as commented bytes.
"""
import os

import mido
from mido import Message, MetaMessage, MidiFile, MidiTrack

HERE = os.path.dirname(os.path.abspath(__file__))


def track(*events):
    """A track from (absolute tick, message) pairs, in order."""
    t = MidiTrack()
    now = 0
    for tick, msg in events:
        t.append(msg.copy(time=tick - now))
        now = tick
    return t


def save(name, midi):
    midi.save(os.path.join(HERE, name))


def many_tracks():
    """Format 1, division 480, a conductor track and 11 parts; part 10 plays drums on
    channel 9 (the tenth channel). The conductor also carries a note, which gets the first
    staff."""
    midi = MidiFile(type=1, ticks_per_beat=480, charset="latin1")
    midi.tracks.append(track(
        (0, MetaMessage("text", text="Sonata|Arial|14|1")),
        (0, MetaMessage("text", text="Opus 1")),
        (0, MetaMessage("copyright", text="(c) Quill")),
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, MetaMessage("time_signature", numerator=3, denominator=4)),
        (0, MetaMessage("key_signature", key="D")),
        (0, Message("note_on", channel=0, note=30, velocity=90)),
        (240, Message("note_off", channel=0, note=30)),
        (240, MetaMessage("end_of_track")),
    ))
    programs = [0, 24, 32, 40, 56, 65, 71, 73, 19, None, 48]
    for part in range(1, 12):
        channel = 9 if part == 10 else (part - 1 if part < 10 else part)
        program = programs[part - 1]
        events = [(0, MetaMessage("track_name", name=f"Part {part}"))]
        if program is not None:
            events.append((0, Message("program_change", channel=channel, program=program)))
        pitch = 36 if channel == 9 else 40 + 2 * part
        # A quarter, a half and an eighth: 16, 32 and 8 in score time.
        for start, length in ((0, 480), (480, 960), (1440, 240)):
            events.append((start, Message("note_on", channel=channel, note=pitch, velocity=100)))
            events.append((start + length, Message("note_off", channel=channel, note=pitch)))
        if part == 1:
            events[1:1] = [(0, MetaMessage("lyrics", text="la\n")), (0, MetaMessage("lyrics", text="li\r"))]
        midi.tracks.append(track(*sorted(events, key=lambda e: e[0])))
    save("many_tracks.mid", midi)


def format0():
    """Format 0: everything in one track."""
    midi = MidiFile(type=0, ticks_per_beat=96)
    midi.tracks.append(track(
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, Message("note_on", note=60, velocity=100)),
        (96, Message("note_off", note=60)),
    ))
    save("format0.mid", midi)


def running_status():
    """Division 96. Running status after a program change (C0 05 06) and after bank select
    (B0 00 00 20 00): both are standard, and read the standard way the track gets program 5
    and no note from the controller bytes."""
    midi = MidiFile(type=1, ticks_per_beat=96)
    midi.tracks.append(track((0, MetaMessage("set_tempo", tempo=500000))))
    midi.tracks.append(track(
        (0, Message("program_change", program=5)),
        (0, Message("program_change", program=6)),
        (0, Message("control_change", control=0, value=0)),
        (0, Message("control_change", control=32, value=0)),
        (0, Message("note_on", note=60, velocity=100)),
        (0, Message("note_on", note=64, velocity=100)),
        (96, Message("note_on", note=60, velocity=0)),
        (96, Message("note_on", note=64, velocity=0)),
        (96, Message("note_on", note=67, velocity=100)),
        (192, Message("note_off", note=67)),
    ))
    save("running_status.mid", midi)


def sysex():
    """Division 96. A GM reset and a 200-byte system-exclusive message (a two-byte length)
    between the notes."""
    midi = MidiFile(type=1, ticks_per_beat=96)
    midi.tracks.append(track((0, MetaMessage("set_tempo", tempo=500000))))
    midi.tracks.append(track(
        (0, Message("sysex", data=[0x7E, 0x7F, 0x09, 0x01])),
        (0, Message("note_on", note=60, velocity=100)),
        (96, Message("note_off", note=60)),
        (96, Message("sysex", data=[0x43] + [i % 128 for i in range(199)])),
        (96, Message("note_on", note=62, velocity=100)),
        (192, Message("note_off", note=62)),
    ))
    save("sysex.mid", midi)


def tempo_and_time_signatures():
    """Division 16 (ticks are 64ths). Tempo 120, then 80 at the second bar; 4/4, then 3/4
    arriving at 70 (snapped back to the bar at 64), then 6/8 arriving at 117 (snapped to
    112, one 3/4 bar later)."""
    midi = MidiFile(type=1, ticks_per_beat=16)
    midi.tracks.append(track(
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, MetaMessage("time_signature", numerator=4, denominator=4)),
        (64, MetaMessage("set_tempo", tempo=750000)),
        (70, MetaMessage("time_signature", numerator=3, denominator=4)),
        (117, MetaMessage("time_signature", numerator=6, denominator=8)),
    ))
    midi.tracks.append(track(
        (0, Message("note_on", note=60, velocity=100)),
        (64, Message("note_off", note=60)),
        (64, Message("note_on", note=62, velocity=100)),
        (112, Message("note_off", note=62)),
        (112, Message("note_on", note=64, velocity=100)),
        (132, Message("note_off", note=64)),
    ))
    save("tempo_timesig.mid", midi)


def drums():
    """Division 480. Drums on channel 9 with hits of 10 ticks (a third of a 64th), a piano
    on channel 0, a second piano part on channel 1 and a bass (program 33) on channel 2."""
    midi = MidiFile(type=1, ticks_per_beat=480)
    midi.tracks.append(track((0, MetaMessage("set_tempo", tempo=500000))))
    hits = []
    for i, note in enumerate((36, 42, 38, 42)):
        hits.append((i * 240, Message("note_on", channel=9, note=note, velocity=110)))
        hits.append((i * 240 + 10, Message("note_off", channel=9, note=note)))
    midi.tracks.append(track(*hits))
    for channel, program, note in ((0, 0, 60), (1, 0, 67), (2, 33, 36)):
        midi.tracks.append(track(
            (0, Message("program_change", channel=channel, program=program)),
            (0, Message("note_on", channel=channel, note=note, velocity=100)),
            (480, Message("note_off", channel=channel, note=note)),
        ))
    save("drums.mid", midi)


def overlaps():
    """Division 16. Track 1: pitch 60 struck again at 8 while it sounds, released at 24.
    Track 2: pitch 72 struck at 32 and never released; the track ends at 64. Track 3: 48
    from 0 to 16 overlapping 52 from 8 to 24."""
    midi = MidiFile(type=1, ticks_per_beat=16)
    midi.tracks.append(track((0, MetaMessage("set_tempo", tempo=500000))))
    midi.tracks.append(track(
        (0, Message("note_on", note=60, velocity=100)),
        (8, Message("note_on", note=60, velocity=100)),
        (24, Message("note_off", note=60)),
    ))
    midi.tracks.append(track(
        (32, Message("note_on", note=72, velocity=100)),
        (64, MetaMessage("end_of_track")),
    ))
    midi.tracks.append(track(
        (0, Message("note_on", note=48, velocity=100)),
        (8, Message("note_on", note=52, velocity=100)),
        (16, Message("note_off", note=48)),
        (24, Message("note_off", note=52)),
    ))
    save("overlap.mid", midi)


def division96():
    """Division 96: a note-on at tick 95 lands at 15, one at 192 at 32; the second ends
    with a note-on of velocity 0."""
    midi = MidiFile(type=1, ticks_per_beat=96)
    midi.tracks.append(track((0, MetaMessage("set_tempo", tempo=500000))))
    midi.tracks.append(track(
        (95, Message("note_on", note=60, velocity=100)),
        (191, Message("note_off", note=60)),
        (192, Message("note_on", note=62, velocity=100)),
        (288, Message("note_on", note=62, velocity=0)),
    ))
    save("division96.mid", midi)


if __name__ == "__main__":
    many_tracks()
    format0()
    running_status()
    sysex()
    tempo_and_time_signatures()
    drums()
    overlaps()
    division96()
