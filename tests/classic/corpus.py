#!/usr/bin/env python3
"""The classic corpus: every program of <repository>/../shared/classic
judged with `kzo2c --classic` as the corpus README's levels say.

  1 translate   kzo2c --classic NAME.bas NAME.c exits 0
  2 build       gcc -O1 -w $KZO_CFLAGS NAME.c -lm builds it, clang -fsyntax-only accepts it
  3 run         given inputs/NAME.txt on a pipe it ends within 10 s, without a
                signal or a sanitizer report, and exits 0 unless it stopped on
                running out of input ("input past end")
  4 transcript  (programs with expected/NAME.txt) its output equals the
                transcript, exactly and loosely (a run of blanks is one blank,
                numbers equal within one millionth of their size, at least 1E-6)

Both sides of level 4: CR LF and a lone CR end a line, blanks at the ends of
lines, empty lines at the end and a last `BREAK IN n` line are ignored. A
session that ends by running out of input (the README's table) compares up
to the transcript's last line, which need only begin the output's line; a
session "stopped after N lines" is cut (and the program killed) at N lines.

    corpus.py --kzo2c build/kzo2c [--folder DIR] [--jobs 2] [NAME...]

Prints a table and the totals; exits 1 when a program fails level 3 or a
transcript program fails level 4 loosely. Exits 77 (skipped) when the folder
is missing or the kzo2c given has no --classic, but 1 for both under CI=true.
"""
import argparse, concurrent.futures, os, re, select, shlex, shutil, subprocess, sys, tempfile, threading, time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
RUN_LIMIT, BUILD_LIMIT, OUTPUT_LIMIT = 10.0, 300, 8 << 20
SKIP = 77
NUMBER = re.compile(r"-?(?:\d+\.?\d*|\.\d+)(?:E[-+]?\d+)?")
SANITIZER = re.compile(r"Sanitizer|runtime error:")


def sessions(folder):
    """name -> how its session ends, from the README's table."""
    out = {}
    with open(os.path.join(folder, "README.md")) as f:
        for line in f:
            cells = [c.strip() for c in line.split("|")]
            if len(cells) > 4 and cells[2] in ("transcript", "random"):
                out[cells[1]] = cells[3]
    return out


def lines_of(data, limit=None):
    text = data.decode("latin-1").replace("\r\n", "\n").replace("\r", "\n")
    lines = [l.rstrip(" \t") for l in text.split("\n")][:limit]
    while lines and not lines[-1]:
        lines.pop()
    if lines and re.fullmatch(r"BREAK IN \d+", lines[-1]):
        lines.pop()
        while lines and not lines[-1]:
            lines.pop()
    return lines


def same_loosely(want, got, prefix=False):
    """want equals got (or begins it) with blank runs as one blank and
    numbers within one millionth."""
    w = re.split(r"(%s)" % NUMBER.pattern, re.sub(" +", " ", want))
    g = re.split(r"(%s)" % NUMBER.pattern, re.sub(" +", " ", got))
    if prefix:
        if len(g) < len(w):
            return False
        g = g[:len(w)]
        g[-1] = g[-1][:len(w[-1])]
    if len(w) != len(g):
        return False
    for i, (a, b) in enumerate(zip(w, g)):
        if i % 2 and abs(float(a) - float(b)) <= 1e-6 * max(1.0, abs(float(a))):
            continue
        if a != b:
            return False
    return True


def compare(want, got, runs_out, loose):
    """None when the output matches the transcript, else the first difference."""
    same = (lambda a, b, p=False: same_loosely(a, b, p)) if loose else \
        (lambda a, b, p=False: b.startswith(a) if p else a == b)
    for i, w in enumerate(want):
        last = runs_out and i == len(want) - 1
        g = got[i] if i < len(got) else None
        if g is None or not same(w, g, last):
            return "line %d: want %r, got %r" % (i + 1, w, g)
    if not runs_out and len(got) > len(want):
        return "line %d: want the end, got %r" % (len(want) + 1, got[len(want)])
    return None


