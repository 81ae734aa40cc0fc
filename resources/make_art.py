#!/usr/bin/env python3
"""Draws lumenfold's interface art as SVG files (paths with plain fills only).

Text is set in a small stroke font of our own, defined below on a 4 x 6 grid and turned into
filled polygons, so that no drawing depends on the fonts of the machine that shows it.

Run from anywhere:  python3 resources/make_art.py
It rewrites the SVG files in the art folders beside this script (interfaceart, aboutandhelp,
headericons, spaceicons, midiicon, synthicon); the build packs those folders into the program.
"""

import math
import os

HERE = os.path.dirname(os.path.abspath(__file__))

# ----------------------------------------------------------------------------------------------
# Stroke font: each glyph is a list of polylines on a grid 4 wide and 6 high (y grows downwards,
# the baseline at 6). Lower-case text is set in capitals.

GLYPHS = {
    'A': [[(0, 6), (0, 2), (2, 0), (4, 2), (4, 6)], [(0, 4), (4, 4)]],
    'B': [[(0, 0), (0, 6), (3, 6), (4, 5), (4, 4), (3, 3), (0, 3)],
          [(0, 0), (3, 0), (4, 1), (4, 2), (3, 3)]],
    'C': [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5)]],
    'D': [[(0, 0), (0, 6), (2, 6), (4, 4), (4, 2), (2, 0), (0, 0)]],
    'E': [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
    'F': [[(4, 0), (0, 0), (0, 6)], [(0, 3), (3, 3)]],
    'G': [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5), (4, 3), (2, 3)]],
    'H': [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
    'I': [[(1, 0), (3, 0)], [(2, 0), (2, 6)], [(1, 6), (3, 6)]],
    'J': [[(4, 0), (4, 5), (3, 6), (1, 6), (0, 5)]],
    'K': [[(0, 0), (0, 6)], [(4, 0), (0, 4)], [(1, 3), (4, 6)]],
    'L': [[(0, 0), (0, 6), (4, 6)]],
    'M': [[(0, 6), (0, 0), (2, 3), (4, 0), (4, 6)]],
    'N': [[(0, 6), (0, 0), (4, 6), (4, 0)]],
    'O': [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)]],
    'P': [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)]],
    'Q': [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)],
          [(2, 4), (4, 6)]],
    'R': [[(0, 6), (0, 0), (3, 0), (4, 1), (4, 2), (3, 3), (0, 3)], [(2, 3), (4, 6)]],
    'S': [[(4, 1), (3, 0), (1, 0), (0, 1), (0, 2), (1, 3), (3, 3), (4, 4), (4, 5), (3, 6),
           (1, 6), (0, 5)]],
    'T': [[(0, 0), (4, 0)], [(2, 0), (2, 6)]],
    'U': [[(0, 0), (0, 5), (1, 6), (3, 6), (4, 5), (4, 0)]],
    'V': [[(0, 0), (2, 6), (4, 0)]],
    'W': [[(0, 0), (1, 6), (2, 3), (3, 6), (4, 0)]],
    'X': [[(0, 0), (4, 6)], [(4, 0), (0, 6)]],
    'Y': [[(0, 0), (2, 3), (4, 0)], [(2, 3), (2, 6)]],
    'Z': [[(0, 0), (4, 0), (0, 6), (4, 6)]],
    '0': [[(1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6), (0, 5), (0, 1), (1, 0)],
          [(1, 5), (3, 1)]],
    '1': [[(1, 1), (2, 0), (2, 6)], [(1, 6), (3, 6)]],
    '2': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (0, 6), (4, 6)]],
    '3': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6),
           (0, 5)], [(1, 3), (3, 3)]],
    '4': [[(3, 6), (3, 0), (0, 4), (4, 4)]],
    '5': [[(4, 0), (0, 0), (0, 3), (3, 3), (4, 4), (4, 5), (3, 6), (1, 6), (0, 5)]],
    '6': [[(3, 0), (1, 0), (0, 1), (0, 5), (1, 6), (3, 6), (4, 5), (4, 4), (3, 3), (0, 3)]],
    '7': [[(0, 0), (4, 0), (1, 6)]],
    '8': [[(1, 0), (3, 0), (4, 1), (4, 2), (3, 3), (1, 3), (0, 2), (0, 1), (1, 0)],
          [(1, 3), (0, 4), (0, 5), (1, 6), (3, 6), (4, 5), (4, 4), (3, 3)]],
    '9': [[(4, 3), (1, 3), (0, 2), (0, 1), (1, 0), (3, 0), (4, 1), (4, 5), (3, 6), (1, 6)]],
    '.': [[(2, 5.5), (2, 6)]],
    ',': [[(2, 5.5), (1.5, 7)]],
    ':': [[(2, 1.5), (2, 2)], [(2, 5.5), (2, 6)]],
    '-': [[(1, 3), (3, 3)]],
    '/': [[(4, 0), (0, 6)]],
    '(': [[(3, 0), (2, 1), (2, 5), (3, 6)]],
    ')': [[(1, 0), (2, 1), (2, 5), (1, 6)]],
    '[': [[(3, 0), (1, 0), (1, 6), (3, 6)]],
    ']': [[(1, 0), (3, 0), (3, 6), (1, 6)]],
    "'": [[(2, 0), (2, 1.5)]],
    '!': [[(2, 0), (2, 4)], [(2, 5.5), (2, 6)]],
    '?': [[(0, 1), (1, 0), (3, 0), (4, 1), (4, 2), (2, 3.5), (2, 4)], [(2, 5.5), (2, 6)]],
    '+': [[(2, 1.5), (2, 4.5)], [(0.5, 3), (3.5, 3)]],
    '=': [[(0.5, 2), (3.5, 2)], [(0.5, 4), (3.5, 4)]],
    '%': [[(4, 0), (0, 6)], [(0.5, 0.5), (1, 0.5)], [(3, 5.5), (3.5, 5.5)]],
    '*': [[(2, 1), (2, 5)], [(0.5, 2), (3.5, 4)], [(0.5, 4), (3.5, 2)]],
    ' ': [],
}

