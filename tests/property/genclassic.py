#!/usr/bin/env python3
"""Random classic (line-numbered, Microsoft-style) programs for the property
check of `kzo2c --classic`.

`correct(seed)` gives a program with DIM (sizes computed at run time, one and
two dimensions, string arrays), arrays used without DIM, DEF FN, LET and bare
assignments, PRINT and ? with ; , TAB( SPC( and trailing separators, IF ...
THEN n / GOTO n / THEN statements, GOTO, GOSUB, RETURN, ON ... GOTO/GOSUB,
FOR/TO/STEP with NEXT, NEXT V and NEXT V,W, READ/DATA/RESTORE, INPUT with and
without a prompt, RANDOMIZE, REM, STOP and END, and expressions with ^, unary
minus, relations on numbers and strings, NOT/AND/OR, parentheses and every
function. Words are glued without blanks (FORI=1TO9) wherever the keyword
scan still cuts them the same. `mutants(seed, n)` derives n programs with one
or two mistakes each: words dropped, doubled, swapped or replaced, types
swapped, lines out of order or numbered twice, a missing line number, jumps to
lines that do not exist, stray operators and keywords, cut statements.

    genclassic.py SEED        prints the correct program of SEED
    genclassic.py SEED K      prints its mutant number K (from 1)
"""
import random
import sys

# The keywords, found wherever they stand (longest first at one place).
KEYWORDS = ["ABS", "AND", "ASC", "ATN", "CHR$", "COS", "DATA", "DEF", "DIM", "END", "EXP",
            "FN", "FOR", "GOSUB", "GOTO", "IF", "INPUT", "INT", "LEFT$", "LEN", "LET",
            "LOG", "MID$", "NEXT", "NOT", "ON", "OR", "POS", "PRINT", "RANDOMIZE", "READ",
            "REM", "RESTORE", "RETURN", "RIGHT$", "RND", "SGN", "SIN", "SPC(", "SQR",
            "STEP", "STOP", "STR$", "TAB(", "TAN", "THEN", "TO", "VAL", "ELSE"]
NUMS = ["A", "B", "C", "X", "Y", "Z", "K", "N", "Q1", "Z9", "W2", "SUM", "DIG", "X7"]
STRS = ["A$", "B$", "Q$", "S1$", "W$", "NAM$"]
NUMFUNCS = ["ABS", "ATN", "COS", "EXP", "INT", "SGN", "SIN", "TAN", "SQR", "LOG", "RND"]
TEXTS = ["", "HELLO", "A,B", "YES", "50%", "%d", "IT'S", "A:B", "*/", "\\", "FOR I=1 TO 9", "REM"]
PUNCT = ["+", "-", "*", "/", "^", "=", "<", ">", "<>", "(", ")", ",", ";", ":", "$", "#", "?"]


def crunch(text):
    """The text cut as the keyword scan cuts it: keywords, quoted strings,
    and the other characters in runs between blanks and keywords."""
    out, cur, i = [], "", 0
    while i < len(text):
        if text[i] == '"':
            j = text.find('"', i + 1)
            j = len(text) if j < 0 else j + 1
            out += [cur, text[i:j]] if cur else [text[i:j]]
            cur, i = "", j
            continue
        k = max((k for k in KEYWORDS if text.upper().startswith(k, i)), key=len, default=None)
        if k or text[i] == " ":
            if cur:
                out.append(cur)
            cur = ""
            if k:
                out.append(k)
                if k in ("REM", "DATA"):
                    return out + [text[i + len(k):]]
            i += len(k) if k else 1
            continue
        cur += text[i]
        i += 1
    return out + ([cur] if cur else [])


def joinwords(words, rng):
    """The words with a blank or none between two, none only where the
    keyword scan cuts the text the same."""
    out = ""
    for w in words:
        if out and (rng.random() < 0.5 or crunch(out + w) != crunch(out + " " + w)):
            out += " "
        out += w
    return out


