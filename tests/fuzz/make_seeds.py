#!/usr/bin/env python3
"""Writes the fuzzer's seed corpus into tests/fuzz/seeds/ from the dialect
programs of the repository: gridbot's source, small programs of
bench/gensource.py and of the property check's generator, and the sources
of the golden and run test cases.

Run it again after cases were added; the seed files are committed."""
import os
import re
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
SEEDS = os.path.join(HERE, "seeds")


def decode_escapes(s):
    """One line of a golden "--- source-escaped" block."""
    table = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}
    out, i = [], 0
    while i < len(s):
        if s[i] == "\\" and i + 1 < len(s) and s[i + 1] in table:
            out.append(table[s[i + 1]])
            i += 2
        else:
            out.append(s[i])
            i += 1
    return "".join(out)


def case_sources(path, run_case):
    """(case name, source text) for every case of a .golden or .cases file."""
    name, mode, block = None, None, []
    found = []

    def close():
        if name is None or mode not in ("source", "source-escaped"):
            return
        if mode == "source-escaped":
            found.append((name, decode_escapes(block[0]) if block else ""))
            return
        lines = list(block)
        if run_case:  # the run tests drop trailing blank lines
            while lines and not lines[-1].strip():
                lines.pop()
        found.append((name, "".join(l + "\n" for l in lines)))

    with open(path, encoding="latin-1", newline="\n") as f:
        text = f.read()
        if text.endswith("\n"):
            text = text[:-1]
        for line in text.split("\n"):
            if line.startswith("=== "):
                close()
                name, mode, block = line[4:], None, []
            elif line.startswith("--- "):
                close()
                mode, block = line[4:].split(" ")[0], []
            elif mode is not None:
                block.append(line)
    close()
    return found


def slug(text):
    return re.sub(r"[^A-Za-z0-9]+", "_", text).strip("_").lower()[:60]


def main():
    seeds = {}

    def add(name, text):
        data = text.encode("latin-1")
        if not data or data in seeds.values():
            return
        unique, n = name, 1
        while unique in seeds:
            n += 1
            unique = "%s_%d" % (name, n)
        seeds[unique] = data

    with open(os.path.join(ROOT, "programs", "gridbot", "gridbot.bas"),
              encoding="latin-1", newline="") as f:
        add("gridbot", f.read())
    gen = os.path.join(ROOT, "bench", "gensource.py")
    for lines, extra in ((30, []), (60, []), (120, []), (40, ["--simple"])):
        text = subprocess.run([sys.executable, gen, str(lines)] + extra,
                              check=True, capture_output=True).stdout
        add("gensource_%d%s" % (lines, "_simple" if extra else ""),
            text.decode("latin-1"))
    # a few correct programs of the property check's generator, which use
    # every statement form
    sys.path.insert(0, os.path.join(ROOT, "tests", "property"))
    import genprog
    for seed in range(1, 6):
        add("genprog_%d" % seed, genprog.correct(seed)[2])
    for folder, suffix, run_case in (("golden", ".golden", False),
                                     ("run", ".cases", True)):
        cases = os.path.join(ROOT, "tests", folder, "cases")
        for file in sorted(os.listdir(cases)):
            if not file.endswith(suffix):
                continue
            stem = file[: -len(suffix)]
            for name, text in case_sources(os.path.join(cases, file), run_case):
                add("%s_%s_%s" % (folder, stem, slug(name)), text)

    os.makedirs(SEEDS, exist_ok=True)
    for old in os.listdir(SEEDS):
        os.remove(os.path.join(SEEDS, old))
    for name, data in seeds.items():
        with open(os.path.join(SEEDS, name + ".bas"), "wb") as f:
            f.write(data)
    print("%d seeds in %s" % (len(seeds), SEEDS))


if __name__ == "__main__":
    main()
