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


# What a registration host writes: a byte with the number of chunk lengths, the lengths, a byte whose
# top bit puts a run of 'x' around the line limit first (low bits: 64 KB - 2 plus 0 to 3), the stream.
def host_case(stream, chunks=(), padding=0):
    return bytes([len(chunks)]) + bytes(chunks) + bytes([padding]) + stream.encode("utf-8")


CLSID = "{00000514-0000-0010-8000-00AA006D2EA4}"
write("host_reply_fuzz", "replies", host_case(
    "result\t1\tregistered\t0\t0\nresult\t2\tcall-failed\t0\t2147500037\n"
    "result\t4294967295\tnot-loaded\t126\t0\n", (1, 7, 3)))
write("host_reply_fuzz", "provider", host_case(
    f"provider\t1\tworks\t0\t{CLSID}\tC:\\\\Programme\\\\Gemeinsame Dateien\\\\msado15.dll\tApartment\n"
    f"provider\t1\tnot-created\t2147746132\t{CLSID}\ta\\tb\\nc\\r\\\\\t\n", (5,)))
write("host_reply_fuzz", "requests", host_case(
    "register\t3\tC:\\\\Ölfeld\\tx.dll\tDllRegisterServer\tx.dll\n"
    f"check\t4\tADODB.Connection\t{CLSID}\t1\n", (0, 2)))
write("host_reply_fuzz", "noise", host_case(
    "DllMain was here\r\nresult\t5\tno-entry-point\t127\t0\nresult\t6\tcrashed\t0\t0\nresult\t7\t", (9,)))
write("host_reply_fuzz", "over_limit", host_case("\nresult\t8\tnot-created\t0\t2147942414\n", (), 0x83))
write("host_reply_fuzz", "at_limit", host_case("\nresult\t9\tregistered\t0\t1\n", (200, 17), 0x82))


# The image comparison: the 32-bit distance to where the image is said to be, the address of the
# image byte to change, the change, a size to look up, then a small library laid out as a linker
# does: code with absolute addresses, data with the import address table, and relocations.
def library(plus=False, relocations=True, second_block=None):
    base = 0x180000000 if plus else 0x10000000
    code = bytearray(b"\xcc" * 0x200)
    if plus:
        code[0x10:0x1a] = b"\x48\xb8" + struct.pack("<Q", base + 0x2008)  # mov rax, imm64
        entries = [0xA000 | 0x12, 0]
    else:
        code[0x10:0x15] = b"\xa1" + struct.pack("<I", base + 0x2008)  # mov eax, [imm32]
        code[0x20:0x25] = b"\x68" + struct.pack("<I", base + 0x200c)  # push imm32
        entries = [0x3000 | 0x11, 0x3000 | 0x21]
    data = bytearray(0x200)
    data[0:8] = struct.pack("<Q", 0x7C801D7B)  # the import address table
    data[8:16] = b"Quendry\0"
    reloc = struct.pack("<II", 0x1000, 8 + 2 * len(entries)) + struct.pack(f"<{len(entries)}H", *entries)
    if second_block is not None:
        reloc += struct.pack("<II", 0x1000, second_block)
    reloc_size = len(reloc)
    reloc = reloc.ljust(0x200, b"\0")
    sections = [(b".text", 0x1000, 0x400, 0x60000020), (b".data", 0x2000, 0x600, 0xC0000040),
                (b".reloc", 0x3000, 0x800, 0x42000040)]
    directories = [(0, 0)] * 16
    if relocations:
        directories[5] = (0x3000, reloc_size)
    directories[12] = (0x2000, 8)
    if plus:
        optional = struct.pack("<HBBIIIIIQIIHHHHHHIIIIHHQQQQII", 0x20B, 2, 30, 0x200, 0x400, 0, 0x1000,
                               0x1000, base, 0x1000, 0x200, 5, 2, 0, 0, 5, 2, 0, 0x4000, 0x400, 0, 2,
                               0x40, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    else:
        optional = struct.pack("<HBBIIIIIIIIIHHHHHHIIIIHHIIIIII", 0x10B, 2, 30, 0x200, 0x400, 0, 0x1000,
                               0x1000, 0x2000, base, 0x1000, 0x200, 5, 0, 0, 0, 5, 0, 0, 0x4000, 0x400, 0,
                               2, 0x40, 0x100000, 0x1000, 0x100000, 0x1000, 0, 16)
    optional += b"".join(struct.pack("<II", *d) for d in directories)
    coff = struct.pack("<IHHIIIHH", 0x4550, 0x8664 if plus else 0x14C, len(sections), 0, 0, 0,
                       len(optional), 0x2022 if plus else 0x2102)
    table = b"".join(struct.pack("<8sIIIIIIHHI", name, 0x200, rva, 0x200, raw, 0, 0, 0, 0, flags)
                     for name, rva, raw, flags in sections)
    dos = b"MZ" + b"\0" * 0x3A + struct.pack("<I", 0x40)
    headers = (dos + coff + optional + table).ljust(0x400, b"\0")
    return headers + bytes(code) + bytes(data) + reloc


def image_case(pe, distance=0x10000, change_at=0x1011, change=0x80, look_up=4):
    return struct.pack("<IIBB", distance, change_at, change, look_up) + pe


write("image_match_fuzz", "pe32_moved", image_case(library()))
write("image_match_fuzz", "pe32_header_change", image_case(library(), 0x30000, 0x100, 1, 0))
write("image_match_fuzz", "pe32_plus_moved", image_case(library(plus=True), 0x7FFF0000, 0x2009))
write("image_match_fuzz", "no_relocations", image_case(library(relocations=False), change_at=0x3004))
# A second relocation block whose size takes a 32-bit sum of offsets back to the first (12 bytes long).
write("image_match_fuzz", "wrapping_block", image_case(library(second_block=(1 << 32) - 12)))
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
