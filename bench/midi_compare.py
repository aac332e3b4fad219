#!/usr/bin/python3
"""Compares MIDI files exported by the engine with the originals they were imported from,
note by note (bench/midiroundtrip.cpp writes the exports).

    midi_compare.py ORIGINALS_DIR EXPORTS_DIR [--files]

Times are measured in 64th notes of the music (ticks / division x 16), so tempo does not
matter. An original note is kept when the export has a note of the same pitch starting in
the same 64th (the import puts times on the 64th grid below them); its duration is kept
when the matched export note lasts within a 64th of the original (drum notes, which the
import turns into hits, are left out of the durations). A note struck twice is an export
note-on that matches no original onset and falls inside an original note of that pitch, at
least a 64th after its start and before its end: a held note sounded again.

Needs python3-mido (Debian's /usr/bin/python3).
"""
import collections
import os
import sys

import mido
import mido.midifiles.meta as meta
import mido.midifiles.midifiles as midifiles

DRUM_CHANNEL = 9

_build_meta = midifiles.build_meta_message


def _tolerant_meta(meta_type, data, delta=0):
    # A meta event mido cannot decode (a key of mode 255, ...) says nothing about notes.
    try:
        return _build_meta(meta_type, data, delta)
    except Exception:  # pylint: disable=broad-except
        return meta.UnknownMetaMessage(meta_type, data, time=delta)


midifiles.build_meta_message = _tolerant_meta


def notes_of(path):
    """(pitch, onset, duration, drum) per note, times in 64ths."""
    midi = mido.MidiFile(path, clip=True)
    per64 = midi.ticks_per_beat / 16.0
    notes = []
    for track in midi.tracks:
        tick = 0
        sounding = collections.defaultdict(collections.deque)  # (channel, pitch) -> starts
        for message in track:
            tick += message.time
            if message.type not in ("note_on", "note_off"):
                continue
            key = (message.channel, message.note)
            if message.type == "note_on" and message.velocity > 0:
                sounding[key].append(tick)
            elif sounding[key]:
                start = sounding[key].popleft()
                notes.append((message.note, start / per64, (tick - start) / per64,
                              message.channel == DRUM_CHANNEL))
        for (channel, pitch), starts in sounding.items():
            for start in starts:
                notes.append((pitch, start / per64, (tick - start) / per64, channel == DRUM_CHANNEL))
    return notes


def cell(time):
    return int(time + 1e-6) if time >= 0 else -1


def compare(original, exported):
    by_key = collections.defaultdict(list)
    for n in original:
        by_key[(n[0], cell(n[1]))].append(n)
    export_by_key = collections.defaultdict(list)
    for n in exported:
        export_by_key[(n[0], cell(n[1]))].append(n)

    kept = durations = durations_total = 0
    leftovers = []
    for key, exports in export_by_key.items():
        originals = sorted(by_key.get(key, []), key=lambda n: n[2])
        exports = sorted(exports, key=lambda n: n[2])
        pairs = min(len(originals), len(exports))
        kept += pairs
        for o, e in zip(originals[:pairs], exports[:pairs]):
            if o[3]:
                continue
            durations_total += 1
            if abs(o[2] - e[2]) <= 1.0:
                durations += 1
        leftovers.extend(exports[pairs:])

    # Original notes by pitch, to find the held ones an extra note-on falls into.
    held = collections.defaultdict(list)
    for n in original:
        held[n[0]].append(n)
    twice = elsewhere = 0
    for pitch, onset, _, _ in leftovers:
        inside = any(cell(o[1]) < cell(onset) and o[1] + o[2] > cell(onset) + 0.5
                     for o in held[pitch])
        if inside:
            twice += 1
        else:
            elsewhere += 1
    return {"notes": len(original), "kept": kept, "durations": durations,
            "durations_total": durations_total, "twice": twice, "added": elsewhere,
            "export_notes": len(exported)}


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    show_files = "--files" in sys.argv
    if len(args) != 2:
        print(__doc__)
        return 2
    originals, exports = args
    total = collections.Counter()
    files = unreadable = 0
    for name in sorted(os.listdir(exports)):
        if name.endswith(".sco"):
            continue
        try:
            result = compare(notes_of(os.path.join(originals, name)),
                             notes_of(os.path.join(exports, name)))
        except Exception as error:  # pylint: disable=broad-except
            unreadable += 1
            print(f"{name}: not compared ({error})", file=sys.stderr)
            continue
        files += 1
        total.update(result)
        if show_files:
            print(f"{name}\t{result}")

    def share(part, whole):
        return f"{part}/{whole} = {100.0 * part / whole:.2f}%" if whole else "-"

    print(f"files compared: {files} (not readable here: {unreadable})")
    print(f"notes in the originals: {total['notes']}, in the exports: {total['export_notes']}")
    print(f"kept at the same pitch and onset: {share(total['kept'], total['notes'])}")
    print(f"durations kept within a 64th (drums left out): "
          f"{share(total['durations'], total['durations_total'])}")
    print(f"struck twice inside a held note: {total['twice']}")
    print(f"other export notes without an original: {total['added']}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
