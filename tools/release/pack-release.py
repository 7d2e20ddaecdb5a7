#!/usr/bin/python3
# Packs a built Tovix.exe into a release folder: the program itself, the zip
# that Windows users download (the program and README.txt), BUILDINFO (what
# tools/release/buildinfo.sh printed where the program was built) and SHA256SUMS for
# all three. The same program and commit give the same bytes every time: the zip's
# entries come in a fixed order, dated with the commit's time, with no owner,
# permissions or extra fields. They are stored, not compressed, so that the
# zip's bytes do not depend on the zlib that made it.
# When TOVIX_EXE is signed, UNSIGNED_EXE is the program as built: SHA256SUMS
# names its checksum too, as unsigned/Tovix.exe, the bytes that anyone who
# builds the same commit gets (tools/release/verify-release.py checks one against the
# other).
# Usage: pack-release.py TOVIX_EXE VERSION OUT_DIR BUILDINFO [UNSIGNED_EXE]
import hashlib
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
# The zip format's first day, for sources that are not a git checkout.
NO_COMMIT = (1980, 1, 1, 0, 0, 0)


def commit_time():
    # In UTC, so that where the release is made does not change it. A copy of
    # the sources without git gives it as SOURCE_DATE_EPOCH, the variable that
    # reproducible builds share for this.
    if os.environ.get("SOURCE_DATE_EPOCH"):
        return time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
    try:
        seconds = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True, text=True,
                                 check=True).stdout
        return time.gmtime(int(seconds))[:6]
    except (OSError, subprocess.CalledProcessError, ValueError):
        print("No git commit here: the zip's entries are dated 1980-01-01.", file=sys.stderr)
        return NO_COMMIT


def write_zip(path, program):
    # CRLF line ends, which every Windows editor shows as lines.
    with open(os.path.join(ROOT, "docs", "release-readme.txt"), encoding="ascii") as f:
        readme = f.read().replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")
    when = commit_time()
    with zipfile.ZipFile(path, "w") as z:
        for entry, data in (("Tovix.exe", program), ("README.txt", readme)):
            info = zipfile.ZipInfo(entry, when)
            # MS-DOS attributes, no Unix owner or permissions: the archive bit
            # alone, as in Windows' own zips (zero would make zipfile add 0600).
            info.create_system = 0
            info.external_attr = 0x20
            info.compress_type = zipfile.ZIP_STORED
            z.writestr(info, data)


def main(exe, version, out, buildinfo, unsigned=None):
    with open(exe, "rb") as f:
        program = f.read()
    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "Tovix.exe"), "wb") as f:
        f.write(program)
    name = f"Tovix-{version}-win32.zip"
    write_zip(os.path.join(out, name), program)
    with open(buildinfo, "rb") as source, open(os.path.join(out, "BUILDINFO"), "wb") as f:
        f.write(source.read())

    files = [(name, os.path.join(out, name)), ("Tovix.exe", os.path.join(out, "Tovix.exe")),
             ("BUILDINFO", os.path.join(out, "BUILDINFO"))]
    if unsigned:
        files.append(("unsigned/Tovix.exe", unsigned))
    with open(os.path.join(out, "SHA256SUMS"), "w", newline="\n") as sums:
        for file, path in files:
            with open(path, "rb") as f:
                sums.write(f"{hashlib.sha256(f.read()).hexdigest()}  {file}\n")


if __name__ == "__main__":
    if len(sys.argv) not in (5, 6):
        sys.exit("Usage: pack-release.py TOVIX_EXE VERSION OUT_DIR BUILDINFO [UNSIGNED_EXE]")
    main(*sys.argv[1:])
