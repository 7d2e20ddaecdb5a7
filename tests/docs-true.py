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
targets = set(re.findall(r"^([\w-]+):", open("Makefile").read(), re.M))
tops = "|".join(sorted({re.escape(f.split("/")[0]) for f in files if "/" in f}))
checks = [  # what a line names, whether it is there, and what is said when not
    (r"(?<![\w/.$-])(?:\./)?((?:%s)/(?:[\w./*-]*[\w*])?)" % tops, glob.glob, "is not in the repository"),
    (r"(?:(`)|\b)make ([a-z][\w-]*)(?(1)|(?=\)|\s*$|\s+[A-Z_]+=|\s+#))", targets.__contains__, "is no target of the Makefile"),
    (r"(?<![\w/.-])([\w-]+\.(?:sh|py|cpp|c|md|cmake))(?![\w.])", {os.path.basename(f) for f in files}.__contains__,
     "is in no folder of the repository"),
    (r"\b([\w-]+\.(?:cpp|c|h|sh|py|md|txt|rc|cmake):\d+)", lambda _: False, "is a place the next edit moves"),
]


def comments(name):  # the comments of a script or a C/C++ file, line by line
    mark = re.compile(r"//(.*)" if re.search(r"\.(cpp|c|h)$", name) else r"(?:^|\s)#(?!!)(.*)")
    return "\n".join(m.group(1) if (m := mark.search(line)) else "" for line in open(name, errors="replace"))


found = []
texts = {f: open(f).read() for f in ["README.md"] + sorted(glob.glob("docs/*.md"))}
texts.update({f: comments(f) for f in files if f.split("/")[0] in ("tests", "tools") and not f.endswith(".png")})
for name, text in texts.items():
    for n, line in enumerate(text.splitlines(), 1):
        for pattern, there, what in checks:
            for m in re.finditer(pattern, line):
                if not there(m.group(m.lastindex)):
                    found.append(f"{name}, line {n}: {m.group(m.lastindex)} {what}")

code = "".join(re.sub(r"//.*", "", open(f).read()) for f in files if f.split("/")[0] in ("registry", "window"))
for row in re.findall(r"^\| *([^|]*)\|", open("docs/failures.md").read(), re.M):
    for fn in re.findall(r"`(\w+)`", row):
        if not re.search(r"\b%s\b" % fn, code):
            found.append(f"docs/failures.md: its table names {fn}, which registry/ and window/ never call")

print("\n".join(found) or "The docs name only what is there.")
sys.exit(1 if found else 0)