def run_program(exe, data, cut):
    """(status, stdout, stderr, seconds, what went wrong or None) of exe fed
    data on a pipe; with cut, killed once it has written that many lines."""
    t0 = time.monotonic()
    p = subprocess.Popen([exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, start_new_session=True)

    def feed():
        try:
            p.stdin.write(data)
            p.stdin.close()
        except OSError:
            pass
    err = []
    threads = [threading.Thread(target=feed),
               threading.Thread(target=lambda: err.append(p.stderr.read(OUTPUT_LIMIT)))]
    for t in threads:
        t.start()
    out, problem, fd = b"", None, p.stdout.fileno()
    while True:
        left = t0 + RUN_LIMIT - time.monotonic()
        if left <= 0 or not select.select([fd], [], [], left)[0]:
            problem = "did not end within %.0f s" % RUN_LIMIT
            break
        chunk = os.read(fd, 65536)
        out += chunk
        if not chunk or (cut and out.count(b"\n") >= cut):
            break
        if len(out) > OUTPUT_LIMIT:
            problem = "wrote more than %d bytes" % OUTPUT_LIMIT
            break
    if problem is None and not cut:
        try:
            p.wait(max(0.1, t0 + RUN_LIMIT - time.monotonic()))
        except subprocess.TimeoutExpired:
            problem = "did not end within %.0f s" % RUN_LIMIT
    stopped = problem is not None or (cut and p.poll() is None)
    if stopped:
        os.killpg(p.pid, 9)
    status = p.wait()
    for t in threads:
        t.join()
    return status, out, err[0] if err else b"", time.monotonic() - t0, problem, stopped


def judge(name, folder, kzo2c, cflags, ends, work):
    """One program through the four levels: a dict of its results."""
    r = {"name": name, "kind": "transcript" if os.path.exists(
        os.path.join(folder, "expected", name + ".txt")) else "random", "level": 0, "note": ""}
    d = os.path.join(work, name)
    os.makedirs(d)
    bas, cfile, exe = (os.path.join(folder, "programs", name + ".bas"),
                       os.path.join(d, name + ".c"), os.path.join(d, name))
    t = subprocess.run([kzo2c, "--classic", bas, cfile], capture_output=True, timeout=60)
    if t.returncode != 0 or not os.path.exists(cfile):
        r["note"] = "kzo2c exit %d: %s" % (t.returncode, (t.stdout + t.stderr).decode("latin-1").strip()[-300:])
        return r
    r["level"] = 1
    for cmd in (["gcc", "-O1", "-w"] + cflags + [cfile, "-o", exe, "-lm"],
                ["clang", "-fsyntax-only", "-w", cfile]):
        b = subprocess.run(cmd, capture_output=True, timeout=BUILD_LIMIT)
        if b.returncode != 0:
            r["note"] = "%s: %s" % (cmd[0], b.stderr.decode("latin-1").strip()[:300])
            return r
    r["level"] = 2
    with open(os.path.join(folder, "inputs", name + ".txt"), "rb") as f:
        data = f.read()
    m = re.match(r"stopped after (\d+) lines", ends)
    cut = int(m.group(1)) if m else None
    status, out, err, secs, problem, stopped = run_program(exe, data, cut)
    r["seconds"] = secs
    text = (out + err).decode("latin-1")
    ranout = "input past end" in text
    if not problem and SANITIZER.search(err.decode("latin-1")):
        problem = "sanitizer report: " + err.decode("latin-1").strip()[:400]
    elif not problem and not stopped and status < 0:
        problem = "killed by signal %d" % -status
    elif not problem and not stopped and status != 0 and not ranout:
        problem = "exit %d before its input ran out: %s" % (status, text.strip()[-200:])
    if problem:
        r["note"] = problem
        return r
    r["level"] = 3
    r["status"] = "cut" if stopped else "exit %d%s" % (status, " input end" if ranout else "")
    if r["kind"] == "transcript":
        with open(os.path.join(folder, "expected", name + ".txt"), "rb") as f:
            want = lines_of(f.read(), cut)
        got = lines_of(out, cut)
        runs_out = ends == "input runs out"
        r["exact"] = compare(want, got, runs_out, False)
        r["loose"] = compare(want, got, runs_out, True)
        if r["loose"] is None:
            r["level"] = 4
        r["note"] = r["exact"] or ""
    return r


def missing(why):
    print(why)
    if os.environ.get("CI") == "true":
        print("FAIL: under CI=true this is a failure")
        return 1
    print("SKIPPED")
    return SKIP


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--folder", default=os.path.join(ROOT, "..", "shared", "classic"))
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("names", nargs="*")
    a = ap.parse_args()
    folder, kzo2c = os.path.abspath(a.folder), os.path.abspath(a.kzo2c)
    if not os.path.isdir(os.path.join(folder, "programs")):
        return missing("the classic corpus %s is not there" % folder)
    work = tempfile.mkdtemp(prefix="kzoclassic")
    try:
        probe = os.path.join(work, "probe.bas")
        with open(probe, "w") as f:
            f.write("10 END\n")
        t = subprocess.run([kzo2c, "--classic", probe, probe + ".c"], capture_output=True)
        if t.returncode == 2:
            return missing("%s does not translate classic programs: --classic gives exit 2: %s"
                           % (kzo2c, t.stderr.decode("latin-1").strip()))
        ends = sessions(folder)
        names = a.names or sorted(f[:-4] for f in os.listdir(os.path.join(folder, "programs"))
                                  if f.endswith(".bas"))
        cflags = shlex.split(os.environ.get("KZO_CFLAGS", ""))
        with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
            results = list(pool.map(lambda n: judge(n, folder, kzo2c, cflags, ends.get(n, "-"), work),
                                    names))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("%-14s %-10s %-5s %-6s %-5s %-19s %-6s %-6s %s" % (
        "program", "kind", "trans", "build", "run", "status", "exact", "loose", "first difference / problem"))
    for r in results:
        lv, tr = r["level"], r["kind"] == "transcript"
        print("%-14s %-10s %-5s %-6s %-5s %-19s %-6s %-6s %s" % (
            r["name"], r["kind"], "ok" if lv >= 1 else "FAIL", "ok" if lv >= 2 else "FAIL" if lv == 1 else "-",
            "ok" if lv >= 3 else "FAIL" if lv == 2 else "-",
            "%s %.1fs" % (r["status"], r["seconds"]) if lv >= 3 else "-",
            ("ok" if r["exact"] is None else "no") if tr and lv >= 3 else "-",
            ("ok" if r["loose"] is None else "FAIL") if tr and lv >= 3 else "-", r["note"][:200]))
    count = lambda f: sum(1 for r in results if f(r))
    trans = [r for r in results if r["kind"] == "transcript"]
    print("totals: %d programs; translated %d, built %d, ran %d; transcripts %d: exact %d, loose %d"
          % (len(results), count(lambda r: r["level"] >= 1), count(lambda r: r["level"] >= 2),
             count(lambda r: r["level"] >= 3), len(trans),
             sum(1 for r in trans if r["level"] >= 3 and r["exact"] is None),
             sum(1 for r in trans if r["level"] >= 4)))
    bad = [r["name"] for r in results if r["level"] < (4 if r["kind"] == "transcript" else 3)]
    if bad:
        print("FAIL: " + " ".join(bad))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
