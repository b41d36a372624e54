#!/usr/bin/env python3
"""Random dialect programs for the property check of kzo2c.

`correct(seed)` gives a program that uses every statement form of the
dialect correctly: constants, DIM arrays subscripted with the right count,
labels, assignments, IF/THEN/ELSE with AND and OR, GOTO, GOSUB/RETURN,
ON ... GOTO, FOR/TO/STEP/NEXT, PRINT with ";", PRINT@, PRINT#, OPEN, the
three forms of CLOSE, LINE INPUT with and without a file number,
READ/DATA, CLS, PAUSE, STOP, END, REM, comment lines, statements joined by
":", trailing REM and apostrophe comments, the built-in functions, ARGC and
ARGV$. `mutants(seed, n)` derives n programs from it, each with one or two
mistakes injected: dropped, doubled, swapped and substituted words, wrong
types, unknown labels, stray operators, bad names and bad numbers, dropped
or doubled lines, constants named like C names or assigned to.

Literals and comments hold the characters that C treats specially (a
backslash, "*/", "%", a carriage return), and names and labels include
lower case, "_" and prefixes of reserved words.

A program is a list of lines; a line is a head ("" for a statement line,
which gets its leading blank; a label or a line number; or the whole text
of a comment, constant or empty line) and a list of words. The words are joined with
blanks or without, at random, wherever the scanner splits them the same.

    genprog.py SEED            prints the correct program of SEED
    genprog.py SEED K          prints its mutant number K (from 1)
"""
import random
import sys

NAMECHARS = set("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789_~.$")

# Words of the reserved table that a mutation may put anywhere.
KEYWORDS = ["PRINT", "IF", "THEN", "ELSE", "GOTO", "GOSUB", "RETURN", "FOR",
            "TO", "STEP", "NEXT", "ON", "DIM", "READ", "DATA", "OPEN",
            "CLOSE", "LINE", "INPUT", "END", "STOP", "PAUSE", "CLS", "REM",
            "AND", "OR", "NOT", "LET", "MID$", "LEFT$", "RIGHT$", "INSTR",
            "ASC", "LEN", "CHR$", "ABS", "PI", "SOUND", "CLEAR", "CONSTANT"]
PUNCT = ["+", "-", "*", "/", "=", "<", ">", "<>", "<=", ">=", "(", ")", ",",
         ";", ":", "#", "@", "'", "$", "&", "?", "!", "%", "\\", "[", "{"]
BADNAMES = ["1A", "A.B", "2ND", "X~", "A~B", "9Z$", ".A", "1E5", "_", "~"]
BADNUMBERS = ["1.2.3", ".", "..", "1..", "0.5.", "12.3.4.5"]
COMMENT_TEXTS = ["note", "set the count", "a */ b", "/* old", "50% done",
                 "back\\slash", "say \"hi\"", "x: y", "it's", "*/", "a 'b' c",
                 "", "REM again", "??/ odd", "tab\there"]
STRING_TEXTS = ["", "A", "HELLO", "a b", "X,Y", "50%", "%d %s", "it's",
                "A:B", "*/", "/*", "\\", "C:\\DIR", "ends\\", "'", "x  y",
                "DATA", "IF", "\\n", "??/", "cr\rhere", "tab\tin"]
# Names that the C text already uses: as constant names (written into C
# unchanged) they may break it.
C_NAMES = ["int", "double", "if", "main", "stdscr", "getch", "printw", "exit",
           "fabs", "line__kzo", "LINES", "OK", "EOF", "NULL", "TRUE"]


def joinwords(words, rng):
    """The words as one text, with or without a blank between two words
    wherever the scanner would cut the text the same way."""
    out = ""
    for w in words:
        if out:
            a, b = out[-1], w[0]
            # a DIM declares only with a blank before it
            need = (a in NAMECHARS and b in NAMECHARS) or (a in "<>=" and b in "<>=") \
                or w == "DIM"
            if need or rng.random() < 0.5:
                out += "\t" if rng.random() < 0.03 else " "
        out += w
    return out


