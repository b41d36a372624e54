#!/usr/bin/env python3
"""Randomized check of array bounds in generated programs.

Each seed gives a small dialect program that DIMs arrays of random sizes
(numbers and constant expressions, one and two dimensions, numeric and
string) and indexes them with computed subscripts: variables, sums and
products, subscripts of other arrays, FOR loops that may run past the end.
The generator follows the values, so it knows the first line whose
subscript falls outside 0..N-1 after rounding half up, if any.

Every program is translated, compiled with the address and undefined-
behaviour sanitizers and run on a pseudo-terminal. It must either run to
its end (status 0) or stop with "index overflow in line L" at exactly the
line the generator expects (status 1); nothing may appear on standard
error, where a sanitizer report would go.

    bounds_random.py --kzo2c build/kzo2c [--seeds N] [--first S] [--jobs J]

prints the counts (programs, clean runs, stops) and exits 1 on any failure.
"""
import argparse
import concurrent.futures
import os
import random
import select
import shutil
import subprocess
import sys
import tempfile
import time

SANITIZE = ["-fsanitize=address,undefined", "-fno-sanitize-recover=all",
            "-fno-omit-frame-pointer"]
RUN_LIMIT = 30.0


class Program:
    """One random program and the line where it must stop (None: no stop)."""

    def __init__(self, seed):
        self.rng = random.Random(seed)
        self.lines = []
        self.stop = None
        self.vars = {}      # numeric variable -> value
        self.arrays = {}    # name -> (sizes, values dict, is string)
        self.build()

    # -- values -----------------------------------------------------------
    def number(self):
        # Quarters are exact in binary, so C and Python agree on every sum.
        return self.rng.choice([0, 1, 2, 3, 0.25, 0.5, 1.5, 2.5, 4, 7])

    @staticmethod
    def text(v):
        return repr(float(v)).rstrip("0").rstrip(".") if v != int(v) else str(int(v))

    def emit(self, line):
        self.lines.append(line)
        return len(self.lines)

    def inrange(self, x, n):
        return -0.5 <= x < n - 0.5

    # -- expressions: (dialect text, value, ok) where ok is False when a
    #    subscript inside it is out of range ----------------------------
    def target(self, n, wild):
        """A subscript value: in range, or near the bounds when wild."""
        if wild:
            return self.rng.choice([n, n - 0.5, n + 1, -0.6, -1, n - 1, n - 0.6, -0.5])
        return self.rng.randrange(n)

    @staticmethod
    def offset(k):
        return "+" + Program.text(k) if k >= 0 else "-" + Program.text(-k)

    def subscript_expr(self, n, depth=0):
        r = self.rng.random()
        wild = self.rng.random() < 0.08  # aim at the bounds on purpose
        t = self.target(n, wild)
        if r < 0.3 or not self.vars:
            return (self.text(t) if t >= 0 else "0-" + self.text(-t)), t, True
        name = self.rng.choice(sorted(self.vars))
        v = self.vars[name]
        if r < 0.6:
            return name + self.offset(t - v), t, True
        if r < 0.8 and depth < 2:
            numeric = [a for a, (s, _, st) in self.arrays.items() if not st and len(s) == 1]
            if numeric:
                a = self.rng.choice(sorted(numeric))
                m = self.arrays[a][0][0]
                inner, iv, ok = self.subscript_expr(m, depth + 1)
                ok = ok and self.inrange(iv, m)
                val = self.arrays[a][1].get((self.index(iv),), 0) if ok else 0
                return "%s(%s)" % (a, inner), val, ok
        return name + "*2" + self.offset(t - v * 2), t, True

    @staticmethod
    def index(x):
        return int(x + 0.5)

    def element(self, name):
        """A subscripted element of an array: (text, key, ok)."""
        sizes, _, _ = self.arrays[name]
        parts, key, ok = [], [], True
        for n in sizes:
            t, v, sok = self.subscript_expr(n)
            parts.append(t)
            key.append(self.index(v))
            ok = ok and sok and self.inrange(v, n)
        if len(sizes) == 2 and self.rng.random() < 0.5:
            return "%s(%s)(%s)" % (name, parts[0], parts[1]), tuple(key), ok
        return "%s(%s)" % (name, ",".join(parts)), tuple(key), ok

    # -- statements -------------------------------------------------------
    def statement(self):
        r = self.rng.random()
        names = sorted(self.arrays)
        if r < 0.15:
            var = self.rng.choice("IJK")
            v = self.number()
            self.vars[var] = v
            return " %s=%s" % (var, self.text(v)), True
        if r < 0.55:
            a = self.rng.choice(names)
            text, key, ok = self.element(a)
            sizes, values, isstring = self.arrays[a]
            if isstring:
                return ' %s="X%d"' % (text, len(self.lines)), ok
            v = self.number()
            if ok:
                values[key] = v
            return " %s=%s" % (text, self.text(v)), ok
        if r < 0.85:
            a, b = self.rng.choice(names), self.rng.choice(names)
            ta, _, oka = self.element(a)
            tb, _, okb = self.element(b)
            def length(t, name):  # a string element counts by its length
                return "LEN(%s)" % t if self.arrays[name][2] else t
            return " X=%s+%s" % (length(ta, a), length(tb, b)), oka and okb
        return None, True  # a FOR loop, made by the caller

    def loop(self):
        onedim = [a for a, (s, _, st) in self.arrays.items() if len(s) == 1]
        if not onedim:
            return None
        a = self.rng.choice(sorted(onedim))
        n = self.arrays[a][0][0]
        lo = self.rng.randrange(n)
        hi = self.rng.choice([n - 1, n - 1, n, lo])
        var = self.rng.choice("IJK")
        self.emit(" FOR %s=%d TO %d" % (var, lo, hi))
        isstring = self.arrays[a][2]
        body = self.emit(' %s(%s)="L"' % (a, var) if isstring else " %s(%s)=%s" % (a, var, var))
        self.emit(" NEXT %s" % var)
        v = lo
        while True:  # the body runs at least once
            if not self.inrange(v, n):
                return body
            if not isstring:
                self.arrays[a][1][(v,)] = v
            v += 1
            if v > hi:
                break
        self.vars[var] = v
        return None

    def build(self):
        rng = self.rng
        count = rng.randint(1, 3)
        consts = {}
        if rng.random() < 0.5:
            consts["MAX"] = rng.randint(1, 9)
            self.emit("# CONSTANT MAX = %d" % consts["MAX"])
        decl = []
        for k in range(count):
            kind = rng.choice(["1", "1", "2", "$"])
            name = "ABCDEFGH"[k] + ("$" if kind == "$" else "")
            dims = 2 if kind == "2" else 1
            sizes, texts = [], []
            for _ in range(dims):
                if consts and rng.random() < 0.5:
                    extra = rng.randint(0, 3)
                    sizes.append(consts["MAX"] + extra)
                    texts.append("MAX+%d" % extra if extra else "MAX")
                else:
                    sizes.append(rng.randint(1, 12))
                    texts.append(str(sizes[-1]))
            self.arrays[name] = (sizes, {}, kind == "$")
            decl.append("%s(%s)" % (name, ",".join(texts)))
        self.emit(" DIM " + ",".join(decl))
        for _ in range(rng.randint(4, 25)):
            if rng.random() < 0.12:
                stopline = self.loop()
                if stopline:
                    self.stop = stopline
                    return
                continue
            text, ok = self.statement()
            if text is None:
                continue
            line = self.emit(text)
            if not ok:
                self.stop = line
                return
        self.emit(" END")

    def source(self):
        return "\n".join(self.lines) + "\n"


