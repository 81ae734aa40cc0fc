#!/usr/bin/python3
"""Checks of the end-to-end run (scripts/e2e.sh), independent of the program's own code.

  checks.py sound LEVELS FROM SECONDS THRESHOLD
      Seconds from wall-clock time FROM to the first recorded block louder than THRESHOLD,
      looking SECONDS ahead; fails when there is none.
  checks.py silence LEVELS FROM SECONDS THRESHOLD
      Seconds from FROM to the start of the first stretch of 0.3 s in which every block is at
      most THRESHOLD, and after which it stays so until FROM + SECONDS; fails when there is none.
  checks.py held LEVELS FROM UNTIL THRESHOLD
      Every block recorded from wall-clock time FROM to UNTIL is louder than THRESHOLD; fails
      at the first that is not, or when the recording does not cover the time.
  checks.py quiet LEVELS FROM UNTIL THRESHOLD
      Every block recorded from wall-clock time FROM to UNTIL is at most THRESHOLD; fails at
      the first that is not, or when the recording does not cover the time.
  checks.py window SHOT X Y W H
      The screenshot shows the window exactly at X, Y, W x H on a black root, with a menu bar of
      20 pixels holding light text on one background colour, and a drawn editor under it.
  checks.py lit BEFORE AFTER X Y W H CX CY
      Cells lit between two screenshots: many pixels of the area X, Y, W x H changed, grouped
      around the clicked point CX, CY.
  checks.py same BEFORE AFTER X Y W H    /    checks.py differ BEFORE AFTER X Y W H
      The area is unchanged (but for a few pixels), or it changed (in more than 50 pixels).
  checks.py fxb FILE    /    checks.py fxp FILE NAME
      The file has the bank (or program) layout: big-endian header, plug-in id "QV02", sizes
      that agree with the file, and a chunk holding the state as XML text with one zero byte;
      a program file carries NAME padded with blanks to 28 bytes. Prints a summary line, then
      the chunk's XML.
  checks.py state SETTINGS
      Prints the processor state stored under "filterState" in a settings file (XML text), or
      fails when there is none or it does not decode.
  checks.py transport SETTINGS
      Prints the transport module's tempo and time signature in the stored state, as
      "tempo 100, 3/4"; fails when the state holds no transport module.
  checks.py setting SETTINGS KEY
      Prints the value (or the XML) stored under KEY; fails when it is absent.
  checks.py damaged-state SETTINGS KIND
      Prints the stored state of SETTINGS spoiled as KIND says, encoded for a settings file:
      foreign-name (the root module carries another product's name), version-3 (major version
      3), program-document (a program's document in place of the bank's), random (random bytes).
"""
import struct
import sys
import xml.etree.ElementTree as ET

from PIL import Image, ImageChops


def fail(message):
    print(message, file=sys.stderr)
    sys.exit(1)


def read_levels(path):
    with open(path) as f:
        return [tuple(map(float, line.split())) for line in f if len(line.split()) == 2]


def sound(path, start, seconds, threshold):
    for stamp, peak in read_levels(path):
        if start <= stamp <= start + seconds and peak > threshold:
            print(f"{stamp - start:.3f}")
            return
    fail(f"no block louder than {threshold} within {seconds} s")


def silence(path, start, seconds, threshold):
    blocks = [(s, p) for s, p in read_levels(path) if start <= s <= start + seconds]
    if not blocks or blocks[-1][0] < start + seconds - 0.5:
        fail("the recording does not cover the time asked for")
    quiet_from = None
    for stamp, peak in blocks:
        if peak > threshold:
            quiet_from = None
        elif quiet_from is None:
            quiet_from = stamp
    if quiet_from is None or blocks[-1][0] - quiet_from < 0.3:
        fail(f"not silent (peak {max(p for _, p in blocks):.4f}) by {seconds} s")
    print(f"{quiet_from - start:.3f}")


def held(path, start, until, threshold):
    blocks = [(s, p) for s, p in read_levels(path) if start <= s <= until]
    if not blocks or blocks[0][0] > start + 0.1 or blocks[-1][0] < until - 0.1:
        fail("the recording does not cover the time asked for")
    for stamp, peak in blocks:
        if peak <= threshold:
            fail(f"quiet (peak {peak:.4f}) {stamp - start:.3f} s after the start")
    print(f"{len(blocks)} blocks over {until - start:.3f} s, the quietest at peak "
          f"{min(p for _, p in blocks):.4f}")


def quiet(path, start, until, threshold):
    blocks = [(s, p) for s, p in read_levels(path) if start <= s <= until]
    if not blocks or blocks[0][0] > start + 0.1 or blocks[-1][0] < until - 0.1:
        fail("the recording does not cover the time asked for")
    for stamp, peak in blocks:
        if peak > threshold:
            fail(f"loud (peak {peak:.4f}) {stamp - start:.3f} s after the start")
    print(f"{len(blocks)} blocks over {until - start:.3f} s, the loudest at peak "
          f"{max(p for _, p in blocks):.4f}")