class Program:
    def __init__(self):
        self.lines = []     # (kind, head, words); kind: stmt, label, text

    def add(self, kind, head, words):
        self.lines.append([kind, head, list(words)])

    def text(self, rng):
        """The source text; now and then with CR LF line ends."""
        out = []
        for kind, head, words in self.lines:
            if kind == "text":
                out.append(head)
            elif kind == "stmt":
                out.append(" " + joinwords(words, rng) if words else " ")
            else:  # a label, alone or followed by statements
                out.append(head + (" " + joinwords(words, rng) if words else ""))
        end = "\r\n" if rng.random() < 0.05 else "\n"
        return "".join(l + end for l in out)


class Generator:
    """Builds one correct program; remembers its names for the mutations."""

    def __init__(self, rng):
        self.r = rng
        r = rng
        self.nums = r.sample(["A", "B", "C", "N1", "COUNT", "x", "total", "I",
                              "J", "K2", "SPEED", "Z_1", "PRINTER", "TOTAL"], 5)
        self.strs = r.sample(["S$", "T1$", "NAME$", "w$", "LINE1$", "mid$",
                              "Q$", "ROBOT$"], 3)
        self.numconsts = r.sample(["MAX", "SIZE", "N_MAX", "TOP"], r.randint(0, 2))
        self.strconsts = r.sample(["TITLE$", "GREET$", "SEP$"], r.randint(0, 2))
        self.arr1 = r.sample(["ARR", "VALS", "SYMVAL"], r.randint(1, 2))
        self.arr2 = r.sample(["GRID", "MAT"], r.randint(0, 1))
        self.sarr = r.sample(["LST$", "WORDS$"], r.randint(0, 1))
        self.labels = r.sample(["LOOP", "SPLIT", "DONE", "SUB1", "SUB2", "NEXTONE",
                                "L10", "Again", "_SKIP", "TOP2", "W9"],
                               r.randint(2, 5))
        # a label and a string variable may share their stem
        if r.random() < 0.15:
            self.strs[0] = self.labels[0] + "$"
        self.sizes = {}
        self.depth = 0

    # ------------------------------------------------------------ values

    def number(self):
        r = self.r
        return r.choice(["0", "1", "2", "3", "10", "25", "2.5", ".5", "0.25",
                         "100", "7", "007", "5."])

    def size(self):
        r = self.r
        c = r.random()
        if self.numconsts and c < 0.3:
            return [r.choice(self.numconsts)]
        if self.numconsts and c < 0.45:
            return [r.choice(self.numconsts), r.choice(["+", "*"]), r.choice(["1", "2"])]
        return [r.choice(["3", "5", "10", "12", "20", "4+1", "2*3"])]

    def subscript(self):
        # an index that is a numeric phrase
        return self.numexpr(simple=True)

    def numterm(self, simple=False):
        r = self.r
        self.depth += 1
        try:
            choices = ["num", "num", "var", "var", "var"]
            if self.numconsts:
                choices.append("const")
            if self.depth < 3 and not simple:
                choices += ["arr", "len", "asc", "instr", "argc"]
                if self.arr2:
                    choices.append("arr2")
            c = r.choice(choices)
            if c == "num":
                return [self.number()]
            if c == "var":
                return [r.choice(self.nums)]
            if c == "const":
                return [r.choice(self.numconsts)]
            if c == "arr":
                return [r.choice(self.arr1), "("] + self.subscript() + [")"]
            if c == "arr2":
                a = r.choice(self.arr2)
                if r.random() < 0.7:
                    return [a, "("] + self.subscript() + [","] + self.subscript() + [")"]
                return [a, "("] + self.subscript() + [")", "("] + self.subscript() + [")"]
            if c == "len":
                return ["LEN", "("] + self.strexpr() + [")"]
            if c == "asc":
                return ["ASC", "("] + self.strexpr() + [")"]
            if c == "argc":
                return ["ARGC"]
            # INSTR: the first argument starts with a name, literal or number
            if r.random() < 0.5:
                first = [r.choice(self.strs + ['"AB"'])]
                return ["INSTR", "("] + first + [","] + self.strexpr() + [")"]
            first = [r.choice(self.nums + ["1", "2"])]
            if r.random() < 0.4:
                first += ["+", "1"]
            return (["INSTR", "("] + first + [","] + self.strexpr() + [","]
                    + self.strexpr() + [")"])
        finally:
            self.depth -= 1

    def numexpr(self, simple=False):
        r = self.r
        words = self.numterm(simple)
        for _ in range(r.choice([0, 0, 1, 1, 2, 3])):
            words += [r.choice(["+", "-", "*", "/"])] + self.numterm(simple)
        return words

    def strexpr(self):
        r = self.r
        self.depth += 1
        try:
            choices = ["var", "var", "lit", "lit"]
            if self.strconsts:
                choices.append("const")
            if self.depth < 3:
                choices += ["mid", "left", "right", "chr", "argv"]
                if self.sarr:
                    choices.append("sarr")
            c = r.choice(choices)
            if c == "var":
                return [r.choice(self.strs)]
            if c == "lit":
                return ['"%s"' % r.choice(STRING_TEXTS)]
            if c == "const":
                return [r.choice(self.strconsts)]
            if c == "sarr":
                return [r.choice(self.sarr), "("] + self.subscript() + [")"]
            if c == "mid":
                w = ["MID$", "("] + self.strexpr() + [","] + self.numexpr(True)
                if r.random() < 0.5:
                    w += [","] + self.numexpr(True)
                return w + [")"]
            if c in ("left", "right"):
                return ([c.upper() + "$", "("] + self.strexpr() + [","]
                        + self.numexpr(True) + [")"])
            if c == "chr":
                return ["CHR$", "("] + self.numexpr(True) + [")"]
            return ["ARGV$", "("] + self.numexpr(True) + [")"]
        finally:
            self.depth -= 1

    def numplace(self):
        r = self.r
        c = r.random()
        if c < 0.6:
            return [r.choice(self.nums)]
        if c < 0.85 or not self.arr2:
            return [r.choice(self.arr1), "("] + self.subscript() + [")"]
        return [r.choice(self.arr2), "("] + self.subscript() + [","] + self.subscript() + [")"]

    def strplace(self):
        r = self.r
        if self.sarr and r.random() < 0.35:
            return [r.choice(self.sarr), "("] + self.subscript() + [")"]
        return [r.choice(self.strs)]

    def condition(self):
        r = self.r
        words = []
        for i in range(r.choice([1, 1, 1, 2, 3])):
            if i:
                words.append(r.choice(["AND", "OR"]))
            if r.random() < 0.7:
                words += self.numexpr() + [r.choice(["=", "<>", "<", ">", "<=", ">="])] + self.numexpr()
            else:
                words += self.strexpr() + [r.choice(["=", "<>", "<", ">"])] + self.strexpr()
        return words

    def filenumber(self):
        r = self.r
        return r.choice([["1"], ["2"], ["0"], ["9"], [r.choice(self.nums)], ["N1"]
                         if "N1" in self.nums else ["3"]])

    # -------------------------------------------------------- statements
    # Each returns (words, last): last is True when nothing but a comment
    # may follow on the line.

    def simple(self, dim=False):
        """A statement that may stand anywhere in a statement list (a DIM
        only outside an IF)."""
        r = self.r
        kind = r.choice(["let", "let", "let", "slet", "slet", "print", "print",
                         "printat", "printfile", "goto", "on", "open", "close",
                         "lineinput", "read", "cls", "pause", "stop", "end",
                         "return"] + (["dim"] if dim else []))
        if kind == "let":
            return self.numplace() + ["="] + self.numexpr()
        if kind == "slet":
            return self.strplace() + ["="] + self.strexpr()
        if kind == "print":
            return ["PRINT"] + self.printitems()
        if kind == "printat":
            w = ["PRINT", "@"] + self.numexpr(True)
            items = self.printitems()
            return w + ([","] + items if items else [])
        if kind == "printfile":
            w = ["PRINT", "#"] + self.filenumber()
            items = self.printitems()
            return w + ([","] + items if items else [])
        if kind == "goto":
            return ["GOTO", r.choice(self.labels)]
        if kind == "on":
            return ["ON"] + self.numexpr(True) + ["GOTO"] + self.labellist()
        if kind == "open":
            mode = r.choice(['"I"', '"O"', '"i"', '"o"'])
            n = self.filenumber()
            if r.random() < 0.7:
                n = ["#"] + n
            name = r.choice([['"data.txt"'], [r.choice(self.strs)], self.strexpr()])
            return ["OPEN", mode, ","] + n + [","] + name
        if kind == "close":
            c = r.random()
            if c < 0.35:
                return ["CLOSE"] + self.filenumber()
            if c < 0.7:
                return ["CLOSE", "#"] + self.filenumber()
            return ["CLOSE"]
        if kind == "lineinput":
            if r.random() < 0.5:
                return ["LINE", "INPUT"] + self.strplace()
            return ["LINE", "INPUT", "#"] + self.filenumber() + [","] + self.strplace()
        if kind == "read":
            return ["READ"] + self.strplace()
        if kind == "cls":
            return ["CLS"]
        if kind == "pause":
            return ["PAUSE"]
        if kind == "stop":
            return ["STOP"]
        if kind == "end":
            return ["END"]
        if kind == "return":
            return ["RETURN"]
        # a DIM among the statements declares a further array
        name = "D%d" % r.randint(0, 99)
        while name in self.arr1:
            name += "X"
        self.arr1.append(name)
        self.dimmed.append(name)
        return ["DIM", name, "("] + self.size() + [")"]

    def labellist(self):
        r = self.r
        w = [r.choice(self.labels)]
        for _ in range(r.choice([0, 1, 2])):
            w += [",", r.choice(self.labels)]
        return w

    def printitems(self):
        r = self.r
        items = []
        for i in range(r.choice([0, 1, 1, 2, 3])):
            if i:
                items.append(";")
            items += self.numexpr() if r.random() < 0.5 else self.strexpr()
        if items and r.random() < 0.3:
            items.append(";")
        return items

    def comment(self):
        r = self.r
        text = r.choice(COMMENT_TEXTS)
        mark = r.choice(["'", "REM"])
        return ["%s %s" % (mark, text) if text else mark]

    def statements(self):
        """A statement list for one line: (words, needs a line of its own)."""
        r = self.r
        words = []
        count = r.choice([1, 1, 1, 2, 2, 3])
        for i in range(count):
            if i:
                words.append(":")
            c = r.random()
            if c < 0.14:
                words += self.ifstatement()
                return words
            if c < 0.2:
                words += ["GOSUB", r.choice(self.labels)]
            elif c < 0.26:
                words += self.forstatement()
            elif c < 0.32:
                words += ["NEXT"] + ([r.choice(self.fornames)] if self.fornames and r.random() < 0.5 else [])
            else:
                words += self.simple(dim=True)
        if r.random() < 0.2:
            words += [":"] + self.comment() if r.random() < 0.3 else self.comment()
        return words

    def forstatement(self):
        r = self.r
        v = r.choice(self.nums)
        self.fornames.append(v)
        w = ["FOR", v, "="] + self.numexpr() + ["TO"] + self.numexpr()
        if r.random() < 0.4:
            w += ["STEP"] + self.numexpr()
        return w

    def ifstatement(self):
        r = self.r
        w = ["IF"] + self.condition()
        c = r.random()
        if c < 0.2:
            return w + ["GOTO", r.choice(self.labels)] + (self.comment() if r.random() < 0.2 else [])
        w.append("THEN")
        part = r.random()
        if part < 0.15:
            # NEXT and GOSUB end the statement list
            w += ["NEXT"] if part < 0.1 else ["GOSUB", r.choice(self.labels)]
            return w + (self.comment() if r.random() < 0.2 else [])
        elif part < 0.2:
            w += self.ifstatement()
            return w
        else:
            w += self.simple()
            if r.random() < 0.3:
                w += [":"] + self.simple()
        if r.random() < 0.3:
            w += ["ELSE"] + self.simple()
            if r.random() < 0.2:
                w += [":"] + self.simple()
        if r.random() < 0.2:
            w += self.comment()
        return w

    # ----------------------------------------------------------- program

    def program(self):
        r = self.r
        p = Program()
        self.dimmed = []
        self.fornames = []
        for c in self.numconsts:
            p.add("text", "# CONSTANT %s = %s" % (c, r.choice(["25", "10", "3", "0.50", "007"])), [])
        done = []
        for c in self.strconsts:
            text = r.choice(["TEXT", "HELLO", "", "a b", "%"])
            if done and r.random() < 0.5:
                text += " X" + r.choice(done)
            p.add("text", '# CONSTANT %s = "%s"' % (c, text), [])
            done.append(c)
        dims = []
        for a in self.arr1:
            dims.append([a, "("] + self.size() + [")"])
        for a in self.arr2:
            dims.append([a, "("] + self.size() + [","] + self.size() + [")"])
        for a in self.sarr:
            dims.append([a, "("] + self.size() + [")"])
        r.shuffle(dims)
        # one or two DIM statements
        cut = r.randint(1, len(dims))
        for part in (dims[:cut], dims[cut:]):
            if part:
                words = ["DIM"]
                for i, d in enumerate(part):
                    words += ([","] if i else []) + d
                p.add("stmt", "", words)
        self.dimmed = [d[0] for d in dims]
        placed = list(self.labels)
        r.shuffle(placed)
        body = r.randint(6, 16)
        for i in range(body):
            c = r.random()
            if placed and c < 0.25:
                lab = placed.pop()
                if r.random() < 0.2:
                    p.add("label", lab, [])
                else:
                    p.add("label", lab, self.statements())
            elif c < 0.3:
                p.add("text", "'" + r.choice(COMMENT_TEXTS), [])
            elif c < 0.33:
                p.add("text", "", [])
            elif c < 0.36:
                # a numbered line, or one led by a word that starts with a
                # digit: only its trace is written
                head = r.choice(["10", "20", "100", "2ND", "1A", "3"])
                p.add("label", head, self.statements() if r.random() < 0.8 else [])
            elif c < 0.4:
                items = []
                for k in range(r.randint(1, 3)):
                    items += ([","] if k else []) + [r.choice(['"A,B"', "4", "5", "WALK", '"x y"', "2.5"])]
                p.add("stmt", "", ["DATA"] + items)
            else:
                p.add("stmt", "", self.statements())
        for lab in placed:
            p.add("label", lab, self.statements())
        p.add("stmt", "", ["END"])
        return p


