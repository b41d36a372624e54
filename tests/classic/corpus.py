#!/usr/bin/env python3
"""The classic corpus: every program of <repository>/../shared/classic judged
with `kzo2c --classic` by the levels of that folder's README:

  1 translate   kzo2c --classic NAME.bas NAME.c exits 0
  2 build       gcc -O1 -w $KZO_CFLAGS NAME.c -lm, and clang -fsyntax-only
  3 run         fed inputs/NAME.txt on a pipe: ends within 10 s without a signal
                or a sanitizer report, status 0 unless it stopped with
                "input past end" (a session "stopped after N lines" is cut there)
  4 transcript  output equal to expected/NAME.txt, exactly and loosely (blank
                runs as one blank, numbers within a millionth of their size)

Both sides of level 4: CR LF and CR end lines; trailing blanks, empty lines
at the end and a last `BREAK IN n` line are ignored. For a session that ends
when the input runs out, the transcript's last line need only begin the
output's line. Prints a table and the totals; exits 1 when a program fails
level 3 or a transcript program fails level 4 loosely; 77 (skipped) when the
folder is absent or kzo2c has no --classic, but 1 then under CI=true.

    corpus.py --kzo2c build/kzo2c [--folder DIR] [--jobs 2] [NAME...]
"""
import argparse, concurrent.futures, os, re, select, shlex, shutil, subprocess, sys, tempfile, threading, time

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
LIMIT, MAXOUT = 10.0, 8 << 20
NUMBER = r"(-?(?:\d+\.?\d*|\.\d+)(?:E[-+]?\d+)?)"


def lines_of(data, cut):
    text = data.decode("latin-1").replace("\r\n", "\n").replace("\r", "\n")
    lines = [l.rstrip(" \t") for l in text.split("\n")][:cut]
    for drop in (lambda l: not l, lambda l: re.fullmatch(r"BREAK IN \d+", l), lambda l: not l):
        while lines and drop(lines[-1]):
            lines.pop()
    return lines


def loosely(want, got, prefix):
    w, g = (re.split(NUMBER, re.sub(" +", " ", s)) for s in (want, got))
    if prefix and len(g) >= len(w):
        g = g[:len(w) - 1] + [g[len(w) - 1][:len(w[-1])]]
    return len(w) == len(g) and all(
        a == b or (i % 2 and abs(float(a) - float(b)) <= 1e-6 * max(1.0, abs(float(a))))
        for i, (a, b) in enumerate(zip(w, g)))


def compare(want, got, runs_out, loose):
    """None when got matches the transcript want, else the first difference."""
    for i, w in enumerate(want + [None]):
        g = got[i] if i < len(got) else None
        prefix = runs_out and i == len(want) - 1
        if w is None:
            return None if runs_out or g is None else "line %d: want the end, got %r" % (i + 1, g)
        if g is None or not (loosely(w, g, prefix) if loose else g.startswith(w) if prefix else g == w):
            return "line %d: want %r, got %r" % (i + 1, w, g)


def run(exe, data, cut):
    """(status, stdout, stderr, problem, cut short) of exe fed data on a pipe."""
    t0 = time.monotonic()
    p = subprocess.Popen([exe], stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                         stderr=subprocess.PIPE, start_new_session=True)
    err = []
    threads = [threading.Thread(target=lambda: err.append(p.stderr.read())),
               threading.Thread(target=_feed, args=(p.stdin, data))]
    for t in threads:
        t.start()
    out, problem = b"", None
    while not problem:
        left = t0 + LIMIT - time.monotonic()
        chunk = os.read(p.stdout.fileno(), 65536) if select.select([p.stdout], [], [], max(left, 0))[0] else None
        if chunk is None or len(out) > MAXOUT:
            problem = "did not end within %.0f s" % LIMIT if chunk is None else "wrote more than 8 MB"
        out += chunk or b""
        if not chunk or (cut and out.count(b"\n") >= cut):
            break
    try:
        if not problem and not (cut and out.count(b"\n") >= cut):
            p.wait(max(0.1, t0 + LIMIT - time.monotonic()))
    except subprocess.TimeoutExpired:
        problem = "did not end within %.0f s" % LIMIT
    short = bool(problem) or p.poll() is None
    if short:
        os.killpg(p.pid, 9)
    status = p.wait()
    for t in threads:
        t.join()
    return status, out, b"".join(err), problem, short


def _feed(pipe, data):
    try:
        pipe.write(data)
        pipe.close()
    except OSError:
        pass


