#!/usr/bin/env python3
"""Random classic (line-numbered) programs for the property check of
`kzo2c --classic`: `correct(seed)` uses every statement, operator and
function of the language correctly (DIM with computed sizes, arrays without
DIM, DEF FN, PRINT/? with ; , TAB( SPC(, the IF forms, ON GOTO/GOSUB,
FOR/NEXT V,W, READ/DATA/RESTORE, INPUT, REM glued to text), with words glued
(FORI=1TO9) wherever the keyword scan still cuts them the same;
`mutants(seed, n)` injects one or two mistakes into copies of it.

    genclassic.py SEED [K]     prints the correct program of SEED [its mutant K]
"""
import random
import sys

KEYWORDS = ("ABS AND ASC ATN CHR$ COS DATA DEF DIM END EXP FN FOR GOSUB GOTO IF INPUT INT "
            "LEFT$ LEN LET LOG MID$ NEXT NOT ON OR POS PRINT RANDOMIZE READ REM RESTORE RETURN "
            "RIGHT$ RND SGN SIN SPC( SQR STEP STOP STR$ TAB( TAN THEN TO VAL ELSE").split()
NUMS = ["A", "B", "C", "X", "Y", "Z", "K", "N", "Q1", "Z9", "W2", "SUM", "DIG", "X7"]
STRS = ["A$", "B$", "Q$", "S1$", "W$", "NAM$"]
NUMBERS = ["0", "1", "2", "3", "10", "2.5", ".5", "1E3", "1.5E-2", "100", "7"]
TEXTS = ["", "HELLO", "A,B", "YES", "50%", "%d", "IT'S", "A:B", "*/", "\\", "FOR I=1 TO 9", "REM"]
PUNCT = ["+", "-", "*", "/", "^", "=", "<", ">", "<>", "(", ")", ",", ";", ":", "$", "#", "?"]


def crunch(text):
    """The text cut as the keyword scan cuts it (longest keyword first)."""
    out, cur, i, up = [], "", 0, text.upper()
    while i < len(text):
        k = max((k for k in KEYWORDS if up.startswith(k, i)), key=len, default="")
        if text[i] == '"':
            k = text[i:text.find('"', i + 1) + 1 or len(text)]
        if k or text[i] == " ":
            out += [w for w in (cur, k) if w]
            if k in ("REM", "DATA"):
                return out + [text[i + len(k):]]
            cur, i = "", i + max(len(k), 1)
        else:
            cur, i = cur + text[i], i + 1
    return out + [w for w in (cur,) if w]


def joinwords(words, rng):
    out, last = "", ""
    for w in words:
        if out and (rng.random() < 0.5 or crunch(last + w) != crunch(last + " " + w)):
            out += " "
        out, last = out + w, w
    return out


