#!/usr/bin/env python3
"""Where the bytes of a Windows program go, for tools/bench.

    pe-sizes.py PROGRAM.exe [--bitmap ID]

Prints "key value" lines: the file size, the raw size of each section, the resource data by
type, and with --bitmap the size, width, height and bits per pixel of that bitmap resource.
Reads the PE headers and the resource directory itself, so no Windows tool is needed.
"""
import struct
import sys

RESOURCE_TYPES = {1: "cursor", 2: "bitmap", 3: "icon", 4: "menu", 5: "dialog", 6: "string",
                  9: "accelerator", 10: "rcdata", 12: "group_cursor", 14: "group_icon",
                  16: "version", 24: "manifest"}


class Image:
    def __init__(self, data):
        self.data = data
        (pe,) = struct.unpack_from("<I", data, 0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
        optional = pe + 24
        (magic,) = struct.unpack_from("<H", data, optional)
        directories = optional + (96 if magic == 0x10B else 112)
        self.resource_rva, self.resource_size = struct.unpack_from("<II", data, directories + 2 * 8)
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, rva, raw_size, raw_ptr = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("ascii", "replace"), vsize, rva, raw_size, raw_ptr))

    def offset(self, rva):
        for _, vsize, start, raw_size, raw_ptr in self.sections:
            if start <= rva < start + max(vsize, raw_size):
                return raw_ptr + rva - start
        raise ValueError("RVA 0x%x outside every section" % rva)

    def directory(self, offset):
        """The entries (id or None for a name, offset of the entry's target, is-directory)."""
        base = self.offset(self.resource_rva)
        named, ids = struct.unpack_from("<12xHH", self.data, base + offset)
        entries = []
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", self.data, base + offset + 16 + 8 * i)
            entries.append((None if name & 0x80000000 else name, target & 0x7FFFFFFF, bool(target & 0x80000000)))
        return entries

    def resources(self):
        """Every resource as (type id, resource id, data RVA, size)."""
        base = self.offset(self.resource_rva)
        found = []
        if self.resource_rva == 0:
            return found
        for type_id, type_dir, _ in self.directory(0):
            for res_id, res_dir, _ in self.directory(type_dir):
                for _, leaf, is_dir in self.directory(res_dir):
                    if is_dir:
                        continue
                    rva, size = struct.unpack_from("<II", self.data, base + leaf)
                    found.append((type_id, res_id, rva, size))
        return found


def main():
    args = sys.argv[1:]
    bitmap = None
    if len(args) == 3 and args[1] == "--bitmap":
        bitmap = int(args[2])
    elif len(args) != 1:
        sys.exit(__doc__)
    with open(args[0], "rb") as f:
        image = Image(f.read())
    print("file", len(image.data))
    for name, _, _, raw_size, _ in image.sections:
        print("section_%s %d" % (name.lstrip("."), raw_size))
    by_type = {}
    resources = image.resources()
    for type_id, _, _, size in resources:
        key = RESOURCE_TYPES.get(type_id, "type%s" % type_id)
        by_type[key] = by_type.get(key, 0) + size
    for key in sorted(by_type):
        print("resource_%s %d" % (key, by_type[key]))
    if bitmap is not None:
        matches = [(rva, size) for type_id, res_id, rva, size in resources if type_id == 2 and res_id == bitmap]
        if not matches:
            sys.exit("no bitmap resource %d in %s" % (bitmap, args[0]))
        rva, size = matches[0]
        # A bitmap resource is a packed DIB: BITMAPINFOHEADER first.
        width, height, _, bits = struct.unpack_from("<4xiiHH", image.data, image.offset(rva))
        print("bitmap_bytes", size)
        print("bitmap_width", width)
        print("bitmap_height", abs(height))
        print("bitmap_bits", bits)


if __name__ == "__main__":
    main()
