#!/usr/bin/python3
"""Writes the MIDI layout fixtures of this folder with python3-mido. Run it with Debian's
python (mido imports only there) from anywhere; the files land beside this script:

    /usr/bin/python3 make_layout_fixtures.py

Each file is small and shows one thing about how an imported score is laid out; the tests
say what they expect of it.
"""
from mido import Message, MetaMessage, MidiFile

from make_fixtures import save, track

BAR = 4 * 480  # a 4/4 measure at division 480


def trailing_silence():
    """Format 1, division 480, 4/4: a melody of quarters and a bass of whole notes over
    eight and a half measures (the last quarter ends on the second beat of measure 9),
    then five measures of silence before the tracks end."""
    midi = MidiFile(type=1, ticks_per_beat=480)
    end = 14 * BAR
    midi.tracks.append(track(
        (0, MetaMessage("set_tempo", tempo=500000)),
        (0, MetaMessage("time_signature", numerator=4, denominator=4)),
        (end, MetaMessage("end_of_track")),
    ))
    melody = [(0, MetaMessage("track_name", name="Melody")),
              (0, Message("program_change", channel=0, program=73))]
    for beat in range(8 * 4 + 2):
        pitch = (72, 74, 76, 77)[beat % 4]
        melody.append((beat * 480, Message("note_on", channel=0, note=pitch, velocity=90)))
        melody.append((beat * 480 + 480, Message("note_off", channel=0, note=pitch)))
    melody.append((end, MetaMessage("end_of_track")))
    midi.tracks.append(track(*melody))
    bass = [(0, MetaMessage("track_name", name="Bass")),
            (0, Message("program_change", channel=1, program=32))]
    for bar in range(8):
        bass.append((bar * BAR, Message("note_on", channel=1, note=36, velocity=90)))
        bass.append((bar * BAR + BAR, Message("note_off", channel=1, note=36)))
    bass.append((end, MetaMessage("end_of_track")))
    midi.tracks.append(track(*bass))
    save("trailing_silence.mid", midi)


if __name__ == "__main__":
    trailing_silence()
