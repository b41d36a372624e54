#!/usr/bin/env python3
"""Pin of the dialect's output: kzo2c without --classic must translate every
golden source (tests/golden/cases), the fuzz seeds (tests/fuzz/seeds),
gridbot and a property sample (genprog.py seeds 1-25, two mutants each) to
exactly what it did when pin.sha256 was written: for each input, with and
without -g, the sha256 of its exit status, standard output, standard error
and C file.

    pin.py --kzo2c build/kzo2c            compare with tests/golden/pin.sha256
    pin.py --kzo2c build/kzo2c --update   rewrite it after an intended change
                                          of the output (commit it with that change)

Exits 1 when an input's output differs or the inputs are not those pinned.
"""
import argparse, concurrent.futures, hashlib, os, shutil, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
MANIFEST = os.path.join(HERE, "pin.sha256")
sys.path.insert(0, os.path.join(ROOT, "tests", "property"))
import genprog  # noqa: E402


def golden_sources():
    """(name, text) of every source block of the golden case files, parsed
    as golden_test.cpp parses them."""
    folder = os.path.join(HERE, "cases")
    for file in sorted(f for f in os.listdir(folder) if f.endswith(".golden")):
        with open(os.path.join(folder, file), encoding="latin-1") as f:
            text = f.read()
        lines = text.split("\n")
        if text.endswith("\n"):
            lines.pop()
        case, mode, block, seen = None, None, [], {}
        for line in lines + ["=== (end)"]:
            if line.startswith("=== ") or line.startswith("--- "):
                if mode == "source":
                    yield case, "".join(l + "\n" for l in block)
                elif mode == "source-escaped":
                    yield case, decode(block[0] if block else "")
                mode, block = None, []
                if line.startswith("=== "):
                    base = "golden/%s/%s" % (file, line[4:])
                    seen[base] = seen.get(base, 0) + 1
                    case = base + ("#%d" % seen[base] if seen[base] > 1 else "")
                else:
                    mode = line[4:]
            elif mode:
                block.append(line)


def decode(s):
    return s.replace("\\\\", "\0").replace("\\n", "\n").replace("\\r", "\r") \
        .replace("\\t", "\t").replace('\\"', '"').replace("\0", "\\")


def inputs():
    yield from golden_sources()
    seeds = os.path.join(ROOT, "tests", "fuzz", "seeds")
    for f in sorted(os.listdir(seeds)):
        with open(os.path.join(seeds, f), encoding="latin-1") as fh:
            yield "seeds/" + f, fh.read()
    with open(os.path.join(ROOT, "programs", "gridbot", "gridbot.bas"), encoding="latin-1") as f:
        yield "gridbot", f.read()
    for seed in range(1, 26):
        yield "property/%d" % seed, genprog.correct(seed)[2]
        for m, (_, text) in enumerate(genprog.mutants(seed, 2), 1):
            yield "property/%d/mutant%d" % (seed, m), text


def fingerprint(kzo2c, text, work):
    """sha256 of what kzo2c makes of text, without and with -g."""
    d = tempfile.mkdtemp(dir=work)
    h = hashlib.sha256()
    with open(os.path.join(d, "source.bas"), "w", encoding="latin-1", newline="") as f:
        f.write(text)
    for opts in ([], ["-g"]):
        out = os.path.join(d, "out.c")
        if os.path.exists(out):
            os.remove(out)
        r = subprocess.run([kzo2c] + opts + ["source.bas", "out.c"], cwd=d, capture_output=True,
                           stdin=subprocess.DEVNULL, timeout=60)
        c = open(out, "rb").read() if os.path.exists(out) else b"(none)"
        for part in (b"%d" % r.returncode, r.stdout, r.stderr, c):
            h.update(b"%d:" % len(part) + part)
    shutil.rmtree(d, ignore_errors=True)
    return h.hexdigest()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--update", action="store_true")
    a = ap.parse_args()
    kzo2c = os.path.abspath(a.kzo2c)
    work = tempfile.mkdtemp(prefix="kzopin")
    try:
        todo = list(inputs())
        with concurrent.futures.ThreadPoolExecutor(2) as pool:
            got = dict(zip([n for n, _ in todo],
                           pool.map(lambda t: fingerprint(kzo2c, t[1], work), todo)))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    if a.update:
        with open(MANIFEST, "w") as f:
            f.writelines("%s  %s\n" % (h, n) for n, h in got.items())
        print("wrote %d fingerprints to %s" % (len(got), MANIFEST))
        return 0
    want = {}
    with open(MANIFEST) as f:
        for line in f:
            h, n = line.rstrip("\n").split("  ", 1)
            want[n] = h
    changed = [n for n in got if n in want and got[n] != want[n]]
    for n in changed:
        print("CHANGED  %s" % n)
    for n in sorted(set(got) - set(want)):
        print("NEW      %s (not pinned)" % n)
    for n in sorted(set(want) - set(got)):
        print("GONE     %s (pinned, no longer an input)" % n)
    print("%d inputs, %d pinned, %d changed" % (len(got), len(want), len(changed)))
    if changed and len(changed) == len(got):
        print("every output changed: the embedded runtime or the head of the C file, most likely")
    if changed or set(got) != set(want):
        print("FAIL: if the change is intended, run %s --kzo2c KZO2C --update and commit pin.sha256"
              % os.path.relpath(__file__, ROOT))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