def window(shot, x, y, w, h):
    image = Image.open(shot).convert("RGB")
    bbox = image.getbbox()  # the box of all pixels that are not black
    if bbox != (x, y, x + w, y + h):
        fail(f"drawn area {bbox} is not the window {(x, y, x + w, y + h)}")
    # The bar: every row mostly one colour (a shaded background), light text on its left.
    light = 0
    for row in range(20):
        colours = sorted(image.crop((x, y + row, x + w, y + row + 1)).getcolors(w), reverse=True)
        if colours[0][0] < 0.7 * w:
            fail(f"menu bar row {row} has no background colour of its own")
        background = colours[0][1]
        light += sum(n for n, c in colours if sum(c) > sum(background) + 200)
    if light < 30:
        fail("no text in the menu bar")
    right = image.crop((x + w - 300, y, x + w, y + 20))
    if len(right.getcolors(300 * 20)) > 30:
        fail("the menu bar holds more than the three menus on its left")
    editor = image.crop((x, y + 20, x + w, y + h))
    if len(editor.getcolors(w * h) or []) < 200:
        fail("the editor looks blank")
    print(f"window {w}x{h} at {x},{y}, menu bar background {background}")


def factory_grid(shot, x, y):
    # The factory program opens the Balzano grid, a staircase of cells that leaves about a third
    # of the grid's viewport to the panel's grey; the octave grid the program starts from, before
    # it has shown the loaded program, covers nearly all of it.
    image = Image.open(shot).convert("RGB")
    box = image.crop((x + 10, y + 70, x + 680, y + 495))
    area = box.width * box.height
    uncovered = sum(n for n, colour in box.getcolors(area) if colour == (85, 85, 85))
    share = 100.0 * uncovered / area
    if share < 20.0:
        fail(f"the grid shows no Balzano staircase ({share:.1f}% of it uncovered): "
             "the editor does not show the loaded factory program")
    print(f"grid shows the factory program's Balzano staircase ({share:.1f}% uncovered)")


def changed_mask(before, after, box):
    a = Image.open(before).convert("RGB").crop(box)
    b = Image.open(after).convert("RGB").crop(box)
    return ImageChops.difference(a, b).convert("L").point(lambda v: 255 if v > 24 else 0)


def lit(before, after, x, y, w, h, cx, cy):
    mask = changed_mask(before, after, (x, y, x + w, y + h))
    changed = sum(1 for v in mask.getdata() if v)
    near = mask.crop((cx - x - 90, cy - y - 90, cx - x + 90, cy - y + 90))
    changed_near = sum(1 for v in near.getdata() if v)
    if changed < 400 or changed_near < 0.6 * changed:
        fail(f"{changed} pixels changed, {changed_near} of them near the click")
    print(f"{changed} pixels changed, {changed_near} near the click")


def same(before, after, x, y, w, h):
    mask = changed_mask(before, after, (x, y, x + w, y + h))
    changed = sum(1 for v in mask.getdata() if v)
    if changed > 50:
        fail(f"{changed} pixels changed")
    print(f"{changed} pixels changed")


def differ(before, after, x, y, w, h):
    mask = changed_mask(before, after, (x, y, x + w, y + h))
    changed = sum(1 for v in mask.getdata() if v)
    if changed <= 50:
        fail(f"only {changed} pixels changed")
    print(f"{changed} pixels changed")


def u32(data, offset):
    return struct.unpack(">I", data[offset:offset + 4])[0]


def chunk_xml(chunk, root):
    if not chunk.endswith(b"\0") or b"\0" in chunk[:-1]:
        fail("the chunk is not text with one closing zero byte")
    element = ET.fromstring(chunk[:-1].decode("utf-8"))
    if element.tag != root:
        fail(f"the chunk's document is <{element.tag}>, not <{root}>")
    return chunk[:-1].decode("utf-8")


