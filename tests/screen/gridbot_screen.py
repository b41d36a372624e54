#!/usr/bin/env python3
"""Screen tests of gridbot: run the real program in tmux, press a key at each
of its waits, and check what the screen shows and how the program exits.

Each case is a script (from scripts/), the screens to wait for (a key is
pressed once each is shown), the exit status and what the terminal shows
after the exit. Every wait is bounded; every tmux server is killed.
"""
import argparse
import concurrent.futures
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

WAIT = 15.0      # seconds for one screen to appear
LIFETIME = 120   # seconds a tmux server may live at most
COLS, ROWS = 80, 30
SKIP = 77        # ctest's skip code when tmux is missing (a failure under CI=true)

COMMANDS = ["PICK UP", "PUT DOWN", "RETURN", "END", "GOSUB", "IF MARKED GOTO",
            "IF ZERO GOTO", "IF BLOCKED GOTO", "IF NOT MARKED GOTO",
            "IF NOT ZERO GOTO", "IF NOT BLOCKED GOTO", "GOTO", "/"]


# ---- screen predicates: each takes the screen as a list of ROWS lines ----

def last_line(screen):
    rows = [r for r in screen if r.strip()]
    return rows[-1] if rows else ""


def shows(text):
    def pred(screen):
        return any(text in r for r in screen)
    pred.what = "text %r" % text
    return pred


def has_row(text):
    def pred(screen):
        return text in screen
    pred.what = "a row %r" % text
    return pred


def last_is(text):
    def pred(screen):
        return last_line(screen) == text
    pred.what = "last line %r" % text
    return pred


def blank(screen):
    return not any(r.strip() for r in screen)
blank.what = "an empty screen"


def rows_are(rows):
    """The screen holds exactly these rows from the top, nothing below."""
    def pred(screen):
        return screen[:len(rows)] == rows and blank(screen[len(rows):])
    pred.what = "the rows %r" % rows
    return pred


def commands_listed(screen):
    return [r.rstrip() for r in screen[:len(COMMANDS)]] == COMMANDS
commands_listed.what = "the command table"


def both(*preds):
    def pred(screen):
        return all(p(screen) for p in preds)
    pred.what = " and ".join(p.what for p in preds)
    return pred


def grid(cells, rows_below=None):
    """The 10x32 grid of the start ("." everywhere, "4" at 9, "5" at 17)
    with the given cells changed and nothing right of it; rows_below maps a
    screen row under the grid to its whole text."""
    want = ["."] * 320
    want[9], want[17] = "4", "5"
    for cell, ch in cells.items():
        want[cell] = ch
    text = ["".join(want[r * 32:r * 32 + 32]) for r in range(10)]

    def pred(screen):
        for r in range(10):
            if screen[r][:32] != text[r] or screen[r][32:].strip():
                return False
        for r, start in (rows_below or {}).items():
            if screen[r] != start:
                return False
        return True
    pred.what = "grid with %s %s" % (cells, rows_below or "")
    return pred


HELLO = shows("hello world")
LOADING = [HELLO, last_is("/"), last_is(" END!"), commands_listed,
           last_is(" END"), last_is(",END,.")]
START = grid({0: ">"})

# The five loading screens of ADD.BAS: the lines as read (all but the first),
# without their first character and trailing blanks, the command table, the
# parsed lines, and label, command and target of each.
ADD_LINES = ["FIND IF MARKED GOTO TAKE", " WALK", " GOTO FIND",
             "TAKE IF NOT MARKED GOTO MOVE", " PICK UP", " GOSUB TAKE",
             " PUT DOWN", " RETURN", "MOVE WALK", " IF NOT MARKED GOTO MOVE",
             " RETURN", " END"]
ADD_FIELDS = ["FIND,IF MARKED GOTO,TAKE.", ",WALK,.", ",GOTO,FIND.",
              "TAKE,IF NOT MARKED GOTO,MOVE.", ",PICK UP,.", ",GOSUB,TAKE.",
              ",PUT DOWN,.", ",RETURN,.", "MOVE,WALK,.",
              ",IF NOT MARKED GOTO,MOVE.", ",RETURN,.", ",END,."]
ADD_LOADING = [
    HELLO,
    rows_are(["hello world"] + [" " + l for l in ADD_LINES[1:-1]] + ["/"]),
    rows_are([l + "!" for l in ADD_LINES]),
    commands_listed,
    rows_are(ADD_LINES),
    rows_are(ADD_FIELDS)]

# ---- the cases ----
# name: (arguments, screens to pass, exit status, text shown after the exit)
# An argument "@x" is the script scripts/x; the working directory is the
# folder of ADD.BAS, so a run without an argument reads ADD.BAS.