ADVANCE = 6.0       # glyph width 4 plus a gap of 2
LINE_HEIGHT = 9.5   # in grid units
STROKE = 0.95       # stroke width in grid units


def fmt(value):
    text = '%.2f' % value
    text = text.rstrip('0').rstrip('.')
    return '0' if text in ('-0', '') else text


def segment_polygon(a, b, half):
    """A rectangle around the segment a-b, extended by half at both ends (square caps)."""
    (x1, y1), (x2, y2) = a, b
    dx, dy = x2 - x1, y2 - y1
    length = math.hypot(dx, dy)
    if length < 1e-9:
        dx, dy, length = 1.0, 0.0, 1.0
    ux, uy = dx / length, dy / length
    nx, ny = -uy * half, ux * half
    ex, ey = ux * half, uy * half
    points = [(x1 - ex + nx, y1 - ey + ny), (x2 + ex + nx, y2 + ey + ny),
              (x2 + ex - nx, y2 + ey - ny), (x1 - ex - nx, y1 - ey - ny)]
    return oriented(points)


def oriented(points):
    """The polygon in clockwise order (in y-down coordinates), so that overlapping pieces add up
    under the non-zero fill rule instead of cancelling."""
    area = 0.0
    for i, (x1, y1) in enumerate(points):
        x2, y2 = points[(i + 1) % len(points)]
        area += x1 * y2 - x2 * y1
    return points if area >= 0 else list(reversed(points))


def polygon_data(points):
    head = 'M%s %s' % (fmt(points[0][0]), fmt(points[0][1]))
    rest = ''.join('L%s %s' % (fmt(x), fmt(y)) for x, y in points[1:])
    return head + rest + 'Z'