def correct(seed):
    rng = random.Random("correct-%d" % seed)
    g = Generator(rng)
    p = g.program()
    return g, p, p.text(rng)


# ------------------------------------------------------------- mutations

def any_word(g, rng):
    c = rng.random()
    if c < 0.3:
        return rng.choice(KEYWORDS)
    if c < 0.55:
        return rng.choice(PUNCT)
    if c < 0.7:
        return rng.choice(g.nums + g.strs + g.arr1 + g.arr2 + g.sarr)
    if c < 0.8:
        return rng.choice(g.labels + ["NOWHERE"])
    if c < 0.9:
        return rng.choice(['"S"', "1", "2.5", "0"])
    return rng.choice(BADNAMES + BADNUMBERS)


def opposite(g, word, rng):
    """A word of the other type in the same place, or None."""
    if word in g.nums or word in g.arr1 or word in g.arr2 or word[:1].isdigit():
        return rng.choice(g.strs + ['"S"'] + g.sarr)
    if word.endswith("$") or word.startswith('"'):
        return rng.choice(g.nums + ["1"] + g.arr1)
    return None


def mutate(g, p, rng):
    """Injects one mistake into a copy of p; returns the kind."""
    lines = p.lines
    stmt = [i for i, l in enumerate(lines) if l[2]]
    kind = rng.choice(["drop", "double", "swap", "substitute", "type",
                       "label", "operator", "badname", "badnumber", "cut",
                       "line", "colon", "keyword", "constant"])
    if kind == "constant":
        # a constant named like something of the C text, or a constant
        # assigned to
        spots = [(i, j) for i, l in enumerate(lines) for j, w in enumerate(l[2])
                 if w in g.nums]
        if not spots:
            return None
        i, j = rng.choice(spots)
        if g.numconsts and rng.random() < 0.4:
            lines[i][2][j] = rng.choice(g.numconsts)
        else:
            name = rng.choice(C_NAMES)
            lines.insert(0, ["text", "# CONSTANT %s = 1" % name, []])
            lines[i + 1][2][j] = name
        return kind
    if kind == "line":
        i = rng.randrange(len(lines))
        c = rng.random()
        if c < 0.4:
            del lines[i]                # a label or a DIM may go
        elif c < 0.7:
            lines.insert(i, [lines[i][0], lines[i][1], list(lines[i][2])])
        else:
            j = rng.randrange(len(lines))
            lines[i], lines[j] = lines[j], lines[i]
        return kind
    if not stmt:
        return None
    i = rng.choice(stmt)
    words = lines[i][2]
    k = rng.randrange(len(words))
    if kind == "drop":
        del words[k]
    elif kind == "double":
        words.insert(k, words[k])
    elif kind == "swap":
        if len(words) < 2:
            return None
        k = rng.randrange(len(words) - 1)
        words[k], words[k + 1] = words[k + 1], words[k]
    elif kind == "substitute":
        words[k] = any_word(g, rng)
    elif kind == "type":
        spots = [j for j, w in enumerate(words) if opposite(g, w, rng)]
        if not spots:
            return None
        j = rng.choice(spots)
        words[j] = opposite(g, words[j], rng)
    elif kind == "label":
        spots = [j for j, w in enumerate(words) if w in g.labels]
        if spots:
            words[rng.choice(spots)] = rng.choice(["NOWHERE", "nowhere", "L99"])
        else:
            words[k:k] = rng.choice([["GOTO", "NOWHERE"], ["GOSUB", "NOWHERE"],
                                     ["GOTO"], ["ON", "1", "GOTO", "NOWHERE"]])
    elif kind == "operator":
        words.insert(k + rng.randint(0, 1), rng.choice(["+", "-", "*", "/", "<", ">", "=",
                                                        "<>", ",", ";", "(", ")", "#", "@"]))
    elif kind == "badname":
        spots = [j for j, w in enumerate(words)
                 if w in g.nums or w in g.strs or w in g.labels or w in g.arr1]
        j = rng.choice(spots) if spots else k
        words[j] = rng.choice(BADNAMES)
    elif kind == "badnumber":
        spots = [j for j, w in enumerate(words) if w[:1].isdigit() or w[:1] == "."]
        j = rng.choice(spots) if spots else k
        words[j] = rng.choice(BADNUMBERS)
    elif kind == "cut":
        del words[k:]
        if not words and lines[i][0] == "stmt":
            words.append(rng.choice(["PRINT", "GOTO", "IF", "FOR", "X"]))
    elif kind == "colon":
        spots = [j for j, w in enumerate(words) if w == ":"]
        if spots and rng.random() < 0.6:
            del words[rng.choice(spots)]
        else:
            words.insert(k, ":")
    elif kind == "keyword":
        words.insert(k, rng.choice(KEYWORDS))
    return kind


def mutants(seed, n):
    """n mutated programs of seed: (kinds, text)."""
    out = []
    for m in range(1, n + 1):
        rng = random.Random("mutant-%d-%d" % (seed, m))
        g, p, _ = correct(seed)
        kinds = []
        for _ in range(1 if rng.random() < 0.75 else 2):
            for _try in range(5):
                kind = mutate(g, p, rng)
                if kind:
                    kinds.append(kind)
                    break
        out.append((kinds, p.text(rng)))
    return out


def main():
    seed = int(sys.argv[1])
    if len(sys.argv) > 2:
        kinds, text = mutants(seed, int(sys.argv[2]))[-1]
        sys.stdout.write(text)
    else:
        sys.stdout.write(correct(seed)[2])


if __name__ == "__main__":
    main()
