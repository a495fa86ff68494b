#!/usr/bin/env python3
"""Writes the seed corpora of the enclosure fuzz targets: a few SES-2 page
sets for SESPagesFuzz and Target Flash Image files for TfiReaderFuzz, in the
input layouts those targets read."""
import os
import struct
import sys

here = os.path.dirname(os.path.abspath(__file__))


def page(code, body, byte1=0):
    length = 4 + len(body)
    return bytes([code, byte1]) + struct.pack(">H", length) + b"\x11\x22\x33\x44" + body


def config_page(types, per_descriptor=None):
    per_descriptor = per_descriptor or [len(types)]
    body = b""
    for d, count in enumerate(per_descriptor):
        desc = bytes([0x11, d, count, 36]) + bytes(range(0x50 + d, 0x58 + d))
        desc += b"VENDOR  PRODUCT         0001"
        body += desc
    for t, statuses, texts, type_text in types:
        body += bytes([t, len(statuses), 0, len(type_text)])
    for t, statuses, texts, type_text in types:
        body += type_text.encode()
    return page(1, body, len(per_descriptor) - 1)


def status_page(types):
    body = b""
    for t, statuses, texts, type_text in types:
        body += b"\x0f\x00\x00\x00"
        for s in statuses:
            body += struct.pack("<I", s)
    return page(2, body)


def descriptor_page(types):
    body = b""
    for t, statuses, texts, type_text in types:
        for text in ["type"] + [texts[i] if i < len(texts) else "" for i in range(len(statuses))]:
            body += b"\x00\x00" + struct.pack(">H", len(text)) + text.encode()
    return page(7, body)


def sas_descriptor(eip, phys, bay=0, index=0):
    head = bytearray(8 if eip else 4)
    head[0] = 0x06 | (0x10 if eip else 0)
    counts = 4 if eip else 2
    head[counts] = len(phys)
    if eip:
        head[3] = index
        head[7] = bay
    for phy_id, address, attached in phys:
        d = bytearray(28)
        d[0] = 0x10
        d[4:12] = struct.pack(">Q", attached)
        d[12:20] = struct.pack(">Q", address)
        d[20] = phy_id
        head += d
    head[1] = len(head) - 2
    return bytes(head)


def additional_page(descriptors):
    return page(0x0A, b"".join(descriptors))


def ses_input(pages):
    return b"".join(struct.pack("<H", len(p)) + p for p in pages)


def tfi(images, chunks=1, trailer=b""):
    data = b""
    entries = b""
    offset = 0
    for type_, rule, blob in images:
        entry = struct.pack("<IIIII", 1, type_, offset, len(blob), 0) + b"\0" * 32
        entry += struct.pack("<I", rule) + b"\0" * 128
        entries += entry
        data += blob
        offset += len(blob)
    data += trailer
    entries += b"\0" * (184 * (32 - len(images)))
    directory = struct.pack("<II", 1, len(images)) + b"\0" * 128 + entries
    length = 6292 + len(data)

    def header(checksum, pad):
        h = b"Corvane Target Flash Image\0" + b"\0" * 5 + b"\0" * 40
        h += struct.pack("<IIIIIII", 7, checksum, 0, length, 1, chunks, 1)
        h += b"ACME\0\0\0\0" + b"Quarbel K70\0\0\0\0\0" + b"0200\0\0\0\0" + b"0100\0\0\0\0"
        h += bytes([min(pad, 255), max(pad - 255, 0)]) + b"\0" * 126
        assert len(h) == 268
        return h

    base = sum(header(0, 0) + directory + data) & 0xFFFF
    for pad in range(511):
        for hi in range(256):
            if (base + pad + hi) & 0xFFFF == hi << 8:
                return header(hi << 8, pad) + directory + data
    sys.exit("no checksum found")


def tfi_input(files):
    out = bytes([len(files) - 1])
    for i, f in enumerate(files):
        if i + 1 < len(files):
            out += struct.pack("<I", len(f))
        out += f
    return out


def write(folder, name, data):
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


ses = os.path.join(here, "seeds", "SESPagesFuzz")
types = [
    (0x01, [0x0001, 0x0101, 0x0201], ["Slot 00", "Slot 01", "Slot 02"], "Drive Slots"),
    (0x02, [0x01, 0x02], ["PSU A", "PSU B"], ""),
    (0x83, [0xAAAAAAAA], ["vendor"], ""),
    (0x03, [0x01, 0x05], ["Fan 1", "Fan 2"], "Cooling"),
    (0x04, [0x002D0001], ["Temp"], ""),
    (0x06, [0x01], ["Alarm"], ""),
    (0x0E, [0x01], ["Enclosure"], ""),
    (0x17, [0x0301], ["Bay 3"], ""),
]
drive = 0x5000C50000000A00
additional = additional_page([
    sas_descriptor(True, [(0, drive, 0x500605B000000001), (1, drive + 1, 0x500605B000000002)], 4, 0),
    sas_descriptor(False, [(0, drive + 0x10, 0)]),
    sas_descriptor(True, [(0, drive + 0x20, 0)], 6, 2),
    bytes([0x01, 0x06, 0, 0, 0, 0, 0, 0]),
])
write(ses, "full", ses_input([config_page(types), status_page(types), descriptor_page(types), additional]))
write(ses, "no-additional", ses_input([config_page(types), status_page(types), descriptor_page(types)]))
two = [(0x01, [1, 1], [], ""), (0x0E, [1], [], ""), (0x01, [1, 1, 1], [], "x")]
write(ses, "subenclosures", ses_input([config_page(two, [2, 1]), status_page(two)]))

tfi_dir = os.path.join(here, "seeds", "TfiReaderFuzz")
images = [(0x1010, 0, bytes(range(256)) * 2), (0x1011, 1, b"\x5a" * 300), (0x1012, 0x7FFFFFFF, b"abc")]
write(tfi_dir, "single", tfi_input([tfi(images)]))
write(tfi_dir, "empty-directory", tfi_input([tfi([], trailer=b"\0\0\0\0")]))
whole = tfi(images, chunks=2)
second = whole[:6292] + whole[6292 + 400:]
write(tfi_dir, "two-chunks", tfi_input([whole[:6292 + 400], second]))
