#!/usr/bin/env python3
"""Writes the six built-in demo tracks as type-0 standard MIDI files at 96 ticks per quarter.

Run from any folder: python3 resources/demotracks/make_demo_tracks.py
The .mid files are written next to this script and committed; the build packs them in the
order of resources/archives.cmake. Only the standard library is used.

Each voice is a list of (note, length) pairs played one after the other; lengths are in
quarter notes and "r" is a rest. Every track is a whole number of bars long, every note ends
on or before the last bar line, and the end-of-track event sits on that bar line, so the track
loops without a hanging note.
"""

import os
import struct

TPQ = 96
NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}


def note_number(name):
    """Note name to MIDI number: "C4" is middle C (60), "F#5" 78, "Bb3" 58."""
    pitch = NOTE_NAMES[name[0]]
    rest = name[1:]
    while rest and rest[0] in "#b":
        pitch += 1 if rest[0] == "#" else -1
        rest = rest[1:]
    return 12 * (int(rest) + 1) + pitch


def variable_length(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


def meta(kind, data):
    return bytes([0xFF, kind]) + variable_length(len(data)) + data


def write_track(file_name, name, numerator, bpm, bars, voices, channel=0):
    """voices: list of (velocity, [(note or chord or "r", length in quarters), ...])."""
    bar_ticks = numerator * TPQ
    total = bars * bar_ticks
    events = []  # (tick, order, bytes); note-offs sort before note-ons on the same tick
    for velocity, notes in voices:
        tick = 0
        for item in notes:
            if len(item) == 3:
                pitches, length, vel = item
            else:
                (pitches, length), vel = item, velocity
            ticks = round(length * TPQ)
            if pitches != "r":
                for pitch in pitches.split("+"):
                    number = note_number(pitch)
                    events.append((tick, 1, bytes([0x90 | channel, number, vel])))
                    events.append((tick + ticks, 0, bytes([0x80 | channel, number, 0x40])))
            tick += ticks
        if tick > total:
            raise ValueError(f"{file_name}: a voice runs {tick - total} ticks past the end")

    header_events = [
        (0, -3, meta(0x03, name.encode("utf-8"))),
        (0, -2, meta(0x58, bytes([numerator, 2, 24, 8]))),
        (0, -1, meta(0x51, struct.pack(">I", round(60_000_000 / bpm))[1:])),
    ]
    body = b""
    last = 0
    for tick, _, data in sorted(header_events + events, key=lambda e: (e[0], e[1])):
        body += variable_length(tick - last) + data
        last = tick
    body += variable_length(total - last) + meta(0x2F, b"")

    data = b"MThd" + struct.pack(">IHHH", 6, 0, 1, TPQ)
    data += b"MTrk" + struct.pack(">I", len(body)) + body
    with open(os.path.join(os.path.dirname(os.path.abspath(__file__)), file_name), "wb") as f:
        f.write(data)


def gymnopedie():
    # 3/4, slow: a low note on the first beat and a soft chord on the next two, alternating
    # G major 7 and D major 7; the tune enters after four bars. Eight bars of 3/4 are also six
    # bars of 4/4, so the loop stays whole in either metre.
    bass = []
    chords = []
    for bar in range(8):
        even = bar % 2 == 0
        bass.append(("G2" if even else "D2", 3))
        chords += [("r", 1), ("B3+D4+F#4" if even else "A3+C#4+F#4", 2)]
    tune = [("r", 12), ("r", 1), ("F#5", 1), ("A5", 1),
            ("G5", 1), ("F#5", 1), ("C#5", 1),
            ("B4", 1), ("C#5", 1), ("D5", 1),
            ("A4", 3)]
    write_track("01-gymnopedie.mid", "Gymnopédie no. 1", 3, 72, 8,
                [(70, bass), (52, chords), (84, tune)])


def greensleeves():
    tune = [("C5", 2), ("D5", 1),
            ("E5", 1.5), ("F5", 0.5), ("E5", 1),
            ("D5", 2), ("B4", 1),
            ("G4", 1.5), ("A4", 0.5), ("B4", 1),
            ("C5", 2), ("A4", 1),
            ("A4", 1.5), ("G#4", 0.5), ("A4", 1),
            ("B4", 2), ("G#4", 1),
            ("E4", 2), ("A4", 1)]
    bass = [("A2+E3", 3), ("C3+G3", 3), ("G2+D3", 3), ("E2+B2", 3),
            ("A2+E3", 3), ("F2+C3", 3), ("E2+B2", 3), ("A2+E3", 3)]
    write_track("02-greensleeves.mid", "Greensleeves", 3, 96, 8, [(88, tune), (64, bass)])


def praeambulum():
    # Broken chords in sixteenths over a held bass: D minor, G minor, A major 7, D minor.
    def figure(a, b, c, d):
        return [(p, 0.25) for p in (a, b, c, d, c, b) + (a, b, c, d, c, b) + (c, b, a, b)]

    right = (figure("D4", "F4", "A4", "D5") + figure("D4", "G4", "Bb4", "D5")
             + figure("C#4", "E4", "G4", "A4") + figure("D4", "F4", "A4", "D5"))
    left = [("D3", 4), ("Bb2", 4), ("A2", 4), ("D2+D3", 4)]
    write_track("03-praeambulum.mid", "Praeambulum no. 3", 4, 100, 4, [(80, right), (66, left)])


def the_entertainer():
    tune = [("r", 2), ("D5", 0.5), ("D#5", 0.5),
            ("E5", 0.5), ("C6", 1), ("E5", 0.5), ("C6", 1), ("E5", 0.5), ("C6", 0.5),
            ("r", 2), ("C6", 0.5), ("D6", 0.5), ("D#6", 0.5), ("E6", 0.5),
            ("C6", 0.5), ("D6", 0.5), ("E6", 1), ("B5", 0.5), ("D6", 1), ("C6", 1.5)]
    bass = [("r", 4),
            ("C3", 1), ("E3+G3+C4", 1), ("G2", 1), ("E3+G3+C4", 1),
            ("C3", 1), ("E3+G3+C4", 1), ("G2", 1), ("E3+G3+C4", 1),
            ("G2", 1), ("F3+G3+B3", 1), ("C3", 1), ("E3+G3+C4", 1)]
    write_track("04-the-entertainer.mid", "The Entertainer", 4, 96, 4, [(92, tune), (70, bass)])


def c_major_scale():
    up = [(p, 1) for p in ("C4", "D4", "E4", "F4", "G4", "A4", "B4", "C5")]
    down = [(p, 1) for p in ("B4", "A4", "G4", "F4", "E4", "D4", "C4")] + [("r", 1)]
    write_track("05-cmajor-scale.mid", "CMajor scale", 4, 120, 4, [(90, up + down)])


def pulses():
    # Eight dotted sixteenths on middle C in one bar: 36 ticks on, 12 off, the first accented.
    notes = [("C4", 0.375, 100 if i == 0 else 74) for i in range(8)]
    voice = []
    for note in notes:
        voice += [note, ("r", 0.125)]
    write_track("06-pulses8x16d.mid", "Pulses 8 x 1/16.", 4, 120, 1, [(74, voice)])


if __name__ == "__main__":
    gymnopedie()
    greensleeves()
    praeambulum()
    the_entertainer()
    c_major_scale()
    pulses()