def fx_file(path, kind, name=None):
    data = open(path, "rb").read()
    header = 160 if kind == "FBCh" else 60
    if len(data) < header:
        fail(f"{len(data)} bytes: shorter than the header")
    if data[0:4] != b"CcnK" or data[8:12] != kind.encode():
        fail(f"magic words {data[0:4]!r} {data[8:12]!r}")
    if u32(data, 4) != len(data) - 8:
        fail(f"byte size {u32(data, 4)} for a file of {len(data)} bytes")
    if u32(data, 12) != 1 or data[16:20] != b"QV02" or u32(data, 20) != 1:
        fail("version, plug-in id or plug-in version")
    size = u32(data, header - 4)
    if header + size != len(data):
        fail(f"chunk size {size} does not reach the end of the file")
    if kind == "FBCh":
        if u32(data, 24) != 8 or any(data[28:156]):
            fail("number of programs or the reserved bytes")
        return chunk_xml(data[160:], "fxb")
    if u32(data, 24) != 1:
        fail("number of parameters")
    field = data[28:56]
    expected = name.encode("utf-8")[:28].ljust(28, b" ")
    if field != expected:
        fail(f"program name field {field!r}, not {expected!r}")
    return chunk_xml(data[60:], "fxp")


def settings_value(path, key):
    root = ET.parse(path).getroot()
    for value in root.iter("VALUE"):
        if value.get("name") == key:
            children = list(value)
            return ET.tostring(children[0], encoding="unicode") if children else value.get("val", "")
    fail(f"no {key} in {path}")


BASE64 = ".ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+"


def decode_memory_block(text):
    """The framework's base64 of a memory block: "<size>." then 6-bit groups, lowest bits first."""
    size, dot, digits = text.partition(".")
    if not dot or not size.isdigit():
        fail("not a stored memory block")
    value = 0
    for i, ch in enumerate(digits):
        if ch not in BASE64:
            fail(f"bad character {ch!r}")
        value |= BASE64.index(ch) << (6 * i)
    return (value & ((1 << (8 * int(size))) - 1)).to_bytes(int(size), "little")


def encode_memory_block(data):
    value = int.from_bytes(data, "little")
    digits = (len(data) * 8 + 5) // 6
    return f"{len(data)}." + "".join(BASE64[(value >> (6 * i)) & 63] for i in range(digits))


TRANSPORT_MODULE_ID = "2000"


def transport(path):
    text = decode_memory_block(settings_value(path, "filterState")).rstrip(b"\0").decode("utf-8")
    module = next((e for e in ET.fromstring(text).iter("mod") if e.get("i") == TRANSPORT_MODULE_ID),
                  None)
    if module is None:
        fail("the stored state holds no transport module")
    values = {pv.get("i"): float(pv.get("v")) for pv in module.findall("glob/ps/pv")}
    try:
        return f"tempo {values['0']:g}, {values['1']:g}/{values['2']:g}"
    except KeyError as missing:
        fail(f"the transport module stores no parameter {missing}")


def damaged_state(path, kind):
    if kind == "random":
        import random
        generator = random.Random(7)
        return encode_memory_block(bytes(generator.randrange(256) for _ in range(300)))
    text = decode_memory_block(settings_value(path, "filterState")).rstrip(b"\0").decode("utf-8")
    document = ET.fromstring(text)
    root_module = next(e for e in document.iter("mod") if e.get("n"))
    if kind == "foreign-name":
        root_module.set("n", "someotherproduct")
    elif kind == "version-3":
        root_module.set("v", "3.0.0")
    elif kind == "program-document":
        document.tag = "fxp"
    else:
        fail(f"unknown damage {kind}")
    return encode_memory_block(ET.tostring(document, encoding="utf-8") + b"\0")


def main(argv):
    command, args = argv[1], argv[2:]
    if command == "sound":
        sound(args[0], float(args[1]), float(args[2]), float(args[3]))
    elif command == "silence":
        silence(args[0], float(args[1]), float(args[2]), float(args[3]))
    elif command == "held":
        held(args[0], float(args[1]), float(args[2]), float(args[3]))
    elif command == "quiet":
        quiet(args[0], float(args[1]), float(args[2]), float(args[3]))
    elif command == "window":
        window(args[0], *map(int, args[1:5]))
    elif command == "factory-grid":
        factory_grid(args[0], int(args[1]), int(args[2]))
    elif command == "lit":
        lit(args[0], args[1], *map(int, args[2:8]))
    elif command == "same":
        same(args[0], args[1], *map(int, args[2:6]))
    elif command == "differ":
        differ(args[0], args[1], *map(int, args[2:6]))
    elif command in ("fxb", "fxp"):
        text = fx_file(args[0], "FBCh", None) if command == "fxb" else fx_file(args[0], "FPCh", args[1])
        print(f"{command} layout and state document fine, {len(text)} bytes of XML")
        print(text)
    elif command == "state":
        state = decode_memory_block(settings_value(args[0], "filterState"))
        print(state.rstrip(b"\0").decode("utf-8"))
    elif command == "transport":
        print(transport(args[0]))
    elif command == "damaged-state":
        print(damaged_state(args[0], args[1]))
    elif command == "setting":
        print(settings_value(args[0], args[1]))
    else:
        fail(f"unknown check {command}")


if __name__ == "__main__":
    main(sys.argv)
