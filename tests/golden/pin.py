#!/usr/bin/env python3
"""Pin of the dialect's output: without --classic, kzo2c must make of every
golden source (cases/*.golden), fuzz seed (tests/fuzz/seeds), gridbot and a
property sample (genprog.py seeds 1-25, two mutants each) exactly what it did
when pin.sha256 was written: per input the sha256 of the exit status, standard
output, standard error and C file, without and with -g.

    pin.py --kzo2c build/kzo2c            compare with pin.sha256 (exit 1 on a change)
    pin.py --kzo2c build/kzo2c --update   rewrite pin.sha256 after an intended change
"""
import argparse, concurrent.futures, hashlib, os, re, subprocess, sys, tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.normpath(os.path.join(HERE, "..", ".."))
MANIFEST = os.path.join(HERE, "pin.sha256")
sys.path.insert(0, os.path.join(ROOT, "tests", "property"))
import genprog  # noqa: E402

ESCAPES = {"n": "\n", "r": "\r", "t": "\t", "\\": "\\", '"': '"'}


def inputs():
    """(name, source text) of every input, the golden sources read as
    golden_test.cpp reads them."""
    folder = os.path.join(HERE, "cases")
    for file in sorted(f for f in os.listdir(folder) if f.endswith(".golden")):
        text = open(os.path.join(folder, file), encoding="latin-1").read()
        seen = {}
        for case in re.split(r"^=== ", text, flags=re.M)[1:]:
            name = "golden/%s/%s" % (file, case.split("\n", 1)[0])
            seen[name] = seen.get(name, 0) + 1
            name += "#%d" % seen[name] if seen[name] > 1 else ""
            for mode, block in re.findall(r"^--- (source(?:-escaped)?)\n(.*?)(?=^--- |\Z)", case, re.M | re.S):
                if mode == "source":
                    yield name, block
                else:
                    yield name, re.sub(r"\\(.)", lambda m: ESCAPES[m.group(1)], block.split("\n")[0])
    seeds = os.path.join(ROOT, "tests", "fuzz", "seeds")
    for f in sorted(os.listdir(seeds)):
        yield "seeds/" + f, open(os.path.join(seeds, f), encoding="latin-1").read()
    yield "gridbot", open(os.path.join(ROOT, "programs", "gridbot", "gridbot.bas"), encoding="latin-1").read()
    for seed in range(1, 26):
        yield "property/%d" % seed, genprog.correct(seed)[2]
        for m, (_, text) in enumerate(genprog.mutants(seed, 2), 1):
            yield "property/%d/mutant%d" % (seed, m), text


def fingerprint(kzo2c, text):
    h = hashlib.sha256()
    with tempfile.TemporaryDirectory(prefix="kzopin") as d:
        with open(os.path.join(d, "source.bas"), "w", encoding="latin-1", newline="") as f:
            f.write(text)
        for opts in ([], ["-g"]):
            r = subprocess.run([kzo2c] + opts + ["source.bas", "out.c"], cwd=d, capture_output=True,
                               stdin=subprocess.DEVNULL, timeout=60)
            c = os.path.join(d, "out.c")
            for part in (b"%d" % r.returncode, r.stdout, r.stderr, open(c, "rb").read() if os.path.exists(c) else b"-"):
                h.update(b"%d:" % len(part) + part)
            if os.path.exists(c):
                os.remove(c)
    return h.hexdigest()


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--update", action="store_true")
    a = ap.parse_args()
    todo = list(inputs())
    with concurrent.futures.ThreadPoolExecutor(2) as pool:
        got = dict(zip((n for n, _ in todo), pool.map(lambda t: fingerprint(os.path.abspath(a.kzo2c), t[1]), todo)))
    if a.update:
        with open(MANIFEST, "w") as f:
            f.writelines("%s  %s\n" % (h, n) for n, h in got.items())
        print("wrote %d fingerprints to %s" % (len(got), MANIFEST))
        return 0
    want = dict(reversed(l.rstrip("\n").split("  ", 1)) for l in open(MANIFEST))
    changed = [n for n in got if want.get(n, got[n]) != got[n]]
    for n in changed:
        print("CHANGED  " + n)
    for n in sorted(set(got) ^ set(want)):
        print(("NEW      %s (not pinned)" if n in got else "GONE     %s (pinned, no longer an input)") % n)
    print("%d inputs, %d pinned, %d changed" % (len(got), len(want), len(changed)))
    if changed or set(got) != set(want):
        print("FAIL: after an intended change of the output, run python3 tests/golden/pin.py "
              "--kzo2c KZO2C --update and commit tests/golden/pin.sha256")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
