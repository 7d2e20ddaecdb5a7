#!/usr/bin/python3
# Checks a published release against a build of the same commit: the files
# against the release's SHA256SUMS; then the zip's Tovix.exe, its Authenticode
# signature removed (osslsigncode remove-signature), against the program built
# here, byte for byte; then the rest of the zip against the zip this commit
# packs around the published program. When the programs differ it says which
# bytes, and where in the file they lie; when the release's BUILDINFO and this
# build's name other toolchain versions, it names those instead: they explain
# the difference. Exits 0 when everything matches.
# Usage: verify-release.py RELEASE BUILT_EXE [BUILDINFO]
#   RELEASE: the published folder, or its zip with SHA256SUMS (and BUILDINFO) beside it.
#   BUILDINFO: what tools/release/buildinfo.sh printed where BUILT_EXE was built.
import glob
import hashlib
import importlib
import os
import struct
import subprocess
import sys
import tempfile
import zipfile

# Its file name has a hyphen, which an import statement cannot spell; the
# module is found beside this one all the same (sys.path[0]).
pack_release = importlib.import_module("pack-release")

UNSIGNED = "unsigned/Tovix.exe"


def sha256(data):
    return hashlib.sha256(data).hexdigest()


def read_sums(path):
    # sha256sum's lines: the checksum, then " " or " *" (binary), then the name.
    sums = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            checksum, _, name = line.rstrip("\r\n").partition(" ")
            sums[name.lstrip(" *")] = checksum.lower()
    return sums


def pe_regions(data):
    # (start, end, name) of the PE file's parts: the headers with the fields
    # that signing changes picked out, each section's raw data, and what
    # follows the last section, where the signature is kept.
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    optional = pe + 24
    directories = optional + (96 if struct.unpack_from("<H", data, optional)[0] == 0x10B else 112)
    regions = [(0, pe, "MS-DOS header and stub"), (optional + 64, optional + 68, "PE checksum"),
               (directories + 32, directories + 40, "certificate table entry")]
    end_of_sections = 0
    for i in range(sections):
        entry = optional + optional_size + 40 * i
        name = data[entry:entry + 8].rstrip(b"\0").decode("ascii", "replace")
        size, start = struct.unpack_from("<II", data, entry + 16)
        if size:
            regions.append((start, start + size, f"section {name}"))
            end_of_sections = max(end_of_sections, start + size)
    regions.append((end_of_sections, 1 << 62, "after the sections (signature, appended data)"))
    return regions


def region_of(regions, offset):
    for start, end, name in regions:
        if start <= offset < end:
            return name
    return "PE headers"


def describe_differences(a, b, names=("first", "second"), limit=20):
    # Runs of differing bytes, as cmp -l lists them one by one, each named by
    # where it lies in the file.
    lines = []
    runs = []
    for offset in (i for i in range(min(len(a), len(b))) if a[i] != b[i]):
        if runs and runs[-1][1] == offset:
            runs[-1][1] = offset + 1
        else:
            runs.append([offset, offset + 1])
    try:
        regions = pe_regions(a)
    except (struct.error, UnicodeError):
        regions = []
    for start, end in runs[:limit]:
        lines.append(f"bytes 0x{start:08x}-0x{end - 1:08x} ({end - start}): {region_of(regions, start)}")
    if len(runs) > limit:
        lines.append(f"... and {len(runs) - limit} more runs of differing bytes")
    if len(a) != len(b):
        start, end = sorted((len(a), len(b)))
        lines.append(f"bytes 0x{start:08x}-0x{end - 1:08x} ({end - start}) only in the "
                     f"{names[0] if len(a) > len(b) else names[1]}: {region_of(regions, start)}")
    return lines


def toolchain(path):
    # The Debian release and the package versions a BUILDINFO names, by name.
    versions = {}
    with open(path, encoding="utf-8") as f:
        for line in f:
            key, _, value = line.rstrip("\r\n").partition(": ")
            if key == "Debian":
                versions["Debian"] = value
            elif key == "Package":
                package, _, version = value.partition(" ")
                versions[package] = version
    return versions


def toolchain_differences(published, built):
    # Lines naming what differs between two BUILDINFOs' toolchains.
    a, b = toolchain(published), toolchain(built)
    return [f"{name}: {a.get(name, 'not named')} in the release, {b.get(name, 'not named')} here"
            for name in sorted(set(a) | set(b), key=lambda n: (n != "Debian", n)) if a.get(name) != b.get(name)]