def run_on_pty(exe, cwd):
    """Runs exe with keys fed; returns (status, terminal bytes, stderr)."""
    master, slave = os.openpty()
    env = dict(os.environ, TERM="xterm", LINES="24", COLUMNS="80",
               ASAN_OPTIONS="detect_leaks=0",
               UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1")
    err = tempfile.TemporaryFile()
    proc = subprocess.Popen([exe], cwd=cwd, stdin=slave, stdout=slave, stderr=err,
                            env=env, start_new_session=True, close_fds=True)
    os.close(slave)
    out = bytearray()
    t0 = time.time()
    try:
        while proc.poll() is None:
            if time.time() - t0 > RUN_LIMIT:
                os.killpg(proc.pid, 9)
                proc.wait()
                break
            try:
                os.write(master, b"\n")
            except OSError:
                pass
            r, _, _ = select.select([master], [], [], 0.01)
            if r:
                try:
                    out += os.read(master, 65536)
                except OSError:
                    pass
        while True:
            r, _, _ = select.select([master], [], [], 0.05)
            if not r:
                break
            try:
                data = os.read(master, 65536)
            except OSError:
                break
            if not data:
                break
            out += data
    finally:
        os.close(master)
    err.seek(0)
    return proc.returncode, bytes(out), err.read().decode(errors="replace")


def check(kzo2c, seed, cflags):
    prog = Program(seed)
    d = tempfile.mkdtemp(prefix="kzo2c-bounds-")
    try:
        src = os.path.join(d, "prog.bas")
        with open(src, "w") as f:
            f.write(prog.source())
        r = subprocess.run([kzo2c, src, os.path.join(d, "prog.c")],
                           capture_output=True, text=True)
        if r.returncode != 0:
            return False, prog, "kzo2c refused it:\n" + r.stdout + r.stderr
        r = subprocess.run(["cc", "-g", "prog.c", "-o", "prog", "-lncurses", "-lm"] + cflags,
                           cwd=d, capture_output=True, text=True)
        if r.returncode != 0:
            return False, prog, "cc failed:\n" + r.stderr[-3000:]
        status, out, err = run_on_pty(os.path.join(d, "prog"), d)
        tail = out.decode(errors="replace").rstrip()
        if err:
            return False, prog, "standard error:\n" + err[-3000:]
        if prog.stop is None:
            if status != 0:
                return False, prog, "status %s, expected a clean run; output ends %r" % (status, tail[-200:])
        else:
            want = "index overflow in line %d" % prog.stop
            if status != 1 or not tail.endswith(want):
                return False, prog, "status %s, expected 1 and %r; output ends %r" % (
                    status, want, tail[-200:])
        return True, prog, ""
    finally:
        shutil.rmtree(d, True)


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--kzo2c", required=True)
    ap.add_argument("--seeds", type=int, default=20)
    ap.add_argument("--first", type=int, default=1)
    ap.add_argument("--jobs", type=int, default=2)
    ap.add_argument("--cflags", default=" ".join(SANITIZE))
    args = ap.parse_args()
    cflags = args.cflags.split()
    seeds = range(args.first, args.first + args.seeds)
    clean = stops = 0
    failures = []
    with concurrent.futures.ThreadPoolExecutor(args.jobs) as pool:
        for seed, (ok, prog, why) in zip(seeds, pool.map(lambda s: check(args.kzo2c, s, cflags), seeds)):
            if not ok:
                failures.append((seed, prog, why))
            elif prog.stop is None:
                clean += 1
            else:
                stops += 1
    for seed, prog, why in failures[:5]:
        print("seed %d: %s\n--- program\n%s" % (seed, why, prog.source()))
    print("programs %d, clean runs %d, index overflow stops %d, failures %d" % (
        len(seeds), clean, stops, len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
