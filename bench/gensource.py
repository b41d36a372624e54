#!/usr/bin/env python3
"""Writes a large valid dialect program: LINES lines using NAMES distinct
variable names, with every statement kind (unless --simple): assignments,
IF/THEN/ELSE with AND and OR, GOTO, GOSUB, RETURN, FOR/NEXT with and
without STEP, ON ... GOTO, PRINT, PRINT@, PRINT#, OPEN, CLOSE, LINE INPUT
with and without a file number, READ, DATA, DIM and CLEAR, REM and "'",
CLS, PAUSE, STOP and END, and the line forms: labelled lines, a label
alone, numbered lines, empty lines and whole-line comments."""
import argparse
import sys

# Statement kinds of one cycle; kind 4 is the cycle's label line, which the
# jumps of the cycle (GOSUB, ON ... GOTO, GOTO, IF ... GOTO) name.
KINDS = 24


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("lines", type=int)
    ap.add_argument("--names", type=int, default=None,
                    help="distinct numeric names (default: lines / 5)")
    ap.add_argument("--simple", action="store_true",
                    help="assignments only (the name-table benchmark)")
    a = ap.parse_args()
    names = a.names or max(1, a.lines // 5)
    out = sys.stdout
    out.write("# CONSTANT MAX = 25\n# CONSTANT T$ = \"TITLE\"\n")
    out.write(" DIM A(MAX), B$(MAX)\n")
    n = 3
    fors = 0
    i = 0
    while n < a.lines - 2:
        v = "V%d" % (i % names)
        w = "V%d" % ((i * 7 + 3) % names)
        k = i % KINDS if not a.simple else 0
        here = "L%d" % (i - k + 4)  # the label line of this cycle
        if k == 0 or a.simple:
            out.write(" %s=%s+1*2-A(3)/4\n" % (v, w))
        elif k == 1:
            out.write(" S%d$=MID$(B$(2),2,3)\n" % (i % names))
        elif k == 2:
            out.write(" IF %s<%s+1 AND %s=3 THEN %s=1 ELSE %s=2\n" % (v, w, v, v, w))
        elif k == 3 and fors < 9000:
            out.write(" FOR I=1 TO 3 STEP 1: %s=%s+I\n NEXT I\n" % (v, v))
            fors += 1
            n += 1
        elif k == 4:
            out.write("L%d %s=LEN(T$)+INSTR(B$(1),\"X\")\n" % (i, v))
        elif k == 5:
            out.write(" GOSUB L%d: %s=ASC(CHR$(65))\n" % (i - 1, w))
        elif k == 6:
            out.write(" PRINT %s;\"A\";LEFT$(B$(1),2)\n" % v)
        elif k == 7:
            out.write(" PRINT@%s,RIGHT$(T$,2);\n" % v)
        elif k == 8:
            out.write(" ON %s GOTO L%d,L%d\n" % (v, i - 4, i - 4))
        elif k == 9:
            out.write(" DATA 4,5,\"A,B\",C\n")
        elif k == 10:
            out.write(" READ B$(3)\n")
        elif k == 11:
            out.write(" OPEN \"O\",#1,T$: PRINT#1,%s\n" % v)
        elif k == 12:
            out.write(" LINE INPUT#1,B$(4)\n")
        elif k == 13:
            out.write(" REM a comment with %s\n" % v)
        elif k == 14:
            out.write("' whole-line comment\n")
        elif k == 15:
            out.write(" CLS: PAUSE\n")
        elif k == 16:
            out.write(" GOTO %s\n" % here)
        elif k == 17:
            out.write(" STOP: CLOSE %s\n" % v)
        elif k == 18:
            out.write(" DIM D%d(MAX), E%d$(4): CLEAR 50\n" % (i, i))
        elif k == 19:
            out.write("%d %s=1\n" % (i, v))
        elif k == 20:
            out.write("M%d\n\n" % i)
            n += 1
        elif k == 21:
            out.write(" IF S%d$=T$ OR %s>=2 THEN GOTO %s ELSE PRINT#1,%s;\"X\"\n"
                      % (i % names, v, here, w))
        elif k == 22:
            out.write(" OPEN \"I\",#2,T$: LINE INPUT#2,B$(1): LINE INPUT B$(2)\n")
        elif k == 23 and fors < 9000:
            out.write(" FOR J=%s TO MAX: NEXT: IF %s<>1 THEN END\n" % (v, w))
            fors += 1
        else:
            out.write(" %s=%s*A(%s)\n" % (v, w, "2"))
        n += 1
        i += 1
    out.write(" RETURN\n END\n")


if __name__ == "__main__":
    main()
