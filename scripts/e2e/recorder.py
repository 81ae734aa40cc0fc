#!/usr/bin/python3
"""A JACK client that records the level of every other client's audio outputs.

Usage: recorder.py LEVELS_FILE

Registers two inputs, connects every audio output port that does not belong to the JACK server
("system") or to itself to them, and keeps doing so as ports appear (the program may restart).
Every process block appends a line "<wall-clock seconds> <peak>" to LEVELS_FILE, where peak is
the largest absolute sample over both inputs; lines are flushed every 50 ms. Stops on SIGTERM.
"""
import queue
import signal
import sys
import threading
import time

import jack
import numpy

levels_path = sys.argv[1]
client = jack.Client("e2e-recorder", no_start_server=True)
inputs = [client.inports.register(f"in_{i + 1}") for i in range(2)]
pending = queue.SimpleQueue()


@client.set_process_callback
def process(frames):
    peak = 0.0
    for port in inputs:
        block = port.get_array()
        if block.size:
            peak = max(peak, float(numpy.max(numpy.abs(block))))
    pending.put((time.time(), peak))


stop = threading.Event()
signal.signal(signal.SIGTERM, lambda *_: stop.set())
signal.signal(signal.SIGINT, lambda *_: stop.set())


def connect_new_outputs():
    for port in client.get_ports(is_audio=True, is_output=True):
        owner = port.name.split(":", 1)[0]
        if owner in ("system", client.name):
            continue
        index = 0 if port.shortname.endswith("1") else 1
        already = {p.name for p in client.get_all_connections(inputs[index])}
        if port.name not in already:
            try:
                client.connect(port, inputs[index])
            except jack.JackError:
                pass


with client, open(levels_path, "a", buffering=1) as out:
    while not stop.is_set():
        connect_new_outputs()
        while True:
            try:
                stamp, peak = pending.get_nowait()
            except queue.Empty:
                break
            out.write(f"{stamp:.4f} {peak:.6f}\n")
        stop.wait(0.05)