def text_path(text, x, y, size, stroke=STROKE):
    """Path data of text with its first glyph's top-left at (x, y); size is the scale of a grid
    unit."""
    parts = []
    half = stroke * size / 2.0
    cursor = x
    for char in text.upper():
        for line in GLYPHS.get(char, GLYPHS['?']):
            points = [(cursor + px * size, y + py * size) for px, py in line]
            for a, b in zip(points, points[1:]):
                parts.append(polygon_data(segment_polygon(a, b, half)))
        cursor += ADVANCE * size
    return ''.join(parts)


def text_width(text, size):
    return (len(text) * ADVANCE - 2) * size


def wrap(text, width):
    lines, line = [], ''
    for word in text.split():
        candidate = word if not line else line + ' ' + word
        if len(candidate) > width and line:
            lines.append(line)
            line = word
        else:
            line = candidate
    if line:
        lines.append(line)
    return lines


# ----------------------------------------------------------------------------------------------
# Shapes.

def circle_data(cx, cy, r, clockwise=True, steps=4):
    """A circle as four arcs."""
    sweep = 1 if clockwise else 0
    return ('M%s %s' % (fmt(cx + r), fmt(cy))
            + 'A%s %s 0 0 %d %s %s' % (fmt(r), fmt(r), sweep, fmt(cx), fmt(cy + r if clockwise else cy - r))
            + 'A%s %s 0 0 %d %s %s' % (fmt(r), fmt(r), sweep, fmt(cx - r), fmt(cy))
            + 'A%s %s 0 0 %d %s %s' % (fmt(r), fmt(r), sweep, fmt(cx), fmt(cy - r if clockwise else cy + r))
            + 'A%s %s 0 0 %d %s %s' % (fmt(r), fmt(r), sweep, fmt(cx + r), fmt(cy))
            + 'Z')


def ring_data(cx, cy, r_outer, r_inner):
    return circle_data(cx, cy, r_outer, True) + circle_data(cx, cy, r_inner, False)


def rect_data(x, y, w, h):
    return polygon_data([(x, y), (x + w, y), (x + w, y + h), (x, y + h)])


def rounded_rect_data(x, y, w, h, r):
    return ('M%s %s' % (fmt(x + r), fmt(y))
            + 'L%s %s' % (fmt(x + w - r), fmt(y))
            + 'Q%s %s %s %s' % (fmt(x + w), fmt(y), fmt(x + w), fmt(y + r))
            + 'L%s %s' % (fmt(x + w), fmt(y + h - r))
            + 'Q%s %s %s %s' % (fmt(x + w), fmt(y + h), fmt(x + w - r), fmt(y + h))
            + 'L%s %s' % (fmt(x + r), fmt(y + h))
            + 'Q%s %s %s %s' % (fmt(x), fmt(y + h), fmt(x), fmt(y + h - r))
            + 'L%s %s' % (fmt(x), fmt(y + r))
            + 'Q%s %s %s %s' % (fmt(x), fmt(y), fmt(x + r), fmt(y))
            + 'Z')


def polyline_data(points, width):
    """A polyline drawn as filled pieces of the given width, with round-ish joints."""
    half = width / 2.0
    parts = [polygon_data(segment_polygon(a, b, half)) for a, b in zip(points, points[1:])]
    return ''.join(parts)


def wave_points(x, y, w, h, cycles=1.0, steps=48):
    return [(x + w * i / steps, y + h / 2.0 - (h / 2.0) * math.sin(2 * math.pi * cycles * i / steps))
            for i in range(steps + 1)]


def path(d, colour, opacity=None):
    extra = '' if opacity is None else ' fill-opacity="%s"' % fmt(opacity)
    return '<path d="%s" fill="%s"%s/>' % (d, colour, extra)


def svg(width, height, elements):
    body = '\n'.join('  ' + e for e in elements)
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<svg xmlns="http://www.w3.org/2000/svg" width="%s" height="%s" viewBox="0 0 %s %s">\n'
            '%s\n</svg>\n' % (fmt(width), fmt(height), fmt(width), fmt(height), body))


def write(folder, name, content):
    target = os.path.join(HERE, folder)
    os.makedirs(target, exist_ok=True)
    with open(os.path.join(target, name), 'w', encoding='utf-8', newline='\n') as out:
        out.write(content)


