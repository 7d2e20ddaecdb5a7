#!/usr/bin/env python3
# Fails, naming the file and what, when README.md, docs/*.md or a comment in
# tests/ or tools/ names a repository path or a script that is not there, a
# make target the Makefile lacks, or a file:line place (each edit moves it);
# or when docs/failures.md's table names a Win32 function that registry/ and
# window/ never call. Usage: docs-true.py [SOURCE_DIR]
import glob, os, re, subprocess, sys

os.chdir(sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), ".."))
git = ["git", "ls-files", "--cached", "--others", "--exclude-standard"]
files = [f for f in subprocess.run(git, capture_output=True, text=True, check=True).stdout.split() if os.path.exists(f)]
tops, names = {f.split("/")[0] for f in files if "/" in f}, {os.path.basename(f) for f in files}
targets = set(re.findall(r"^([\w-]+):", open("Makefile").read(), re.M))
path = re.compile(r"(?<![\w/.$-])(?:\./)?((?:%s)/[\w./*-]*)" % "|".join(map(re.escape, sorted(tops))))
make = re.compile(r"`make ([a-z][\w-]*)|\bmake ([a-z][\w-]*)(?=\)|\s*$|\s+[A-Z_]+=|\s+#)", re.M)
bare = re.compile(r"(?<![\w/.-])([\w-]+\.(?:sh|py|cpp|c|md|cmake))(?![\w.])")
place = re.compile(r"\b[\w-]+\.(?:cpp|c|h|sh|py|md|txt|rc|cmake):\d+")


def comments(name):  # the comments of a script or a C/C++ file, line by line
    hash = not re.search(r"\.(cpp|c|h)$", name)
    mark = re.compile(r"(?:^|\s)#(?!!)(.*)" if hash else r"//(.*)")
    return "\n".join(m.group(1) if (m := mark.search(line)) else "" for line in open(name, errors="replace"))


found = []
texts = {f: open(f).read() for f in ["README.md"] + sorted(glob.glob("docs/*.md"))}
texts.update({f: comments(f) for f in files if f.split("/")[0] in ("tests", "tools") and not f.endswith(".png")})
for name, text in texts.items():
    for n, line in enumerate(text.splitlines(), 1):
        where = f"{name}, line {n}:"
        for p in (m.group(1).rstrip(".") for m in path.finditer(line)):
            if not glob.glob(p):
                found.append(f"{where} names {p}, which is not in the repository")
        for t in (a or b for a, b in make.findall(line)):
            if t not in targets:
                found.append(f"{where} names make {t}, which the Makefile does not have")
        for b in bare.findall(line):
            if b not in names:
                found.append(f"{where} names {b}, which no folder of the repository holds")
        for p in place.findall(line):
            found.append(f"{where} names the place {p}, which the next edit moves")

code = "".join(re.sub(r"//.*", "", open(f).read()) for f in files if f.split("/")[0] in ("registry", "window"))
for row in re.findall(r"^\| *([^|]*)\|", open("docs/failures.md").read(), re.M):
    for fn in re.findall(r"`(\w+)`", row):
        if not re.search(r"\b%s\b" % fn, code):
            found.append(f"docs/failures.md: its table names {fn}, which registry/ and window/ never call")

print("\n".join(found) or "The docs name only what is there.")
sys.exit(1 if found else 0)
