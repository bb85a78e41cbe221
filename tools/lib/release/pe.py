"""What a Windows module is, read from its PE headers: its machine, whether it is a DLL, and the
names in its export table. Only the headers, the section table and the export directory are read.
"""
import struct

MACHINE_I386 = 0x014C
MACHINE_NAMES = {0x014C: "32-bit x86", 0x8664: "64-bit x86-64", 0xAA64: "64-bit ARM64",
                 0x01C4: "32-bit ARM", 0x0200: "64-bit Itanium"}
FILE_DLL = 0x2000
PE32_MAGIC = 0x10B
PE32_PLUS_MAGIC = 0x20B


class NotAModule(Exception):
    """The file is not a PE module, or its headers or export table are cut short or point outside it."""


class Module:
    def __init__(self, machine, is_dll, exports):
        self.machine = machine
        self.is_dll = is_dll
        self.exports = exports  # the exported names, in the table's order

    @property
    def machine_name(self):
        return MACHINE_NAMES.get(self.machine, "machine 0x%04X" % self.machine)


def _unpack(fmt, data, offset, what):
    if offset < 0 or offset + struct.calcsize(fmt) > len(data):
        raise NotAModule("its %s lies outside the file" % what)
    return struct.unpack_from(fmt, data, offset)


def _sections(data, table, count):
    sections = []
    for i in range(count):
        virtual_size, virtual_address, raw_size, raw_offset = _unpack("<IIII", data, table + 40 * i + 8,
                                                                      "section table")
        sections.append((virtual_address, max(virtual_size, raw_size), raw_offset, raw_size))
    return sections


def _file_offset(sections, headers_size, rva):
    if rva < headers_size:
        return rva
    for virtual_address, size, raw_offset, raw_size in sections:
        if virtual_address <= rva < virtual_address + size:
            if rva - virtual_address >= raw_size:
                raise NotAModule("its export table points at data that is not in the file")
            return raw_offset + rva - virtual_address
    raise NotAModule("its export table points outside every section")


def _c_string(data, offset):
    end = data.find(b"\0", offset)
    if offset >= len(data) or end < 0:
        raise NotAModule("an exported name runs past the end of the file")
    return data[offset:end].decode("latin-1")


def parse(data):
    if data[:2] != b"MZ":
        raise NotAModule("it does not start with a DOS header (MZ)")
    (pe,) = _unpack("<I", data, 0x3C, "PE header offset")
    if data[pe:pe + 4] != b"PE\0\0":
        raise NotAModule("it has no PE signature")
    machine, section_count, optional_size, characteristics = _unpack("<HH12xHH", data, pe + 4, "file header")
    optional = pe + 24
    (magic,) = _unpack("<H", data, optional, "optional header")
    if magic == PE32_MAGIC:
        rva_count_at, directories = optional + 92, optional + 96
    elif magic == PE32_PLUS_MAGIC:
        rva_count_at, directories = optional + 108, optional + 112
    else:
        raise NotAModule("its optional header has the unknown magic 0x%04X" % magic)
    (headers_size,) = _unpack("<I", data, optional + 60, "optional header")
    (rva_count,) = _unpack("<I", data, rva_count_at, "optional header")
    sections = _sections(data, optional + optional_size, section_count)
    exports = []
    if rva_count > 0:
        export_rva, export_size = _unpack("<II", data, directories, "data directories")
        if export_rva and export_size:
            directory = _file_offset(sections, headers_size, export_rva)
            name_count, names_rva = _unpack("<24xI4xI", data, directory, "export directory")[0:2]
            if name_count:
                names = _file_offset(sections, headers_size, names_rva)
                for i in range(name_count):
                    (name_rva,) = _unpack("<I", data, names + 4 * i, "export name table")
                    exports.append(_c_string(data, _file_offset(sections, headers_size, name_rva)))
    return Module(machine, bool(characteristics & FILE_DLL), exports)


def read(path):
    with open(path, "rb") as f:
        return parse(f.read())