# ----------------------------------------------------------------------------------------------
# Colours.

LIGHT = '#d9e4ea'       # icons on dark faces
ACCENT = '#6acdfe'      # the program's accent
DEEP = '#0f2230'        # text on the light blue help pages
MID = '#24516b'
WHITE = '#f4fbff'


# ----------------------------------------------------------------------------------------------
# The lattice mark: note cells on a slanted grid, three of them lit as a chord.

def lattice_mark(x, y, size, dot, lit, unlit, link):
    """Nine cells on a sheared 3 x 3 grid joined by thin links; the triangle of cells (0,0),
    (1,0), (0,1) is lit."""
    step = size / 2.6
    cells = {}
    for row in range(3):
        for col in range(3):
            cx = x + dot + col * step + row * step * 0.5
            cy = y + dot + row * step * 0.87
            cells[(col, row)] = (cx, cy)
    elements = []
    links = []
    for (col, row), (cx, cy) in cells.items():
        for dc, dr in ((1, 0), (0, 1), (-1, 1)):
            other = cells.get((col + dc, row + dr))
            if other:
                links.append(polyline_data([(cx, cy), other], dot * 0.28))
    elements.append(path(''.join(links), link))
    chord = [(1, 0), (2, 0), (1, 1)]
    elements.append(path(polygon_data(oriented([cells[c] for c in chord])), lit, 0.35))
    plain = ''.join(circle_data(cx, cy, dot * 0.62) for key, (cx, cy) in cells.items()
                    if key not in chord)
    bright = ''.join(circle_data(cells[c][0], cells[c][1], dot) for c in chord)
    elements.append(path(plain, unlit))
    elements.append(path(bright, lit))
    return elements


# ----------------------------------------------------------------------------------------------
# Panel icons: drawn at 0.09 scale in a column about 22 pixels wide, so 240 units square.

def panel_icons():
    size = 240
    # space: the lattice.
    write('spaceicons', 'space.svg',
          svg(size, size, lattice_mark(12, 18, 200, 26, ACCENT, LIGHT, LIGHT)))

    # chord: three note heads stacked on a short staff.
    staff = ''.join(rect_data(20, 40 + i * 40, 200, 6) for i in range(5))
    heads = ''
    for i, (cx, cy) in enumerate(((120, 183), (120, 123), (120, 63))):
        heads += ellipse_data(cx, cy, 30, 21, -20)
    stem = rect_data(145, 40, 9, 145)
    write('spaceicons', 'chord.svg',
          svg(size, size, [path(staff, LIGHT, 0.7), path(heads + stem, ACCENT)]))

    # key: an octave's worth of piano keys.
    whites = ''.join(rounded_rect_data(18 + i * 41, 30, 37, 180, 6) for i in range(5))
    blacks = ''.join(rect_data(44 + i * 41, 30, 22, 110) for i in (0, 1, 3))
    write('spaceicons', 'key.svg', svg(size, size, [path(whites, LIGHT), path(blacks, '#1b262d'),
                                                     path(rect_data(18, 30, 201, 8), ACCENT)]))

    # midi: a five-pin socket.
    socket = ring_data(120, 120, 104, 84)
    pins = ''.join(circle_data(120 + 56 * math.cos(math.radians(a)),
                               120 + 56 * math.sin(math.radians(a)), 12)
                   for a in (180, 225, 270, 315, 0))
    notch = rect_data(104, 186, 32, 22)
    write('midiicon', 'midi.svg',
          svg(size, size, [path(socket, LIGHT), path(pins, ACCENT), path(notch, LIGHT)]))

    # synth: a wave over a knob row.
    frame = rounded_rect_data(14, 30, 212, 180, 26)
    inner = rounded_rect_data(28, 44, 184, 152, 16)
    wave = polyline_data(wave_points(40, 60, 160, 80, 1.5), 12)
    knobs = ''.join(circle_data(70 + i * 50, 170, 12) for i in range(3))
    write('synthicon', 'synth.svg',
          svg(size, size, [path(frame + reverse_rounded(inner), LIGHT), path(wave, ACCENT),
                           path(knobs, LIGHT)]))


