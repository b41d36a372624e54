"""Runs programs for the benchmarks and measures them.

run_in_pty: a generated program on a pseudo-terminal whose keys are fed at
once (a burst of line feeds at the start, then one more every millisecond),
so that the greeting, PAUSE and END waits return immediately and cost next
to nothing. run_plain: any other program, standard input from /dev/null.

Both return a Result with the wall time from the start to the exit, the
CPU time (user + system) and the peak resident size of that one process.
The program is started through the small C helper measure.c, which reads
them with wait4 for exactly that process: nothing else (the feeder, a
generator) is counted, and the child does not start with the size of the
Python driver, as one forked from it directly would until its exec.
"""
import atexit
import os
import select
import shutil
import subprocess
import tempfile
import threading
import time

_helper = {}


def helper():
    """Path of the compiled measure helper (built once per run)."""
    if "path" not in _helper:
        d = tempfile.mkdtemp(prefix="kzo2c-measure-")
        atexit.register(shutil.rmtree, d, True)
        exe = os.path.join(d, "measure")
        src = os.path.join(os.path.dirname(os.path.abspath(__file__)), "measure.c")
        subprocess.run(["cc", "-O2", src, "-o", exe], check=True)
        _helper["path"] = exe
        _helper["dir"] = d
        _helper["n"] = 0
    _helper["n"] += 1
    return _helper["path"], os.path.join(_helper["dir"], "m%d.txt" % _helper["n"])


def _measured(argv):
    exe, report = helper()
    return [exe, report] + list(argv), report


def _result(t0, box, report, output):
    with open(report) as f:
        rss, user, system, status = f.read().split()
    os.unlink(report)
    return Result(box["t"] - t0, float(user) + float(system), int(rss),
                  int(status), output)


class Result:
    def __init__(self, wall, cpu, maxrss_kb, status, output):
        self.wall = wall            # seconds, start to exit
        self.cpu = cpu              # seconds, user + system
        self.maxrss_kb = maxrss_kb  # peak resident size in KB
        self.status = status        # wait status
        self.output = output        # bytes the program wrote (terminal or stdout)


def _waiter(pid, box):
    _, status = os.waitpid(pid, 0)
    box["t"] = time.perf_counter()
    box["status"] = status


def run_in_pty(argv, cwd, timeout=120.0, key=b"\n"):
    argv, report = _measured(argv)
    master, slave = os.openpty()
    env = dict(os.environ, TERM="xterm", LINES="24", COLUMNS="80")
    t0 = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdin=slave, stdout=slave,
                            stderr=slave, env=env, start_new_session=True,
                            close_fds=True)
    os.close(slave)
    box = {}
    waiter = threading.Thread(target=_waiter, args=(proc.pid, box))
    waiter.start()
    out = bytearray()
    try:
        os.write(master, key * 8)
        nextkey = time.perf_counter() + 0.001
        while waiter.is_alive():
            now = time.perf_counter()
            if now - t0 > timeout:
                os.killpg(proc.pid, 9)
                break
            if now >= nextkey:
                try:
                    os.write(master, key)
                except OSError:
                    pass
                nextkey = now + 0.001
            r, _, _ = select.select([master], [], [], 0.001)
            if r:
                try:
                    data = os.read(master, 65536)
                except OSError:
                    data = b""
                if not data:
                    waiter.join(0.01)
                else:
                    out += data
    finally:
        waiter.join()
        os.close(master)
    proc.returncode = 0  # reaped by the waiter
    return _result(t0, box, report, bytes(out))


def run_plain(argv, cwd, timeout=600.0):
    argv, report = _measured(argv)
    t0 = time.perf_counter()
    proc = subprocess.Popen(argv, cwd=cwd, stdin=subprocess.DEVNULL,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    box = {}
    waiter = threading.Thread(target=_waiter, args=(proc.pid, box))
    waiter.start()
    timer = threading.Timer(timeout, lambda: proc.kill())
    timer.start()
    out = proc.stdout.read()
    waiter.join()
    timer.cancel()
    proc.stdout.close()
    proc.returncode = 0  # reaped by the waiter
    return _result(t0, box, report, out)


def median(values):
    v = sorted(values)
    n = len(v)
    return v[n // 2] if n % 2 else (v[n // 2 - 1] + v[n // 2]) / 2.0


def translate_and_compile(kzo2c, source, workdir, name, cc="cc"):
    """kzo2c SOURCE name.c, then cc -O2; returns the program's path."""
    c_file = os.path.join(workdir, name + ".c")
    exe = os.path.join(workdir, name)
    r = subprocess.run([kzo2c, source, c_file], capture_output=True, text=True)
    if r.returncode != 0 or r.stdout or not os.path.exists(c_file):
        raise SystemExit("kzo2c failed on %s:\n%s%s" % (source, r.stdout, r.stderr))
    r = subprocess.run([cc, "-O2", c_file, "-o", exe, "-lncurses", "-lm"],
                       capture_output=True, text=True)
    if r.returncode != 0:
        raise SystemExit("cc failed on %s:\n%s" % (c_file, r.stderr[-2000:]))
    return exe
