#!/usr/bin/python3
"""Prints a Standard MIDI File as python3-mido reads it, one event a line, for the MIDI
tests: an independent reader of what the exporter writes.

    /usr/bin/python3 dump_midi.py FILE.mid

Lines:
    type 1
    ticks_per_beat 128
    tracks 3
    T<track> <absolute tick> <event> <fields...>

A note-on with velocity 0 is printed as note_off. Texts are printed as the hex of their
bytes, so that any byte survives. Exit status 2 when mido cannot read the file.
"""
import sys

import mido

TEXTS = ("text", "copyright", "track_name", "instrument_name", "lyrics", "marker", "cue_marker")


def describe(msg):
    if msg.type == "note_on" and msg.velocity == 0:
        return f"note_off {msg.channel} {msg.note}"
    if msg.type == "note_on":
        return f"note_on {msg.channel} {msg.note} {msg.velocity}"
    if msg.type == "note_off":
        return f"note_off {msg.channel} {msg.note}"
    if msg.type == "control_change":
        return f"control_change {msg.channel} {msg.control} {msg.value}"
    if msg.type == "program_change":
        return f"program_change {msg.channel} {msg.program}"
    if msg.type in TEXTS:
        text = msg.name if msg.type in ("track_name", "instrument_name") else msg.text
        return f"{msg.type} {text.encode('latin1').hex()}"
    if msg.type == "set_tempo":
        return f"set_tempo {msg.tempo}"
    if msg.type == "time_signature":
        return (f"time_signature {msg.numerator} {msg.denominator} "
                f"{msg.clocks_per_click} {msg.notated_32nd_notes_per_beat}")
    if msg.type == "key_signature":
        return f"key_signature {msg.key}"
    if msg.type == "sysex":
        return f"sysex {len(msg.data)}"
    return msg.type


def main():
    try:
        midi = mido.MidiFile(sys.argv[1], charset="latin1")
    except Exception as error:  # mido raises several kinds for damaged files
        print(f"error {type(error).__name__}: {error}")
        return 2
    print(f"type {midi.type}")
    print(f"ticks_per_beat {midi.ticks_per_beat}")
    print(f"tracks {len(midi.tracks)}")
    for number, track in enumerate(midi.tracks):
        tick = 0
        for msg in track:
            tick += msg.time
            print(f"T{number} {tick} {describe(msg)}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