CASES = {
    "ADD.BAS: loading, start grid, sum": (
        [], ADD_LOADING + [START, grid({9: ".", 17: "9"})], 0, None),
    "two arguments read ADD.BAS": (
        ["@walk_row.bas", "@pick_up.bas"],
        LOADING + [START, grid({9: ".", 17: "9"})], 0, None),
    "WALK from cell 31 goes to row 1 (nested GOSUBs)": (
        ["@walk_row.bas"],
        LOADING[:5] + [both(LOADING[5], has_row(",GOSUB,W16."),
                            has_row("W1,WALK,."))]
        + [START, grid({31: "-", 32: "-"}), blank], 0, None),
    "PICK UP on 1 gives . and on 5 gives 4": (
        ["@pick_up.bas"], LOADING + [START, grid({9: ".", 17: "4"}), blank],
        0, None),
    "PUT DOWN on 9 gives : and on . gives 1": (
        ["@put_down.bas"], LOADING + [START, grid({17: ":", 18: "1"})],
        0, None),
    "IF tests": (
        ["@conditions.bas"], LOADING + [START, grid({0: "-", 1: "1"})],
        0, None),
    # Also: a label with trailing blanks and an empty line do nothing.
    "RETURN on an empty stack ends the run": (
        ["@return_empty.bas"], LOADING + [START, grid({1: "-"})], 0, None),
    "END command": (
        ["@end_command.bas"], LOADING + [START, grid({}), blank], 0, None),
    "running off the last line reaches the added END": (
        ["@run_off.bas"], LOADING + [START, grid({2: "-"}), blank], 0, None),
    "BAD COMMAND during loading, index overflow when run": (
        ["@bad_command.bas"],
        LOADING[:4] + [both(LOADING[4], has_row("BAD COMMAND IN LINE 2")),
                       both(LOADING[5], has_row("X,WALK,."), has_row("X,,."))]
        + [START], 1, "index overflow in line 146"),
    "jump to an undefined label": (
        ["@undefined_label.bas"],
        LOADING[:5] + [both(LOADING[5], has_row(",GOTO,NOWHERE."))] + [START],
        1, "index overflow in line 146"),
    "missing script file": (
        ["@no_such_script.bas"], [HELLO], 1, "bad name in line 7"),
    "script without /": (
        ["@no_slash.bas"], [HELLO], 1, "input past end in line 14"),
    "empty script": (
        ["@empty.bas"], [HELLO], 1, "input past end in line 14"),
    "24 script lines are too many": (
        ["@too_long.bas"], [HELLO, shows("SCRIPT TOO LONG")], 0, None),
    "25 names are too many": (
        ["@too_many_names.bas"],
        LOADING + [shows("TOO MANY NAMES")], 0, None),
    "24 names and 23 lines fit": (
        ["@names_24.bas"], LOADING + [START, grid({}), blank], 0, None),
    "a line of 298 bytes fits": (
        ["@line_298.bas"], LOADING + [START, grid({1: "-"}), blank], 0, None),
    "a first line of 299 bytes is refused": (
        ["@line_299.bas"], [HELLO, shows("LINE TOO LONG")], 0, None),
    "a later line of 1000 bytes is refused": (
        ["@line_1000.bas"], [HELLO, shows("LINE TOO LONG")], 0, None),
    # One WALK per nesting: 100 GOSUBs are taken, the 101st is refused.
    "101 nested GOSUBs": (
        ["@stack_full.bas"],
        LOADING + [START, grid({101: ">"}, {16: "", 17: "STACK FULL"})],
        0, None),
    "walking past cell 511": (
        ["@off_grid.bas"],
        LOADING + [START, grid({}, dict([(r, ">" * 32) for r in range(10, 16)]
                                        + [(16, ""), (17, "OFF THE GRID")]))],
        0, None),
    "PICK UP below the grid": (
        ["@nothing_to_pick.bas"],
        LOADING + [START, grid({}, {10: ">", 11: "", 17: "NOTHING TO PICK UP"})],
        0, None),
}


LIVE = set()     # servers not yet killed, for the SIGTERM handler