class Generator:
    def __init__(self, rng):
        self.r = rng
        self.nums = rng.sample(NUMS, 6)
        self.strs = rng.sample(STRS, 3)
        self.arrays = {}                      # name -> dimensions
        for name in rng.sample(["A", "D", "M", "T1", "P$", "L$"], 3):
            self.arrays[name] = rng.choice([1, 1, 2])
        self.fns = []                         # defined functions (usable after their line)
        self.depth = 0

    # -- expressions ------------------------------------------------------
    def number(self):
        return [self.r.choice(["0", "1", "2", "3", "10", "2.5", ".5", "1E3", "1.5E-2", "100", "7"])]

    def element(self, name):
        r = self.r
        w = [name, "("]
        for d in range(self.arrays.get(name, 1)):
            w += ([","] if d else []) + (self.number() if r.random() < 0.6 else self.nvar())
        return w + [")"]

    def nvar(self):
        return [self.r.choice(self.nums)]

    def nexpr(self):
        r = self.r
        self.depth += 1
        try:
            c = r.random() if self.depth < 4 else r.random() * 0.35
            if c < 0.15:
                return self.number()
            if c < 0.3:
                return self.nvar()
            if c < 0.35:
                names = [a for a, d in self.arrays.items() if not a.endswith("$")] + ["U"]
                return self.element(r.choice(names))
            if c < 0.5:
                return self.nexpr() + [r.choice(["+", "-", "*", "/", "^"])] + self.nexpr()
            if c < 0.55:
                return ["-"] + self.nexpr()
            if c < 0.6:
                return ["("] + self.nexpr() + [")"]
            if c < 0.68:
                return [r.choice(NUMFUNCS), "("] + self.nexpr() + [")"]
            if c < 0.74:
                return [r.choice(["LEN", "ASC", "VAL"]), "("] + self.sexpr() + [")"]
            if c < 0.78 and self.fns:
                return ["FN" + r.choice(self.fns), "("] + self.nexpr() + [")"]
            # relations and logic inside arithmetic need their parentheses
            if c < 0.9:
                return ["("] + self.condition() + [")"]
            if r.random() < 0.3:
                return ["(", "NOT"] + self.nexpr() + [")"]
            return ["("] + self.nexpr() + [r.choice(["AND", "OR"])] + self.nexpr() + [")"]
        finally:
            self.depth -= 1

    def svar(self):
        r = self.r
        if r.random() < 0.2:
            names = [a for a in self.arrays if a.endswith("$")] + ["V$"]
            return self.element(r.choice(names))
        return [r.choice(self.strs)]

    def sexpr(self):
        r = self.r
        self.depth += 1
        try:
            c = r.random() if self.depth < 4 else r.random() * 0.5
            if c < 0.25:
                return ['"%s"' % r.choice(TEXTS)]
            if c < 0.5:
                return self.svar()
            if c < 0.6:
                return ["CHR$", "("] + self.nexpr() + [")"]
            if c < 0.7:
                return ["STR$", "("] + self.nexpr() + [")"]
            if c < 0.85:
                f = r.choice(["LEFT$", "RIGHT$", "MID$", "MID$"])
                w = [f, "("] + self.sexpr() + [","] + self.nexpr()
                if f == "MID$" and r.random() < 0.5:
                    w += [","] + self.nexpr()
                return w + [")"]
            return self.sexpr() + ["+"] + self.sexpr()
        finally:
            self.depth -= 1

    def condition(self):
        r = self.r
        op = r.choice(["=", "<>", "<", ">", "<=", ">="])
        if r.random() < 0.3:
            return self.sexpr() + [op] + self.sexpr()
        return self.nexpr() + [op] + self.nexpr()

    # -- statements -------------------------------------------------------
    def target(self):
        return str(self.r.choice(self.numbers))

    def assignment(self):
        r = self.r
        let = ["LET"] if r.random() < 0.3 else []
        if r.random() < 0.35:
            return let + self.svar() + ["="] + self.sexpr()
        place = self.element(r.choice([a for a in self.arrays if not a.endswith("$")] + ["U"])) \
            if r.random() < 0.2 else self.nvar()
        return let + place + ["="] + self.nexpr()

    def printstatement(self):
        r = self.r
        w = [r.choice(["PRINT", "PRINT", "?"])]
        for i in range(r.choice([0, 1, 2, 3])):
            if i:
                w.append(r.choice([";", ";", ","]))
            c = r.random()
            if c < 0.15:
                w += [r.choice(["TAB(", "SPC("])] + self.nexpr() + [")"]
            else:
                w += self.nexpr() if c < 0.55 else self.sexpr()
        if len(w) > 1 and r.random() < 0.3:
            w.append(r.choice([";", ","]))
        return w

    def simple(self):
        r = self.r
        c = r.random()
        if c < 0.35:
            return self.assignment()
        if c < 0.55:
            return self.printstatement()
        if c < 0.6:
            return ["GOTO", self.target()]
        if c < 0.66:
            return ["GOSUB", self.target()]
        if c < 0.72:
            return ["ON"] + self.nexpr() + [r.choice(["GOTO", "GOSUB"]), self.target(), ",", self.target()]
        if c < 0.76:
            return ["RETURN"]
        if c < 0.8:
            return ["READ"] + self.nvar() + [","] + self.svar()
        if c < 0.83:
            return ["RESTORE"]
        if c < 0.87:
            prompt = ['"%s"' % r.choice(["NAME", "HOW MANY", ""]), ";"] if r.random() < 0.5 else []
            return ["INPUT"] + prompt + self.nvar() + ([","] + self.svar() if r.random() < 0.5 else [])
        if c < 0.9:
            return [r.choice(["STOP", "END", "RANDOMIZE"])]
        return self.assignment()

    def ifstatement(self):
        r = self.r
        w = ["IF"] + (self.condition() if r.random() < 0.8 else self.nexpr())
        c = r.random()
        if c < 0.3:
            return w + ["THEN", self.target()]
        if c < 0.4:
            return w + ["GOTO", self.target()]
        w += ["THEN"] + self.simple()
        while r.random() < 0.3:
            w += [":"] + self.simple()
        return w

    def line(self, i):
        """The statements of line i; FOR loops close on a later line."""
        r = self.r
        w = []
        for k in range(r.choice([1, 1, 2, 3])):
            if k:
                w.append(":")
            c = r.random()
            if c < 0.12 and len(self.open) < 3 and i < len(self.numbers) - 2:
                v = r.choice([n for n in self.nums if n not in self.open])
                self.open.append(v)
                w += ["FOR", v, "="] + self.nexpr() + ["TO"] + self.nexpr()
                if r.random() < 0.4:
                    w += ["STEP"] + self.nexpr()
            elif c < 0.25 and self.open:
                w += self.closeloops(r.randint(1, len(self.open)))
            elif c < 0.4:
                return w + self.ifstatement()
            else:
                w += self.simple()
        if r.random() < 0.1:
            w += [":", r.choice(["REM ", "REM"]) + r.choice(TEXTS)]
        return w

    def closeloops(self, n):
        done = [self.open.pop() for _ in range(n)]
        c = self.r.random()
        if n == 1 and c < 0.3:
            return ["NEXT"]
        if c < 0.6:
            w = ["NEXT"]
            for k, v in enumerate(done):
                w += ([","] if k else []) + [v]
            return w
        w = []
        for k, v in enumerate(done):
            w += ([":"] if k else []) + ["NEXT", v]
        return w

    def program(self):
        r = self.r
        count = r.randint(8, 22)
        n, self.numbers = r.randint(1, 100), []
        for _ in range(count):
            self.numbers.append(n)
            n += r.choice([1, 5, 10, 10, 10, 100])
        self.open = []
        lines = []
        dims = []
        for a, d in self.arrays.items():
            if r.random() < 0.8:
                size = self.number() if r.random() < 0.5 else self.nvar() + ["+", "3"]
                dims.append([a, "("] + size + ([",", "4"] if d == 2 else []) + [")"])
        for i in range(count - 1):
            if i == 0 and dims:
                w = ["DIM"]
                for k, d in enumerate(dims):
                    w += ([","] if k else []) + d
            elif i in (1, 2) and r.random() < 0.6:
                f = r.choice([x for x in "ABCFGHR" if x not in self.fns])
                w = ["DEF", "FN" + f, "(", "X", ")", "="] + self.nexpr()
                self.fns.append(f)
            elif r.random() < 0.08:
                w = ['DATA 1,"A,B", 2.5, WORD , -3,"X"']
            else:
                w = self.line(i)
            lines.append([self.numbers[i], w])
        lines.append([self.numbers[-1], self.closeloops(len(self.open)) + [":", "END"]
                      if self.open else ["END"]])
        return lines


