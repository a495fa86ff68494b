#!/usr/bin/env python3
"""Writes the seed corpus of NLSParserFuzz: the shipped message catalogue and
the parser tests' catalogue, each followed by a key and its parameters, every
part separated by a NUL byte (the input layout the target reads)."""
import os

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.dirname(os.path.dirname(here))
shipped = os.path.join(root, "external", "raidnls", "RaidNLS.properties")
test = os.path.join(root, "tests", "monitor", "data", "NLSParserTest.properties")
out = os.path.join(here, "seeds", "NLSParserFuzz")

seeds = {
    "shipped-drive-failed": (shipped, ["agentEventErrDefunctDriveRepl", "drive", "Replacement part."]),
    "shipped-adapter": (shipped, ["eventArgController2", "1", " Acme RAID #S1", "Unknown"]),
    "shipped-drive-map": (shipped, ["agentEventInfDriveMap", "1", "2", "0", "drive", ""]),
    "test-nested": (test, ["nested"]),
    "test-placeholders": (test, ["placeholders", "p0", "p1"]),
    "test-two-digits": (test, ["twodigit"] + ["p%d" % i for i in range(11)]),
    "test-cycle": (test, ["cycleA"]),
    "test-growing": (test, ["grow"]),
}

os.makedirs(out, exist_ok=True)
for name, (catalogue, rest) in seeds.items():
    with open(catalogue, "rb") as f:
        data = f.read()
    for part in rest:
        data += b"\0" + part.encode()
    with open(os.path.join(out, name), "wb") as f:
        f.write(data)