def ellipse_data(cx, cy, rx, ry, angle_degrees, steps=24):
    a = math.radians(angle_degrees)
    points = []
    for i in range(steps):
        t = 2 * math.pi * i / steps
        px, py = rx * math.cos(t), ry * math.sin(t)
        points.append((cx + px * math.cos(a) - py * math.sin(a),
                       cy + px * math.sin(a) + py * math.cos(a)))
    return polygon_data(oriented(points))


def reverse_rounded(data):
    """A rounded rectangle of rounded_rect_data run the other way round: a hole under the
    non-zero fill rule."""
    import re
    tokens = re.findall(r'[MLQZ]|-?[0-9.]+', data)
    commands = []
    i = 0
    while i < len(tokens):
        t = tokens[i]
        if t == 'M' or t == 'L':
            commands.append((t, [float(tokens[i + 1]), float(tokens[i + 2])]))
            i += 3
        elif t == 'Q':
            commands.append((t, [float(v) for v in tokens[i + 1:i + 5]]))
            i += 5
        else:
            i += 1
    # Walk the segments backwards.
    points = list(commands)
    start = points[0][1]
    out = 'M%s %s' % (fmt(start[0]), fmt(start[1]))
    # Collect end points in order, then traverse backwards.
    ends = [start]
    controls = [None]
    for command, values in points[1:]:
        if command == 'L':
            ends.append((values[0], values[1]))
            controls.append(None)
        else:
            ends.append((values[2], values[3]))
            controls.append((values[0], values[1]))
    for k in range(len(ends) - 1, 0, -1):
        target = ends[k - 1]
        control = controls[k]
        if control is None:
            out += 'L%s %s' % (fmt(target[0]), fmt(target[1]))
        else:
            out += 'Q%s %s %s %s' % (fmt(control[0]), fmt(control[1]), fmt(target[0]), fmt(target[1]))
    return out + 'Z'


# ----------------------------------------------------------------------------------------------
# Button icons, 100 units square, drawn fitted onto small buttons.

