#!/usr/bin/env python3
"""Sets the two time stamps that chmcmd writes into a help file to a given time.

chmcmd stamps the time of day it ran (in milliseconds) into the file's ITSF header and into the
#SYSTEM file's entry 10; Windows' help viewer shows neither. Both are set here to the commit's
time (SOURCE_DATE_EPOCH), so that the same sources give the same help file.

    stamp_chm.py <file.chm> <seconds since 1970>
"""
import struct
import sys

SYSTEM_TIMESTAMP_CODE = 10


def read_encint(data, pos):
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if byte < 0x80:
            return value, pos


def find_entry(data, wanted):
    """Section, offset and length of a file in the archive's directory (its PMGL chunks)."""
    dir_offset = struct.unpack_from("<Q", data, 0x48)[0]
    if data[dir_offset:dir_offset + 4] != b"ITSP":
        raise ValueError("no ITSP directory header")
    header_length, _, chunk_size = struct.unpack_from("<III", data, dir_offset + 0x08)
    chunk_count = struct.unpack_from("<I", data, dir_offset + 0x2C)[0]
    for index in range(chunk_count):
        chunk = dir_offset + header_length + index * chunk_size
        if data[chunk:chunk + 4] != b"PMGL":
            continue
        end = chunk + chunk_size - struct.unpack_from("<I", data, chunk + 4)[0]
        pos = chunk + 0x14
        while pos < end:
            name_length, pos = read_encint(data, pos)
            name = bytes(data[pos:pos + name_length])
            pos += name_length
            section, pos = read_encint(data, pos)
            offset, pos = read_encint(data, pos)
            length, pos = read_encint(data, pos)
            if name == wanted:
                return section, offset, length
    raise ValueError("no %s in the directory" % wanted.decode())


def stamp(data, epoch):
    if data[:4] != b"ITSF" or struct.unpack_from("<I", data, 4)[0] != 3:
        raise ValueError("not an ITSF version 3 file")
    milliseconds_of_day = (epoch % 86400) * 1000
    struct.pack_into(">I", data, 0x10, milliseconds_of_day)

    section, offset, length = find_entry(data, b"/#SYSTEM")
    if section != 0:
        raise ValueError("#SYSTEM is compressed")
    start = struct.unpack_from("<Q", data, 0x58)[0] + offset
    pos, end = start + 4, start + length  # after the version DWORD come the entries
    while pos + 4 <= end:
        code, size = struct.unpack_from("<HH", data, pos)
        if code == SYSTEM_TIMESTAMP_CODE and size == 4:
            struct.pack_into("<I", data, pos + 4, milliseconds_of_day)
        pos += 4 + size


def main():
    path, epoch = sys.argv[1], int(sys.argv[2])
    with open(path, "rb") as f:
        data = bytearray(f.read())
    stamp(data, epoch)
    with open(path, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
