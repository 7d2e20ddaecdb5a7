#!/usr/bin/python3
# Packs a built Tovix.exe into a release folder: the program itself, the zip
# that Windows users download (the program and README.txt) and SHA256SUMS for
# both. The same program and commit give the same bytes every time: the zip's
# entries come in a fixed order, dated with the commit's time, with no owner,
# permissions or extra fields. They are stored, not compressed, so that the
# zip's bytes do not depend on the zlib that made it.
# Usage: pack_release.py TOVIX_EXE VERSION OUT_DIR
import hashlib
import os
import subprocess
import sys
import time
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# The zip format's first day, for sources that are not a git checkout.
NO_COMMIT = (1980, 1, 1, 0, 0, 0)


def commit_time():
    # In UTC, so that where the release is made does not change it.
    try:
        seconds = subprocess.run(["git", "-C", ROOT, "log", "-1", "--format=%ct"], capture_output=True, text=True,
                                 check=True).stdout
        return time.gmtime(int(seconds))[:6]
    except (OSError, subprocess.CalledProcessError, ValueError):
        print("No git commit here: the zip's entries are dated 1980-01-01.", file=sys.stderr)
        return NO_COMMIT


def main(exe, version, out):
    with open(exe, "rb") as f:
        program = f.read()
    # CRLF line ends, which every Windows editor shows as lines.
    with open(os.path.join(ROOT, "docs", "release-readme.txt"), encoding="ascii") as f:
        readme = f.read().replace("\r\n", "\n").replace("\n", "\r\n").encode("ascii")

    os.makedirs(out, exist_ok=True)
    with open(os.path.join(out, "Tovix.exe"), "wb") as f:
        f.write(program)
    name = f"Tovix-{version}-win32.zip"
    when = commit_time()
    with zipfile.ZipFile(os.path.join(out, name), "w") as z:
        for entry, data in (("Tovix.exe", program), ("README.txt", readme)):
            info = zipfile.ZipInfo(entry, when)
            # MS-DOS attributes, no Unix owner or permissions: the archive bit
            # alone, as in Windows' own zips (zero would make zipfile add 0600).
            info.create_system = 0
            info.external_attr = 0x20
            info.compress_type = zipfile.ZIP_STORED
            z.writestr(info, data)

    with open(os.path.join(out, "SHA256SUMS"), "w", newline="\n") as sums:
        for file in (name, "Tovix.exe"):
            with open(os.path.join(out, file), "rb") as f:
                sums.write(f"{hashlib.sha256(f.read()).hexdigest()}  {file}\n")


if __name__ == "__main__":
    if len(sys.argv) != 4:
        sys.exit("Usage: pack_release.py TOVIX_EXE VERSION OUT_DIR")
    main(*sys.argv[1:])