class Generator:
    def __init__(self, rng):
        self.r = rng
        self.nums, self.strs = rng.sample(NUMS, 6), rng.sample(STRS, 3)
        self.arrays = {a: rng.choice([1, 1, 2]) for a in rng.sample(["A", "D", "M", "T1", "P$", "L$"], 3)}
        self.fns, self.open, self.depth = [], [], 0

    def pick(self, *options):
        return self.r.choice(options)

    def element(self, strings):
        names = [a for a in self.arrays if a.endswith("$") == strings] + ["V$" if strings else "U"]
        name = self.r.choice(names)
        w = [name, "("]
        for d in range(self.arrays.get(name, 1)):
            w += ([","] if d else []) + self.pick([self.r.choice(NUMBERS)], self.nvar())
        return w + [")"]

    def nvar(self):
        return [self.r.choice(self.nums)]

    def svar(self):
        return self.element(True) if self.r.random() < 0.2 else [self.r.choice(self.strs)]

    def expr(self, forms):
        """One of forms (weight, builder), simpler ones only when deep."""
        self.depth += 1
        limit = sum(w for w, _ in forms) if self.depth < 4 else forms[0][0] + forms[1][0]
        c = self.r.random() * limit
        for w, build in forms:
            c -= w
            if c < 0:
                break
        try:
            return build()
        finally:
            self.depth -= 1

    def nexpr(self):
        r, n, s = self.r, self.nexpr, self.sexpr
        return self.expr([
            (15, lambda: [r.choice(NUMBERS)]), (15, self.nvar), (5, lambda: self.element(False)),
            (15, lambda: n() + [r.choice("+-*/^")] + n()), (5, lambda: ["-"] + n()),
            (5, lambda: ["("] + n() + [")"]),
            (8, lambda: [r.choice(["ABS", "ATN", "COS", "EXP", "INT", "SGN", "SIN", "TAN", "SQR",
                                   "LOG", "RND"]), "("] + n() + [")"]),
            (6, lambda: [r.choice(["LEN", "ASC", "VAL"]), "("] + s() + [")"]),
            (4, lambda: ["FN" + r.choice(self.fns), "("] + n() + [")"] if self.fns else n()),
            # relations and logic inside arithmetic take their parentheses
            (12, lambda: ["("] + self.condition() + [")"]),
            (3, lambda: ["(", "NOT"] + n() + [")"]),
            (7, lambda: ["("] + n() + [r.choice(["AND", "OR"])] + n() + [")"])])

    def sexpr(self):
        r, n, s = self.r, self.nexpr, self.sexpr
        return self.expr([
            (25, lambda: ['"%s"' % r.choice(TEXTS)]), (25, self.svar),
            (10, lambda: [r.choice(["CHR$", "STR$"]), "("] + n() + [")"]),
            (10, lambda: [r.choice(["LEFT$", "RIGHT$"]), "("] + s() + [","] + n() + [")"]),
            (5, lambda: ["MID$", "("] + s() + [","] + n() + [")"]),
            (5, lambda: ["MID$", "("] + s() + [","] + n() + [","] + n() + [")"]),
            (15, lambda: s() + ["+"] + s())])

    def condition(self):
        op = self.r.choice(["=", "<>", "<", ">", "<=", ">="])
        if self.r.random() < 0.3:
            return self.sexpr() + [op] + self.sexpr()
        return self.nexpr() + [op] + self.nexpr()

    def target(self):
        return str(self.r.choice(self.numbers))

    def simple(self):
        r, t = self.r, self.target
        let = ["LET"] if r.random() < 0.3 else []
        return self.expr([
            (20, lambda: let + self.svar() + ["="] + self.sexpr()),
            (25, lambda: let + self.pick(self.nvar(), self.element(False)) + ["="] + self.nexpr()),
            (20, self.printstatement),
            (5, lambda: ["GOTO", t()]), (6, lambda: ["GOSUB", t()]),
            (6, lambda: ["ON"] + self.nexpr() + [r.choice(["GOTO", "GOSUB"]), t(), ",", t()]),
            (4, lambda: ["RETURN"]), (4, lambda: ["READ"] + self.nvar() + [","] + self.svar()),
            (3, lambda: ["RESTORE"]),
            (4, lambda: ["INPUT"] + self.pick([], ['"%s"' % r.choice(["NAME", ""]), ";"]) + self.nvar()
             + self.pick([], [","] + self.svar())),
            (3, lambda: [r.choice(["STOP", "END", "RANDOMIZE"])])])

    def printstatement(self):
        r = self.r
        w = [r.choice(["PRINT", "PRINT", "?"])]
        for i in range(r.choice([0, 1, 2, 3])):
            w += [r.choice([";", ";", ","])] if i else []
            w += self.pick([r.choice(["TAB(", "SPC("])] + self.nexpr() + [")"], self.nexpr(), self.sexpr())
        return w + ([r.choice([";", ","])] if len(w) > 1 and r.random() < 0.3 else [])

    def ifstatement(self):
        r = self.r
        w = ["IF"] + (self.condition() if r.random() < 0.8 else self.nexpr())
        c = r.random()
        if c < 0.4:
            return w + [self.pick("THEN", "THEN", "GOTO"), self.target()]
        w += ["THEN"] + self.simple()
        while r.random() < 0.3:
            w += [":"] + self.simple()
        return w

    def line(self, i):
        """The statements of line i; FOR loops close on later lines."""
        r, w = self.r, []
        for k in range(r.choice([1, 1, 2, 3])):
            w += [":"] if k else []
            c = r.random()
            if c < 0.12 and len(self.open) < 3 and i < len(self.numbers) - 2:
                v = r.choice([n for n in self.nums if n not in self.open])
                self.open.append(v)
                w += ["FOR", v, "="] + self.nexpr() + ["TO"] + self.nexpr()
                w += ["STEP"] + self.nexpr() if r.random() < 0.4 else []
            elif c < 0.25 and self.open:
                w += self.closeloops(r.randint(1, len(self.open)))
            elif c < 0.4:
                return w + self.ifstatement()
            else:
                w += self.simple()
        return w + ([":", r.choice(["REM ", "REM"]) + r.choice(TEXTS)] if r.random() < 0.1 else [])

    def closeloops(self, n):
        done = [self.open.pop() for _ in range(n)]
        c = self.r.random()
        if n == 1 and c < 0.3:
            return ["NEXT"]
        w = []
        for k, v in enumerate(done):
            w += ([","] if c < 0.6 else [":", "NEXT"]) + [v] if k else ["NEXT", v]
        return w

    def program(self):
        r = self.r
        count, n, self.numbers = r.randint(8, 22), r.randint(1, 100), []
        for _ in range(count):
            self.numbers.append(n)
            n += r.choice([1, 5, 10, 10, 10, 100])
        dims = ["DIM"]
        for a, d in self.arrays.items():
            if r.random() < 0.8:
                size = [r.choice(NUMBERS)] if r.random() < 0.5 else self.nvar() + ["+", "3"]
                dims += ([","] if len(dims) > 1 else []) + [a, "("] + size + ([",", "4"] if d == 2 else []) + [")"]
        lines = []
        for i in range(count - 1):
            if i == 0 and len(dims) > 1:
                w = dims
            elif i in (1, 2) and r.random() < 0.6:
                f = r.choice([x for x in "ABCFGHR" if x not in self.fns])
                w = ["DEF", "FN" + f, "(", "X", ")", "="] + self.nexpr()
                self.fns.append(f)
            elif r.random() < 0.08:
                w = ['DATA 1,"A,B", 2.5, WORD , -3,"X"']
            else:
                w = self.line(i)
            lines.append([self.numbers[i], w])
        end = self.closeloops(len(self.open)) + [":"] if self.open else []
        return lines + [[self.numbers[-1], end + ["END"]]]