def button_icons():
    size = 100
    write('headericons', 'stop.svg', svg(size, size, [path(rect_data(25, 25, 50, 50), LIGHT)]))
    write('headericons', 'start.svg',
          svg(size, size, [path(polygon_data(oriented([(28, 20), (82, 50), (28, 80)])), LIGHT)]))
    info = ring_data(50, 50, 40, 32) + circle_data(50, 30, 6) + rect_data(45, 42, 10, 32)
    write('headericons', 'info.svg', svg(size, size, [path(info, LIGHT)]))
    disk_body = polygon_data(oriented([(16, 14), (74, 14), (86, 26), (86, 86), (16, 86)]))
    disk_label = rect_data(28, 52, 46, 28)
    disk_shutter = rect_data(32, 14, 32, 22)
    write('headericons', 'disk.svg',
          svg(size, size, [path(disk_body, LIGHT), path(disk_label + disk_shutter, '#22313b')]))

    chevron_right = polyline_data([(30, 18), (66, 50), (30, 82)], 16)
    chevron_left = polyline_data([(70, 18), (34, 50), (70, 82)], 16)
    write('interfaceart', 'expand.svg', svg(size, size, [path(chevron_right, LIGHT)]))
    write('interfaceart', 'collapse.svg', svg(size, size, [path(chevron_left, LIGHT)]))
    write('interfaceart', 'decrease.svg',
          svg(size, size, [path(polygon_data(oriented([(72, 22), (28, 50), (72, 78)])), LIGHT)]))
    write('interfaceart', 'increase.svg',
          svg(size, size, [path(polygon_data(oriented([(28, 22), (72, 50), (28, 78)])), LIGHT)]))
    lfo = polyline_data(wave_points(12, 22, 76, 56, 1.0), 9)
    write('interfaceart', 'modulate.svg',
          svg(size, size, [path(lfo, LIGHT), path(circle_data(88, 50, 6), ACCENT)]))
    mouse = rounded_rect_data(28, 12, 44, 76, 22)
    mouse_hole = rounded_rect_data(34, 18, 32, 64, 16)
    wheel = rounded_rect_data(45, 24, 10, 20, 5)
    write('interfaceart', 'mousewheel.svg',
          svg(size, size, [path(mouse + reverse_rounded(mouse_hole), LIGHT), path(wheel, ACCENT)]))
    # radio1 to radio5: one to five dots, as on a die, inside the die's outline (so that every
    # one of them fills its button alike).
    die = rounded_rect_data(8, 8, 84, 84, 16)
    die_hole = reverse_rounded(rounded_rect_data(14, 14, 72, 72, 11))
    spots = {
        1: [(50, 50)],
        2: [(30, 30), (70, 70)],
        3: [(28, 28), (50, 50), (72, 72)],
        4: [(30, 30), (70, 30), (30, 70), (70, 70)],
        5: [(28, 28), (72, 28), (50, 50), (28, 72), (72, 72)],
    }
    for count, points in spots.items():
        dots = ''.join(circle_data(x, y, 10) for x, y in points)
        write('interfaceart', 'radio%d.svg' % count,
              svg(size, size, [path(die + die_hole, LIGHT, 0.6), path(dots, LIGHT)]))

    # The vendor mark: a folded square beside the letters ZYL, 400 x 130 (drawn at 0.22).
    fold = polygon_data(oriented([(10, 10), (110, 10), (110, 110), (10, 110)]))
    crease = polygon_data(oriented([(10, 110), (110, 10), (110, 110)]))
    letters = text_path('ZYL', 140, 30, 13, 1.1)
    write('interfaceart', 'vendorlogo.svg',
          svg(400, 130, [path(fold, LIGHT, 0.55), path(crease, ACCENT), path(letters, LIGHT)]))


# ----------------------------------------------------------------------------------------------
# The application logo (drawn at 0.4 x 0.3 in the editor's top-left corner) and the About and
# Help pages (drawn at 0.4 x 0.39 under the tabs of the help panel, 320 x 450 pixels, so
# 800 x 1154 units).

def app_logo():
    """The logo in the editor's top-left corner, drawn at 0.4 across and 0.3 down from (11, 15):
    it keeps within 380 x 88 units, left of the header and above the panels, and leaves the
    version number's place (units 280 to 352 across, above 57) free."""
    elements = lattice_mark(2, 2, 88, 12, ACCENT, LIGHT, LIGHT)
    elements.append(path(text_path('PITCH SPACE', 145, 32, 2.0), ACCENT))
    elements.append(path(text_path('LUMENFOLD', 145, 58, 4.1, 1.2), LIGHT))
    write('aboutandhelp', 'applogo.svg', svg(380, 88, elements))


PAGE_W, PAGE_H = 800, 1154


def page_to_units(x, y):
    """Help-panel pixel coordinates to page units."""
    return x / 0.4, (y - 20) / 0.39


