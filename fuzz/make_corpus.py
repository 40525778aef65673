#!/usr/bin/env python3
"""Writes the seed inputs of fuzz/corpus/<target>/: a few small, typical cases per target, laid out
as each target's header describes. Run again after changing a layout."""
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def write(target, name, data):
    folder = os.path.join(ROOT, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data.encode("latin-1") if isinstance(data, str) else data)


# The formatter: separator, format text, values.
for name, case in {
    "star": "|Version [*] found|s2.81",
    "numbered": "|[2:*] before [1:*], then [*]|sa|sb",
    "number_pattern": "|[#,##0.00;(0.00);zero] and [0%]|d-1234.5|l7",
    "date_pattern": "|[dddd, mmmm d yyyy hh:nn:ss AM/PM] week [ww]|t2023 1 1 13 5 9|t2024-2-29",
    "text_pattern": "|[>@@@-@@] [!&&&] [<@]|sabcdef|sxy|sQ",
    "escapes": "|a\\\\n\\t\\r\\n\\[\\x [(] [\\] [] [*]|e|b1",
    "errors": "|[=1+1] [*] [0.0] [unclosed|D\x00\x00\x00\x00\x00\x00\xf0\x7f",
}.items():
    write("printf_fuzz", name, case)


# The version query: flags, size argument, offset, length, information.
def fixed_block(major, minor, build, revision, signature=0xFEEF04BD):
    ms = major << 16 | minor
    ls = build << 16 | revision
    return struct.pack("<13I", signature, 0x10000, ms, ls, ms, ls, 0x3F, 0, 4, 2, 0, 0, 0)


def version_case(block, flags=0, size_arg=0, offset=40, length=52, header=40, tail=16):
    info = b"\xab" * header + block + b"\xcd" * tail
    return struct.pack("<BIqI", flags, size_arg, offset, length) + info


write("version_block_fuzz", "jet_8015", version_case(fixed_block(4, 0, 8015, 0)))
write("version_block_fuzz", "revision", version_case(fixed_block(4, 0, 2927, 4)))
write("version_block_fuzz", "short_read", version_case(fixed_block(2, 81, 1117, 0), 1 << 3, 70))
write("version_block_fuzz", "at_end", version_case(fixed_block(1, 2, 3, 4), 0, 0, 40, 52, 40, 0))
write("version_block_fuzz", "before", version_case(fixed_block(1, 2, 3, 4), 0, 0, -8, 52))
write("version_block_fuzz", "unsigned", version_case(fixed_block(1, 2, 3, 4, 0), 0, 0, 40, 4096))


# The registry class: versions of the value, environment, failures, the value to write.
def registry_case(versions, env=("SystemRoot", "C:\\WINDOWS", "C:\\WINDOWS\\longer"), read_fail=(0, 0),
                  write_fail=(0, 0), write_type=1, value=b"\x012.81"):
    out = bytes([len(versions) - 1])
    for vtype, data in versions:
        out += struct.pack("<IH", vtype, len(data)) + data
    for text in env:
        out += bytes([len(text)]) + text.encode("latin-1")
    out += bytes(read_fail) + bytes(write_fail) + bytes([write_type]) + value
    return out


write("registry_value_fuzz", "sz", registry_case([(1, b"2.81.1117.0\0")]))
write("registry_value_fuzz", "expand_grows",
      registry_case([(2, b"%SystemRoot%\\x\0")], write_type=2, value=b"\x01%SystemRoot%\\y"))
write("registry_value_fuzz", "multi", registry_case([(7, b"a\0bc\0\0")], write_type=7))
write("registry_value_fuzz", "dword", registry_case([(4, b"\x01\0\0\0")], write_type=4,
                                                    value=b"\x03\x05\0\0\0"))
write("registry_value_fuzz", "big_endian_odd", registry_case([(5, b"\0\0\0\x01\x02")], write_type=5,
                                                             value=b"\x015"))
write("registry_value_fuzz", "grows_while_read",
      registry_case([(3, b"\x01\x02"), (3, b"\x01\x02\x03\x04\x05"), (1, b"longer text\0")],
                    write_type=3, value=b"\x04\x01\x02\x03"))
write("registry_value_fuzz", "failing_calls",
      registry_case([(1, b"x\0")], read_fail=(2, 4), write_fail=(2, 3)))


# The program image reader: the read that fails, then a program file laid out as tests/pe_builder.h
# writes it (headers, one section, a CLR header at its start for .NET).
def program_image(machine=0x14C, plus=False, dll=False, clr_flags=None, fail=0):
    f = bytearray(0x400)
    f[0:2] = b"MZ"
    struct.pack_into("<I", f, 0x3C, 0x80)
    optional_size = 240 if plus else 224
    characteristics = 0x0002 | (0 if plus else 0x0100) | (0x2000 if dll else 0)
    struct.pack_into("<4sHH12xHH", f, 0x80, b"PE\0\0", machine, 1, optional_size, characteristics)
    o = 0x98
    struct.pack_into("<H", f, o, 0x20B if plus else 0x10B)
    struct.pack_into("<II", f, o + 32, 0x1000, 0x200)
    struct.pack_into("<H", f, o + 48, 5)
    struct.pack_into("<II", f, o + 56, 0x2000, 0x200)
    struct.pack_into("<H", f, o + 68, 3)
    directories = o + (112 if plus else 96)
    struct.pack_into("<I", f, directories - 4, 16)
    if clr_flags is not None:
        struct.pack_into("<II", f, directories + 14 * 8, 0x1000, 72)
        struct.pack_into("<IHH8xI", f, 0x200, 72, 2, 5, clr_flags)
    struct.pack_into("<8sIIII12xI", f, o + optional_size, b".text", 0x200, 0x1000, 0x200, 0x200,
                     0x60000020)
    return bytes([fail]) + bytes(f)


write("program_image_fuzz", "native_x86", program_image())
write("program_image_fuzz", "native_x64_dll", program_image(0x8664, plus=True, dll=True))
write("program_image_fuzz", "dotnet_anycpu", program_image(clr_flags=0x1))
write("program_image_fuzz", "dotnet_prefers_32", program_image(clr_flags=0x20003, fail=5))
write("program_image_fuzz", "dotnet_x64", program_image(0x8664, plus=True, clr_flags=0x1, fail=4))
