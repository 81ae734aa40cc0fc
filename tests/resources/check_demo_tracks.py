#!/usr/bin/env python3
"""Reads the committed demo tracks with mido, a MIDI parser independent of ours and of JUCE's,
and checks what the sequencer relies on: type 0, 96 ticks per quarter, one track with the
expected name, a length of whole bars with the end of track on the bar line, and no note still
on when the track loops.

    check_demo_tracks.py <folder of the .mid files>
"""

import os
import sys

import mido

EXPECTED = [
    ("01-gymnopedie.mid", "Gymnopédie no. 1"),
    ("02-greensleeves.mid", "Greensleeves"),
    ("03-praeambulum.mid", "Praeambulum no. 3"),
    ("04-the-entertainer.mid", "The Entertainer"),
    ("05-cmajor-scale.mid", "CMajor scale"),
    ("06-pulses8x16d.mid", "Pulses 8 x 1/16."),
]


def check(path, expected_name):
    problems = []
    midi = mido.MidiFile(path, charset="utf-8")
    if midi.type != 0:
        problems.append(f"type {midi.type}, not 0")
    if midi.ticks_per_beat != 96:
        problems.append(f"{midi.ticks_per_beat} ticks per quarter, not 96")
    if len(midi.tracks) != 1:
        return problems + [f"{len(midi.tracks)} tracks, not 1"]

    name = None
    numerator, denominator = 4, 4
    tick = 0
    held = set()
    end_tick = None
    for message in midi.tracks[0]:
        tick += message.time
        if message.type == "track_name" and name is None:
            name = message.name
        elif message.type == "time_signature" and tick == 0:
            numerator, denominator = message.numerator, message.denominator
        elif message.type == "note_on" and message.velocity > 0:
            held.add((message.channel, message.note))
        elif message.type == "note_off" or (message.type == "note_on" and message.velocity == 0):
            held.discard((message.channel, message.note))
        elif message.type == "end_of_track":
            end_tick = tick

    if name != expected_name:
        problems.append(f"name {name!r}, not {expected_name!r}")
    bar = numerator * 96 * 4 // denominator
    if end_tick is None:
        problems.append("no end of track")
    elif end_tick == 0 or end_tick % bar != 0:
        problems.append(f"ends at tick {end_tick}, not on a bar line of {bar} ticks")
    if held:
        problems.append(f"notes still on at the loop point: {sorted(held)}")
    return problems


def main():
    folder = sys.argv[1]
    failed = False
    for file_name, expected_name in EXPECTED:
        problems = check(os.path.join(folder, file_name), expected_name)
        for problem in problems:
            print(f"{file_name}: {problem}")
        failed = failed or bool(problems)
    print("demo tracks:", "FAILED" if failed else f"{len(EXPECTED)} files fine")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