def about_page():
    elements = []
    # A white band behind the heading.
    elements.append(path(rounded_rect_data(30, 20, 740, 210, 28), WHITE, 0.35))
    elements += lattice_mark(48, 40, 170, 22, '#1f7fb3', DEEP, MID)
    elements.append(path(text_path('LUMENFOLD', 250, 56, 7.0, 1.1), DEEP))
    # "VERSION", left of the version text that the panel draws at (230, 70).
    vx, vy = page_to_units(230, 70)
    elements.append(path(text_path('VERSION', vx - text_width('VERSION', 3.4) - 24, vy + 14,
                                   3.4), MID))
    # The licence line ends left of the "here" button at (109, 134, 21, 11).
    hx, hy = page_to_units(109, 134)
    size = 3.2
    label = 'LICENCE:'
    elements.append(path(text_path(label, hx - text_width(label, size) - 22, hy + 6, size), DEEP))

    body = [
        'A PITCH SPACE INSTRUMENT: NOTE CELLS ON A GRID WHOSE NEIGHBOURS LIE A FIXED NUMBER '
        'OF SEMITONES APART, ABOVE A PIANO KEYBOARD.',
        '',
        'CLICK A CELL TO PLAY A CHORD ROOTED ON IT. THE CHORD IS VOICED, PLACED ON THE NEAREST '
        'CELLS, LIT UP AND SENT AS MIDI.',
        '',
        'MADE WITH JUCE AND KISSFFT.',
    ]
    y = page_to_units(0, 175)[1]
    for paragraph in body:
        if not paragraph:
            y += LINE_HEIGHT * size * 0.6
            continue
        for line in wrap(paragraph, 36):
            elements.append(path(text_path(line, 48, y, size), DEEP))
            y += LINE_HEIGHT * size
    # The vendor mark at the foot of the page.
    fold = polygon_data(oriented([(48, 1000), (128, 1000), (128, 1080), (48, 1080)]))
    crease = polygon_data(oriented([(48, 1080), (128, 1000), (128, 1080)]))
    elements.append(path(fold, WHITE, 0.6))
    elements.append(path(crease, '#1f7fb3'))
    elements.append(path(text_path('ZYL', 150, 1012, 9.5, 1.1), DEEP))
    write('aboutandhelp', 'aboutvstasio.svg', svg(PAGE_W, PAGE_H, elements))


HELP_TEXT = [
    ('PLAYING', 'CLICK A CELL OF THE GRID OR A KEY OF THE PIANO TO PLAY A CHORD ROOTED ON IT. '
                'WITH ON CLICK SET TO TRIGGER CELL, HOLD THE BUTTON AND MOVE TO PLAY EACH CELL '
                'YOU REACH.'),
    ('CHORDS', 'PICK A CHORD, OR LET AN ASSIST FIT ONE TO THE SCALE AND KEY. THE VOICING MOVES '
               'CHORD NOTES BY OCTAVES ONTO THE CELLS NEAREST THE ROOT.'),
    ('SPACES', 'EACH SPACE SETS HOW MANY SEMITONES LIE BETWEEN HORIZONTAL AND VERTICAL '
               'NEIGHBOURS.'),
    ('MIDI', 'NOTES COME FROM A MIDI PORT, THE DEMO TRACKS OR THE MOUSE, AND LEAVE TO A PORT '
             'OR THE BUILT-IN SYNTH. THE CELL TRIGGER SAYS WHAT AN INCOMING NOTE DOES.'),
    ('PRESETS', 'THE HEADER SAVES AND LOADS PRESETS (.FXP) AND BANKS OF 128 (.FXB).'),
    ('MOUSE WHEEL', 'PRESS THE WHEEL BUTTON OF A CONTROL, THEN TURN THE WHEEL ANYWHERE OVER '
                    'THE WINDOW TO STEP ITS VALUE.'),
]


def help_page():
    elements = [path(rounded_rect_data(30, 18, 740, 92, 24), WHITE, 0.35)]
    elements.append(path(text_path('HELP', 54, 40, 7.0, 1.1), DEEP))
    elements += lattice_mark(620, 26, 120, 14, '#1f7fb3', DEEP, MID)
    size = 3.0
    y = 150.0
    for heading, text in HELP_TEXT:
        elements.append(path(rect_data(40, y + 4, 10, 10), '#1f7fb3'))
        elements.append(path(text_path(heading, 62, y, size, 1.15), MID))
        y += LINE_HEIGHT * size
        for line in wrap(text, 38):
            elements.append(path(text_path(line, 62, y, size), DEEP))
            y += LINE_HEIGHT * size
        y += LINE_HEIGHT * size * 0.5
    # Nothing below the online-guide button's row (panel y 435).
    assert y < page_to_units(0, 430)[1], 'help text runs into the link button'
    write('aboutandhelp', 'help1.svg', svg(PAGE_W, PAGE_H, elements))


def main():
    panel_icons()
    button_icons()
    app_logo()
    about_page()
    help_page()


if __name__ == '__main__':
    main()