def is_signed(program):
    # The certificate table's entry in the optional header's data directories.
    try:
        regions = pe_regions(program)
    except struct.error:
        return False
    start = next(start for start, _, name in regions if name == "certificate table entry")
    return program[start:start + 8] != bytes(8)


def remove_signature(program):
    with tempfile.TemporaryDirectory() as work:
        signed, unsigned = os.path.join(work, "signed.exe"), os.path.join(work, "unsigned.exe")
        with open(signed, "wb") as f:
            f.write(program)
        result = subprocess.run(["osslsigncode", "remove-signature", "-in", signed, "-out", unsigned],
                                capture_output=True, text=True)
        if result.returncode != 0:
            sys.exit(f"osslsigncode could not remove the signature:\n{result.stdout}{result.stderr}")
        with open(unsigned, "rb") as f:
            return f.read()


def main(release, built_exe, built_buildinfo=None):
    folder = release if os.path.isdir(release) else os.path.dirname(os.path.abspath(release))
    sums_path = os.path.join(folder, "SHA256SUMS")
    if not os.path.isfile(sums_path):
        sys.exit(f"No SHA256SUMS in {folder}: there is nothing to check the release against.")
    sums = read_sums(sums_path)
    zips = [release] if not os.path.isdir(release) else glob.glob(os.path.join(folder, "Tovix-*-win32.zip"))
    if len(zips) != 1:
        sys.exit(f"Expected one Tovix-VERSION-win32.zip in {folder}, found {len(zips)}.")
    zip_name = os.path.basename(zips[0])

    failed = []

    def check(what, ok):
        print(f"{what}: {'OK' if ok else 'FAILED'}")
        if not ok:
            failed.append(what)

    # The published files against SHA256SUMS; the zip must be named there.
    check(f"{zip_name} named in SHA256SUMS", zip_name in sums)
    for name, checksum in sums.items():
        path = os.path.join(folder, name)
        if name != UNSIGNED and os.path.isfile(path):
            with open(path, "rb") as f:
                check(f"{name} against SHA256SUMS", sha256(f.read()) == checksum)

    with zipfile.ZipFile(zips[0]) as z:
        if "Tovix.exe" not in z.namelist():
            sys.exit(f"{zip_name} holds no Tovix.exe.")
        program = z.read("Tovix.exe")
    if "Tovix.exe" in sums:
        check("the zip's Tovix.exe against SHA256SUMS", sha256(program) == sums["Tovix.exe"])
    signed = is_signed(program)
    unsigned = remove_signature(program) if signed else program
    print(f"The zip's Tovix.exe is {'signed' if signed else 'not signed'}.")
    if UNSIGNED in sums:
        check(f"Tovix.exe without its signature against {UNSIGNED} in SHA256SUMS", sha256(unsigned) == sums[UNSIGNED])

    with open(built_exe, "rb") as f:
        built = f.read()
    same = unsigned == built
    check(f"Tovix.exe without its signature against {built_exe}, byte for byte" if signed else
          f"Tovix.exe against {built_exe}, byte for byte", same)
    published_buildinfo = os.path.join(folder, "BUILDINFO")
    toolchains = []
    if not same and built_buildinfo and os.path.isfile(published_buildinfo):
        toolchains = toolchain_differences(published_buildinfo, built_buildinfo)
    if toolchains:
        print("  It was built with another toolchain than this build (BUILDINFO):")
    for line in [] if same else toolchains or describe_differences(unsigned, built, ("published program", "build")):
        print(f"  {line}")

    # The zip around it: README.txt, the entries' order, dates and attributes.
    with tempfile.TemporaryDirectory() as work:
        packed = os.path.join(work, zip_name)
        pack_release.write_zip(packed, program)
        with open(packed, "rb") as a, open(zips[0], "rb") as b:
            same = a.read() == b.read()
        check(f"{zip_name} against the zip this commit packs around its Tovix.exe", same)
        if not same:
            for label, path in (("published", zips[0]), ("packed here", packed)):
                with zipfile.ZipFile(path) as z:
                    entries = [f"{i.filename} {i.date_time} {i.file_size} bytes crc {i.CRC:08x}" for i in z.infolist()]
                print(f"  {label}: " + "; ".join(entries))

    if failed:
        sys.exit(f"The release does not match: {len(failed)} check(s) failed.")
    print("The release matches this build.")


if __name__ == "__main__":
    if len(sys.argv) not in (3, 4):
        sys.exit("Usage: verify-release.py RELEASE BUILT_EXE [BUILDINFO]")
    main(*sys.argv[1:])