def judge(name, folder, kzo2c, ends, work):
    """One program through the levels: (level reached, status, exact, loose, note)."""
    path = lambda sub, ext=".txt": os.path.join(folder, sub, name + ext)
    cfile, exe = os.path.join(work, name + ".c"), os.path.join(work, name)
    steps = [[kzo2c, "--classic", path("programs", ".bas"), cfile],
             ["gcc", "-O1", "-w"] + shlex.split(os.environ.get("KZO_CFLAGS", "")) + [cfile, "-o", exe, "-lm"],
             ["clang", "-fsyntax-only", "-w", cfile]]
    for level, cmd in enumerate(steps):
        r = subprocess.run(cmd, capture_output=True, timeout=300)
        if r.returncode:
            return min(level, 1), "-", None, None, "%s exit %d: %s" % (
                os.path.basename(cmd[0]), r.returncode, (r.stdout + r.stderr).decode("latin-1").strip()[-300:])
    m = re.match(r"stopped after (\d+) lines", ends)
    cut = int(m.group(1)) if m else None
    with open(path("inputs"), "rb") as f:
        status, out, err, problem, short = run(exe, f.read(), cut)
    ranout = b"input past end" in out + err
    if not problem and re.search(rb"Sanitizer|runtime error:", err):
        problem = "sanitizer report: " + err.decode("latin-1").strip()[:400]
    elif not problem and not short and status:
        if status < 0 or not ranout:
            problem = "killed by signal %d" % -status if status < 0 else "exit %d before its input ran out: %s" % (
                status, (out + err).decode("latin-1")[-200:].replace("\n", " | "))
    if problem:
        return 2, "-", None, None, problem
    how = "cut" if short else "exit %d%s" % (status, " input end" if ranout else "")
    if not os.path.exists(path("expected")):
        return 3, how, None, None, ""
    with open(path("expected"), "rb") as f:
        want, got = lines_of(f.read(), cut), lines_of(out, cut)
    exact, loose = (compare(want, got, ends == "input runs out", l) for l in (False, True))
    return 3 if loose else 4, how, exact or "ok", loose or "ok", exact or ""


def unavailable(why):
    print(why + ("; a failure under CI=true" if os.environ.get("CI") == "true" else "; SKIPPED"))
    return 1 if os.environ.get("CI") == "true" else 77


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--folder", default=os.path.join(ROOT, "..", "shared", "classic"))
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("names", nargs="*")
    a = ap.parse_args()
    folder, kzo2c = os.path.abspath(a.folder), os.path.abspath(a.kzo2c)
    if not os.path.isdir(os.path.join(folder, "programs")):
        return unavailable("the classic corpus %s is not there" % folder)
    work = tempfile.mkdtemp(prefix="kzoclassic")
    try:
        with open(os.path.join(work, "p.bas"), "w") as f:
            f.write("10 END\n")
        probe = subprocess.run([kzo2c, "--classic", "p.bas", "p.c"], cwd=work, capture_output=True)
        if probe.returncode == 2:
            return unavailable("%s has no --classic (exit 2: %s)" % (kzo2c, probe.stderr.decode().strip()))
        with open(os.path.join(folder, "README.md")) as f:
            ends = {c[1]: c[3] for c in ([x.strip() for x in l.split("|")] for l in f) if len(c) > 4}
        names = a.names or sorted(f[:-4] for f in os.listdir(os.path.join(folder, "programs")))
        with concurrent.futures.ThreadPoolExecutor(a.jobs) as pool:
            results = list(pool.map(lambda n: (n,) + judge(n, folder, kzo2c, ends.get(n, "-"), work), names))
    finally:
        shutil.rmtree(work, ignore_errors=True)
    row = "%-14s %-6s %-6s %-6s %-16s %-6s %-6s %s"
    print(row % ("program", "trans", "build", "run", "status", "exact", "loose", "note"))
    for name, level, how, exact, loose, note in results:
        marks = ["ok" if level > k else "FAIL" if level == k else "-" for k in range(3)]
        verdicts = [("-" if v is None else "ok" if v == "ok" else bad) for v, bad in ((exact, "no"), (loose, "FAIL"))]
        print(row % tuple([name] + marks + [how] + verdicts + [note[:160]]))
    texts = [r for r in results if os.path.exists(os.path.join(folder, "expected", r[0] + ".txt"))]
    print("totals: %d programs; translated %d, built %d, ran %d; transcripts %d: exact %d, loose %d" % (
        len(results), *(sum(r[1] >= k for r in results) for k in (1, 2, 3)), len(texts),
        sum(r[3] == "ok" for r in texts), sum(r[4] == "ok" for r in texts)))
    bad = [r[0] for r in results if r[1] < 3 or r[4] not in (None, "ok")]
    print("FAIL: " + " ".join(bad) if bad else "corpus passed")
    return 1 if bad else 0


if __name__ == "__main__":
    sys.exit(main())