def text(lines, rng):
    out = "".join(("" if n is None else str(n) + rng.choice([" "] * 9 + [""])) + joinwords(w, rng)
                  + "\n" for n, w in lines)
    return out.replace("\n", "\r\n") if rng.random() < 0.05 else out


def correct(seed):
    rng = random.Random("classic-%d" % seed)
    g = Generator(rng)
    lines = g.program()
    return g, lines, text(lines, rng)


def mutate(g, lines, rng):
    """One mistake in lines; returns its kind or None."""
    kind = rng.choice(["drop", "double", "swap", "substitute", "type", "order", "number",
                       "target", "operator", "keyword", "cut", "colon"])
    i = rng.randrange(len(lines))
    words = lines[i][1]
    if not words or (kind == "swap" and len(words) < 2):
        return None
    k = rng.randrange(len(words))
    if kind == "order":             # out of order, or numbered like another line
        j = rng.randrange(len(lines))
        lines[i][0], lines[j][0] = lines[j][0], lines[i][0] if rng.random() < 0.5 else lines[j][0]
    elif kind == "number":
        lines[i][0] = rng.choice([None, 0, 65535, 99999, "1.5", "-1"])
    elif kind == "target":          # a jump to a line that does not exist
        spots = [j for j, w in enumerate(words) if w.isdigit() and j and
                 words[j - 1] in ("GOTO", "GOSUB", "THEN", ",")]
        if not spots:
            return None
        words[rng.choice(spots)] = rng.choice(["9999", "3", "65000"])
    elif kind == "type":
        spots = [j for j, w in enumerate(words) if w in g.nums or w in g.strs]
        if not spots:
            return None
        j = rng.choice(spots)
        words[j] = rng.choice(g.strs if words[j] in g.nums else g.nums)
    elif kind == "swap":
        k = min(k, len(words) - 2)
        words[k], words[k + 1] = words[k + 1], words[k]
    elif kind in ("drop", "cut"):
        del words[k:k + 1 if kind == "drop" else len(words)]
    else:
        words.insert(k, {"double": words[k], "operator": rng.choice(PUNCT), "colon": ":",
                         "keyword": rng.choice(KEYWORDS),
                         "substitute": rng.choice(KEYWORDS + PUNCT + g.nums + g.strs +
                                                  ['"S"', "1", "X(1,2,3)", "FNZ(1)"])}.get(kind, ""))
        if kind == "substitute":
            del words[k + 1]
    return kind


def mutants(seed, n):
    """n mutated programs of seed: (kinds, text)."""
    out = []
    for m in range(1, n + 1):
        rng = random.Random("classic-mutant-%d-%d" % (seed, m))
        g, lines, _ = correct(seed)
        kinds = []
        for _ in range(1 if rng.random() < 0.75 else 2):
            kind = next((k for k in (mutate(g, lines, rng) for _ in range(5)) if k), None)
            kinds += [kind] if kind else []
        out.append((kinds, text(lines, rng)))
    return out


if __name__ == "__main__":
    seed = int(sys.argv[1])
    sys.stdout.write(mutants(seed, int(sys.argv[2]))[-1][1] if len(sys.argv) > 2 else correct(seed)[2])