class Tmux:
    """One private tmux server with one 80x30 window."""

    def __init__(self, tmux, workdir):
        LIVE.add(self)
        self.workdir = workdir
        self.tmux = tmux
        self.sock = os.path.join(workdir, "sock")
        self.conf = os.path.join(workdir, "tmux.conf")
        with open(self.conf, "w") as f:
            f.write("set -g status off\n")

    def run(self, *args):
        env = {k: v for k, v in os.environ.items() if k != "TMUX"}
        return subprocess.run([self.tmux, "-S", self.sock, "-f", self.conf]
                              + list(args), env=env, capture_output=True,
                              text=True, timeout=10, check=True).stdout

    def start(self, command, cwd):
        self.run("new-session", "-d", "-x", str(COLS), "-y", str(ROWS),
                 "-c", cwd, command)

    def screen(self):
        lines = self.run("capture-pane", "-p", "-t", "0").split("\n")
        lines = [l.rstrip() for l in lines[:ROWS]]
        return lines + [""] * (ROWS - len(lines))

    def key(self):
        self.run("send-keys", "-t", "0", "x")

    def kill(self):
        try:
            self.run("kill-server")
        except (subprocess.SubprocessError, OSError):
            pass


def on_term(signum, frame):
    # A worker may be starting a server right now: sweep a few times.
    for _ in range(5):
        for tm in list(LIVE):
            tm.kill()
            shutil.rmtree(tm.workdir, ignore_errors=True)
        time.sleep(0.2)
    os._exit(1)


def wait_for(what, poll):
    end = time.monotonic() + WAIT
    while True:
        got = poll()
        if got:
            return got
        if time.monotonic() > end:
            raise AssertionError("timed out waiting for " + what)
        time.sleep(0.05)


def run_case(name, case, opts):
    args, screens, status, after = case
    args = [os.path.join(opts.scripts, a[1:]) if a.startswith("@") else a
            for a in args]
    workdir = tempfile.mkdtemp(prefix="gridbot-screen-")
    exitfile = os.path.join(workdir, "exit")
    tm = Tmux(opts.tmux, workdir)
    screen = []
    try:
        # The pane ends by itself even if this runner is killed: gridbot
        # gets LIFETIME seconds, the shell keeps its last screen for as long.
        command = " ".join(["TERM=xterm timeout --foreground %d" % LIFETIME,
                            sh_quote(opts.gridbot)]
                           + [sh_quote(a) for a in args])
        tm.start("%s; echo $? > %s; exec sleep %d"
                 % (command, sh_quote(exitfile), LIFETIME), opts.cwd)
        for pred in screens:
            def seen():
                screen[:] = tm.screen()
                return pred(screen)
            wait_for(pred.what, seen)
            tm.key()

        def exited():
            try:
                with open(exitfile) as f:
                    text = f.read().strip()
                return text or None
            except OSError:
                return None
        code = int(wait_for("the program to exit", exited))
        screen[:] = tm.screen()
        if code != status:
            raise AssertionError("exit status %d, wanted %d" % (code, status))
        if after and not shows(after)(screen):
            raise AssertionError("no %r after the exit" % after)
        return None
    except (AssertionError, subprocess.SubprocessError) as e:
        return "%s\n--- last screen ---\n%s" % (e, "\n".join(screen).rstrip())
    finally:
        tm.kill()
        LIVE.discard(tm)
        shutil.rmtree(workdir, ignore_errors=True)


def sh_quote(s):
    return "'" + s.replace("'", "'\\''") + "'"


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    ap = argparse.ArgumentParser()
    ap.add_argument("--gridbot", required=True)
    ap.add_argument("--cwd", required=True, help="folder holding ADD.BAS")
    ap.add_argument("--scripts", default=os.path.join(here, "scripts"))
    ap.add_argument("--tmux", default=shutil.which("tmux"))
    ap.add_argument("--jobs", type=int, default=4)
    ap.add_argument("case", nargs="*", help="run only cases containing this")
    opts = ap.parse_args()
    if not opts.tmux:
        if os.environ.get("CI") == "true":
            print("tmux not found: under CI=true that is a failure")
            return 1
        print("tmux not found: screen tests skipped")
        return SKIP
    opts.gridbot = os.path.abspath(opts.gridbot)
    opts.cwd = os.path.abspath(opts.cwd)
    signal.signal(signal.SIGTERM, on_term)
    signal.signal(signal.SIGINT, on_term)
    names = [n for n in CASES if not opts.case or any(c in n for c in opts.case)]
    with concurrent.futures.ThreadPoolExecutor(opts.jobs) as pool:
        results = list(pool.map(lambda n: run_case(n, CASES[n], opts), names))
    failed = 0
    for name, err in zip(names, results):
        print("%s: %s" % ("ok  " if err is None else "FAIL", name))
        if err is not None:
            failed += 1
            print("    " + err.replace("\n", "\n    "))
    print("%d of %d cases passed" % (len(names) - failed, len(names)))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
