"""What Windows reads from a built program before it runs it: the headers'
flags, the sections, the data directories and the resources.
    python3 pe_image.py resource FILE TYPE NAME OUT   writes one resource to OUT
"""
import struct
import sys

RELOCS_STRIPPED = 0x0001
HIGH_ENTROPY_VA = 0x0020
DYNAMIC_BASE = 0x0040
NX_COMPAT = 0x0100
MACHINES = {0x14C: "x86", 0x8664: "amd64"}


class PeImage:
    def __init__(self, path):
        with open(path, "rb") as f:
            self.data = data = f.read()
        if data[:2] != b"MZ":
            raise ValueError(f"{path}: not a program (no MZ header)")
        pe = self._u32(0x3C)
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError(f"{path}: no PE header")
        self.machine = MACHINES.get(self._u16(pe + 4), hex(self._u16(pe + 4)))
        self.characteristics = self._u16(pe + 22)
        optional = pe + 24
        self.pe32_plus = self._u16(optional) == 0x20B
        self.dll_characteristics = self._u16(optional + 70)
        directories = optional + (112 if self.pe32_plus else 96)
        self.directory = [struct.unpack_from("<II", data, directories + 8 * i) for i in range(16)]
        first = optional + self._u16(pe + 20)
        self.sections = []
        for i in range(self._u16(pe + 6)):
            s = first + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("latin-1")
            size, rva, raw_size, raw = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((name, rva, max(size, raw_size), raw))

    def _u16(self, at):
        return struct.unpack_from("<H", self.data, at)[0]

    def _u32(self, at):
        return struct.unpack_from("<I", self.data, at)[0]

    def offset(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"address {rva:#x} lies in no section")

    def resources(self):
        """{(type, name, language): bytes}; a type or name is an int or a str."""
        rva, size = self.directory[2]
        found = {}
        if not size:
            return found
        base = self.offset(rva)

        def label(entry):
            if entry & 0x80000000:
                at = base + (entry & 0x7FFFFFFF)
                return self.data[at + 2:at + 2 + 2 * self._u16(at)].decode("utf-16-le")
            return entry

        def walk(at, path):
            count = self._u16(at + 12) + self._u16(at + 14)
            for i in range(count):
                entry, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                if target & 0x80000000:
                    walk(base + (target & 0x7FFFFFFF), path + (label(entry),))
                else:
                    data_rva, data_size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(data_rva)
                    found[path + (label(entry),)] = self.data[start:start + data_size]

        walk(base, ())
        return found

    def resource(self, kind, name):
        """The bytes of a resource in whatever language it has, or None."""
        for (k, n, _), data in self.resources().items():
            if k == kind and n == name:
                return data
        return None


if __name__ == "__main__":
    if len(sys.argv) != 6 or sys.argv[1] != "resource":
        sys.exit(__doc__)
    kind = int(sys.argv[3]) if sys.argv[3].isdigit() else sys.argv[3]
    name = int(sys.argv[4]) if sys.argv[4].isdigit() else sys.argv[4]
    data = PeImage(sys.argv[2]).resource(kind, name)
    if data is None:
        sys.exit(f"{sys.argv[2]}: no resource {sys.argv[3]} {sys.argv[4]}")
    with open(sys.argv[5], "wb") as out:
        out.write(data)
