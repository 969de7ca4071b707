#!/usr/bin/env python3
"""Writes the zip archives that the extraction and upgrade tests read.

    make_zip_fixtures.py OUTPUT_FOLDER [--installer STUB_INSTALLER_EXE]

Each archive is written record by record (not through a zip library), so that the
fixtures can hold what no ordinary tool writes: hostile entry names, chosen host
bytes and attributes, "UT" extra blocks, encrypted data, damaged headers, data and
checksums. The expectations live in tests/app/ZipReaderTest.cpp and tests/app/UpgradeTest.cpp.
The upgrade packages hold firmware images of chosen sizes and, with --installer, the stub
installer under the software package's installer name; the good image is also written as it
stands (firmware-103.bin), for comparison with what a bootloader received.
"""
import os
import struct
import sys
import zlib

UNIX, DOS = 3, 0
S_IFDIR, S_IFREG = 0o040000, 0o100000


def dos_stamp(year, month, day, hour, minute, second):
    date = ((year - 1980) << 9) | (month << 5) | day
    time = (hour << 11) | (minute << 5) | (second // 2)
    return date, time


def ut_block(flags, *times):
    data = bytes([flags]) + b"".join(struct.pack("<I", t) for t in times)
    return b"UT" + struct.pack("<H", len(data)) + data


def deflate(data):
    compressor = zlib.compressobj(9, zlib.DEFLATED, -15)
    return compressor.compress(data) + compressor.flush()


def zipcrypto(data, password, crc):
    """Traditional PKWARE encryption with a fixed 12-byte header (reproducible output)."""
    table = []
    for n in range(256):
        c = n
        for _ in range(8):
            c = (c >> 1) ^ 0xEDB88320 if c & 1 else c >> 1
        table.append(c)
    keys = [0x12345678, 0x23456789, 0x34567890]

    def crc_byte(value, byte):
        return table[(value ^ byte) & 0xFF] ^ (value >> 8)

    def update(byte):
        keys[0] = crc_byte(keys[0], byte)
        keys[1] = ((keys[1] + (keys[0] & 0xFF)) * 134775813 + 1) & 0xFFFFFFFF
        keys[2] = crc_byte(keys[2], keys[1] >> 24)

    for byte in password:
        update(byte)
    out = bytearray()
    for byte in bytes(range(1, 12)) + bytes([crc >> 24]) + data:
        t = (keys[2] | 2) & 0xFFFF
        out.append(byte ^ (((t * (t ^ 1)) >> 8) & 0xFF))
        update(byte)
    return bytes(out)


def entry(name, data=b"", *, method=8, host=UNIX, attributes=None, stamp=(2020, 1, 2, 3, 4, 6),
          local_extra=b"", central_extra=b"", encrypt=False, damage=None, crc=None,
          local_signature=0x04034B50):
    raw_name = name.encode("latin-1") if isinstance(name, str) else name
    if attributes is None:
        attributes = (S_IFDIR | 0o755) << 16 | 0x10 if raw_name.endswith(b"/") else (S_IFREG | 0o644) << 16
    return dict(name=raw_name, data=data, method=method if data else 0, host=host, attributes=attributes,
                stamp=stamp, local_extra=local_extra, central_extra=central_extra, encrypt=encrypt,
                damage=damage, crc=crc, local_signature=local_signature)


def write_zip(path, entries):
    body, central = bytearray(), bytearray()
    for e in entries:
        data = e["data"]
        crc = zlib.crc32(data) & 0xFFFFFFFF
        packed = deflate(data) if e["method"] == 8 else data
        flags = 0
        if e["encrypt"]:
            packed = zipcrypto(packed, b"secret", crc)
            flags |= 1
        if e["damage"]:
            packed = e["damage"](packed)
        if e["crc"] is not None:
            crc = e["crc"]
        date, time = dos_stamp(*e["stamp"])
        offset = len(body)
        body += struct.pack("<IHHHHHIIIHH", e["local_signature"], 20, flags, e["method"], time, date, crc,
                            len(packed), len(data), len(e["name"]), len(e["local_extra"]))
        body += e["name"] + e["local_extra"] + packed
        central += struct.pack("<IHHHHHHIIIHHHHHII", 0x02014B50, e["host"] << 8 | 20, 20, flags, e["method"],
                               time, date, crc, len(packed), len(data), len(e["name"]),
                               len(e["central_extra"]), 0, 0, 0, e["attributes"], offset)
        central += e["name"] + e["central_extra"]
    end = struct.pack("<IHHHHIIH", 0x06054B50, 0, 0, len(entries), len(entries), len(central), len(body), 0)
    with open(path, "wb") as f:
        f.write(bytes(body + central + end))


def text(label, size=0):
    """A recognisable body: the label, then filler up to size bytes."""
    data = label.encode()
    filler = bytes((i * 7 + i // 251) & 0xFF for i in range(max(0, size - len(data))))
    return data + filler


def fixtures():
    yield "nested.zip", [
        entry("top.txt", b"top", method=0),
        entry("a/"),
        entry("a/b/"),
        entry("a/b/c.txt", text("c" * 40)),
        entry("a/b/d/big.bin", text("big", 100000)),  # several 16 KiB blocks
        entry("x/y/implicit.txt", text("implicit")),   # its folders have no entries
    ]
    # Names that try to leave the target folder; each lands inside it.
    yield "unsafe.zip", [entry(name, text(name)) for name in [
        "../../escape1.txt", "..\\..\\escape2.txt", "/abs3.txt", "\\\\server\\share\\unc4.txt",
        "C:\\drive5.txt", "C:/x/drive6.txt", "a/b/../../../escape7.txt", "a\\../..\\mixed8.txt",
        "../tail9.txt", "stream10.txt:hidden", "x/./y/.../z11.txt", "D:..\\drive12.txt",
        ".. /dotspace13.txt", "CON", "dev/nul.txt", "safe.txt"]]
    yield "attributes.zip", [
        entry("readonly.txt", b"r", attributes=(S_IFREG | 0o444) << 16),
        entry("writable.txt", b"w", attributes=(S_IFREG | 0o644) << 16),
        entry("unixdir", attributes=(S_IFDIR | 0o755) << 16),
        entry("dos_hidden.txt", b"h", host=DOS, attributes=0x22),
        entry("dos_ro.txt", b"o", host=DOS, attributes=0x01),
        entry("dos_dir", host=DOS, attributes=0x10),
    ]
    other_block = b"\xfe\xca" + struct.pack("<H", 4) + b"\x00\x00\x00\x00"
    yield "times.zip", [
        # Only the modification time in the local "UT" block, after a block of another kind.
        entry("ut.txt", b"u", stamp=(2001, 2, 3, 4, 5, 6), local_extra=other_block + ut_block(1, 1600000000),
              central_extra=ut_block(1, 1600000000)),
        entry("ut_all.txt", b"a", local_extra=ut_block(7, 1500000000, 1400000000, 1300000000)),
        entry("dos.txt", b"d", stamp=(2010, 6, 15, 12, 30, 44)),
    ]
    yield "encrypted.zip", [
        entry("plain1.txt", text("plain one")),
        entry("secret.txt", text("secret", 5000), encrypt=True),
        entry("plain2.txt", text("plain two")),
    ]

    def invalid_block_type(packed):
        return bytes([packed[0] | 0x06]) + packed[1:]

    def first_half(packed):
        return packed[: len(packed) // 2]

    yield "damaged.zip", [
        entry("good1.txt", text("good one")),
        entry("inflate_error.txt", text("inflate", 3000), damage=invalid_block_type),
        entry("cut_short.txt", text("cut", 60000), damage=first_half),
        entry("bad_crc.txt", text("crc", 3000), method=0, crc=0x12345678),
        entry("bad_header.txt", text("header"), local_signature=0x04034B51),
        entry("good2.txt", text("good two")),
    ]
    yield "empty.zip", []


FIRMWARE_IMAGE = "firmware-103.bin"
SOFTWARE_INSTALLER = "TAVIR KEYBOARD-1.0.0.10.exe"


def firmware_image(size):
    return text("image 103", size)[:size]


def upgrade_fixtures(installer):
    def invalid_block_type(packed):
        return bytes([packed[0] | 0x06]) + packed[1:]

    yield "firmware-103.zip", [entry(FIRMWARE_IMAGE, firmware_image(100)), entry("docs/readme.txt", text("readme"))]
    yield "firmware-short.zip", [entry(FIRMWARE_IMAGE, firmware_image(8))]
    yield "firmware-huge.zip", [entry(FIRMWARE_IMAGE, firmware_image(819201))]
    # Every entry tries to leave the folder, and none of them is the image.
    yield "firmware-escape.zip", [entry(name, text(name)) for name in [
        "../../escaped1.bin", "..\\..\\..\\escaped2.bin", "/absolute3.bin", "C:\\drive4.bin",
        "a/../../escaped5.bin"]]
    yield "firmware-corrupt.zip", [entry(FIRMWARE_IMAGE, firmware_image(3000), damage=invalid_block_type)]
    yield "software-noinstaller.zip", [entry("readme.txt", text("no installer here"))]
    if installer:
        with open(installer, "rb") as f:
            yield "software-1.0.0.10.zip", [entry(SOFTWARE_INSTALLER, f.read())]


def main():
    args = sys.argv[1:]
    installer = None
    if len(args) == 3 and args[1] == "--installer":
        installer = args[2]
    elif len(args) != 1:
        sys.exit(__doc__)
    folder = args[0]
    os.makedirs(folder, exist_ok=True)
    for name, entries in list(fixtures()) + list(upgrade_fixtures(installer)):
        write_zip(os.path.join(folder, name), entries)
    with open(os.path.join(folder, FIRMWARE_IMAGE), "wb") as f:
        f.write(firmware_image(100))
    with open(os.path.join(folder, "notzip.zip"), "wb") as f:
        f.write(b"This is a text file with a zip name, not an archive.\r\n" * 20)


if __name__ == "__main__":
    main()