def text(lines, rng):
    out = []
    for number, words in lines:
        head = "" if number is None else str(number) + ("" if rng.random() < 0.1 else " ")
        out.append(head + joinwords(words, rng))
    end = "\r\n" if rng.random() < 0.05 else "\n"
    return "".join(l + end for l in out)


def correct(seed):
    rng = random.Random("classic-%d" % seed)
    g = Generator(rng)
    lines = g.program()
    return g, lines, text(lines, rng)


def mutate(g, lines, rng):
    """One mistake in lines (changed in place); returns its kind or None."""
    kind = rng.choice(["drop", "double", "swap", "substitute", "type", "order", "number",
                       "target", "operator", "keyword", "cut", "colon"])
    i = rng.randrange(len(lines))
    words = lines[i][1]
    k = rng.randrange(len(words))
    if kind == "order":
        j = rng.randrange(len(lines))
        lines[i][0], lines[j][0] = lines[j][0], lines[i][0]
        if rng.random() < 0.5:
            lines[i][0] = lines[j][0]
    elif kind == "number":
        lines[i][0] = rng.choice([None, 0, 65535, 99999, "1.5", "-1"])
    elif kind == "target":
        spots = [j for j, w in enumerate(words) if w.isdigit() and j and words[j - 1] in
                 ("GOTO", "GOSUB", "THEN", ",")]
        if not spots:
            return None
        words[rng.choice(spots)] = rng.choice(["9999", "3", "65000"])
    elif kind == "drop":
        del words[k]
    elif kind == "double":
        words.insert(k, words[k])
    elif kind == "swap" and len(words) > 1:
        k = min(k, len(words) - 2)
        words[k], words[k + 1] = words[k + 1], words[k]
    elif kind == "substitute":
        words[k] = rng.choice([rng.choice(KEYWORDS), rng.choice(PUNCT), rng.choice(g.nums + g.strs),
                               '"S"', "1", "X(1,2,3)", "FNZ(1)"])
    elif kind == "type":
        spots = [j for j, w in enumerate(words) if w in g.nums or w in g.strs]
        if not spots:
            return None
        j = rng.choice(spots)
        words[j] = rng.choice(g.strs if words[j] in g.nums else g.nums)
    elif kind == "operator":
        words.insert(k, rng.choice(PUNCT))
    elif kind == "keyword":
        words.insert(k, rng.choice(KEYWORDS))
    elif kind == "cut":
        del words[k:]
    elif kind == "colon":
        words.insert(k, ":")
    else:
        return None
    return kind


def mutants(seed, n):
    """n mutated programs of seed: (kinds, text)."""
    out = []
    for m in range(1, n + 1):
        rng = random.Random("classic-mutant-%d-%d" % (seed, m))
        g, lines, _ = correct(seed)
        lines = [[num, list(words)] for num, words in lines]
        kinds = []
        for _ in range(1 if rng.random() < 0.75 else 2):
            for _try in range(5):
                kind = mutate(g, lines, rng)
                if kind:
                    kinds.append(kind)
                    break
        out.append((kinds, text(lines, rng)))
    return out


def main():
    seed = int(sys.argv[1])
    if len(sys.argv) > 2:
        sys.stdout.write(mutants(seed, int(sys.argv[2]))[-1][1])
    else:
        sys.stdout.write(correct(seed)[2])


if __name__ == "__main__":
    main()
