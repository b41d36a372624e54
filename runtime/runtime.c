#include<stdio.h>
#include<stdlib.h>
#include<string.h>
#include<curses.h>
#include<limits.h>
#include<float.h>
#include<math.h>

#define fors__kzo 10000

#define index__kzo(x) (!((x)>=-0.5 && (x)<INT_MAX+0.5) ?\
ierr__kzo("index overflow", line__kzo) : (int)((x)+0.5))

#define round__kzo(x) (!((x)>INT_MIN-0.5 && (x)<INT_MAX+0.5) ? ierr__kzo(\
"integer overflow", line__kzo) : ((x)>=0?(int)((x)+0.5):(int)((x)-0.5)))

#define bound__kzo(x, n) (!((x)>=-0.5 && (x)<(n)-0.5) ?\
ierr__kzo("index overflow", line__kzo) : (int)((x)+0.5))

int return__kzo[fors__kzo];
int *returnP__kzo;
char fora__kzo[fors__kzo];
int for__kzo[fors__kzo];
int *forP__kzo;
int *tempP__kzo;
int switcher__kzo;
int line__kzo;
int forvar__kzo;
int back__kzo;
float to__kzo[fors__kzo];
float step__kzo[fors__kzo];
float sf__kzo=0.0000001;
int datac__kzo;
int fuzz__kzo;
float big__kzo;
int i__kzo;
float f__kzo;
int P__kzo;
char phrase__kzo[300];
float dend__kzo;

char chrs__kzo[256][2];

FILE *bug;
char tron=0;
FILE *file__kzo[10];
int eof__kzo[10];

typedef struct string__kzo { char dummy__kzo[300]; } empty__kzo;

int asc__kzo(char *string) {
  return (signed char)string[0];
}

char *chr__kzo(int val) {
  if (val < 0 || val > 255) return chrs__kzo[0];
  return chrs__kzo[val];
}

int len__kzo(char *name) {
  return (int)strlen(name);
}

void error__kzo(char *mesg, int line) {
  if (stdscr) endwin();
  printf("%s in line %d", mesg, line);
  exit(1);
}

int ierr__kzo(char *mesg, int line) {
  (void)line;
  error__kzo(mesg, line__kzo);
  return 0;
}

void forreuse__kzo(int var) {
  int *entryP__kzo = forP__kzo;
  /* an open loop of var inside the current subroutine ends here, with the
     loops opened after it */
  while (entryP__kzo > for__kzo && entryP__kzo[-1] >= 0) {
    entryP__kzo--;
    if (*entryP__kzo == var) {
      returnP__kzo -= forP__kzo - entryP__kzo;
      forP__kzo = entryP__kzo;
      return;
    }
  }
}

char *join__kzo(int linenumber, char *first, char *second) {
  static char pool__kzo[64][sizeof(struct string__kzo)];
  static int next__kzo;
  char *toP__kzo = pool__kzo[next__kzo];
  char *mesg__kzo = NULL;
  int count__kzo = 0;
  next__kzo = (next__kzo + 1) % 64;
  if (first == second) mesg__kzo = "string order";
  while (first[count__kzo] && count__kzo <= 257) {
    toP__kzo[count__kzo] = first[count__kzo];
    count__kzo++;
  }
  for (char *fromP__kzo = second; *fromP__kzo && count__kzo <= 257; fromP__kzo++)
    toP__kzo[count__kzo++] = *fromP__kzo;
  toP__kzo[count__kzo] = 0;
  if (count__kzo > 256) {
    if (!mesg__kzo) mesg__kzo = "string overflow";
    if (stdscr) endwin();
    printf("%d %s %s\n%s", linenumber, mesg__kzo, first, second);
    exit(1);
  }
  return toP__kzo;
}

char *let__kzo(char *toP, char *fromP) {
  char *endP__kzo;
  size_t n__kzo = 0;
  /* a destination that starts inside the source is copied as the source
     was; a source inside the destination (a RIGHT$ of the same variable)
     lies further on and is safe to copy forward */
  if ((size_t)toP - (size_t)fromP - 1 < 299) {
    endP__kzo = memchr(fromP, 0, 299);
    n__kzo = endP__kzo ? (size_t)(endP__kzo - fromP) : 299;
    memmove(toP, fromP, n__kzo);
    toP[n__kzo] = 0;
    return toP;
  }
  /* the first bytes one at a time: most strings are short, and a library
     call costs more than the copy; the rest in one scan and one copy */
  while (n__kzo < 8 && fromP[n__kzo]) {
    toP[n__kzo] = fromP[n__kzo];
    n__kzo++;
  }
  if (n__kzo == 8) {
    endP__kzo = memchr(fromP + 8, 0, 299 - 8);
    n__kzo = endP__kzo ? (size_t)(endP__kzo - fromP) : 299;
    memmove(toP + 8, fromP + 8, n__kzo - 8);
  }
  toP[n__kzo] = 0;
  return toP;
}

char *mid__kzo(char *fromP, int begin, int length) {
  static char pool__kzo[64][sizeof(struct string__kzo)];
  static int next__kzo;
  char *toP__kzo = pool__kzo[next__kzo];
  size_t skip__kzo = begin > 1 ? (size_t)begin - 1 : 0;
  size_t n__kzo;
  char *endP__kzo;
  next__kzo = (next__kzo + 1) % 64;
  /* a begin past the end of fromP, or a negative one, gives the empty
     string; begin 0 starts at the first byte */
  if (begin < 0 || (skip__kzo > 0 && memchr(fromP, 0, skip__kzo))) {
    toP__kzo[0] = 0;
    return toP__kzo;
  }
  fromP += skip__kzo;
  /* a length of 0 or below, or one past the end, takes the rest */
  n__kzo = length > 0 && length < 299 ? (size_t)length : 299;
  if (n__kzo <= 16) {
    size_t k__kzo;
    for (k__kzo = 0; k__kzo < n__kzo && fromP[k__kzo]; k__kzo++)
      toP__kzo[k__kzo] = fromP[k__kzo];
    n__kzo = k__kzo;
  } else {
    endP__kzo = memchr(fromP, 0, n__kzo);
    if (endP__kzo) n__kzo = (size_t)(endP__kzo - fromP);
    memcpy(toP__kzo, fromP, n__kzo);
  }
  toP__kzo[n__kzo] = 0;
  return toP__kzo;
}

void lineinput__kzo(int fileno, char *lineP) {
  int c__kzo;
  int count__kzo = 0;
  int y__kzo, x__kzo;
  /* file number 0, while the program has not opened it, is the keyboard:
     the line is typed at the cursor, backspace erases, Enter ends it */
  if (fileno == 0 && !file__kzo[0]) {
    for (;;) {
      refresh();
      c__kzo = getch();
      if (c__kzo == ERR) error__kzo("input past end", line__kzo);
      if (c__kzo == '\n' || c__kzo == '\r' || c__kzo == KEY_ENTER) break;
      if (c__kzo == 8 || c__kzo == 127 || c__kzo == KEY_BACKSPACE) {
        if (count__kzo == 0) continue;
        count__kzo--;
        getyx(stdscr, y__kzo, x__kzo);
        if (x__kzo > 0) {
          x__kzo--;
        } else if (y__kzo > 0) {
          y__kzo--;
          x__kzo = getmaxx(stdscr) - 1;
        }
        /* the blank in the last cell of the screen must not scroll it */
        scrollok(stdscr, 0);
        mvaddch(y__kzo, x__kzo, ' ');
        scrollok(stdscr, 1);
        move(y__kzo, x__kzo);
      } else if (c__kzo >= ' ' && c__kzo <= 255 && count__kzo < 299) {
        lineP[count__kzo++] = (char)c__kzo;
        addch((chtype)c__kzo);
      }
    }
    lineP[count__kzo] = 0;
    addch('\n');
    refresh();
    return;
  }
  if (fileno < 0 || fileno > 9 || !file__kzo[fileno])
    error__kzo("bad file number", line__kzo);
  if (eof__kzo[fileno] == EOF) error__kzo("input past end", line__kzo);
  for (;;) {
    c__kzo = fgetc(file__kzo[fileno]);
    eof__kzo[fileno] = c__kzo;
    if (c__kzo == 0 || c__kzo == EOF || c__kzo == 10) break;
    /* the rest of a long line is read but not kept */
    if (count__kzo < 299) lineP[count__kzo++] = (char)c__kzo;
  }
  lineP[count__kzo] = 0;
}

char *left__kzo(char *fromP, int delta) {
  static char pool__kzo[64][sizeof(struct string__kzo)];
  static int next__kzo;
  char *toP__kzo = pool__kzo[next__kzo];
  /* a negative delta, or one past the end, takes the whole string */
  size_t n__kzo = delta >= 0 && delta < 299 ? (size_t)delta : 299;
  char *endP__kzo;
  next__kzo = (next__kzo + 1) % 64;
  if (n__kzo <= 16) {
    size_t k__kzo;
    for (k__kzo = 0; k__kzo < n__kzo && fromP[k__kzo]; k__kzo++)
      toP__kzo[k__kzo] = fromP[k__kzo];
    n__kzo = k__kzo;
  } else {
    endP__kzo = memchr(fromP, 0, n__kzo);
    if (endP__kzo) n__kzo = (size_t)(endP__kzo - fromP);
    memcpy(toP__kzo, fromP, n__kzo);
  }
  toP__kzo[n__kzo] = 0;
  return toP__kzo;
}

char *right__kzo(char *charP, int delta) {
  size_t size__kzo = strlen(charP);
  if (delta < 0) return charP + size__kzo;
  if ((size_t)delta >= size__kzo) return charP;
  return charP + (size__kzo - (size_t)delta);
}

int instr__kzo(int start, char *target, char *arrow) {
  char *foundP__kzo;
  if (start < 1) return 0;
  /* no search when target is shorter than the start - 1 bytes it skips */
  if (start > 1 && memchr(target, 0, (size_t)start - 1)) return 0;
  target += start - 1;
  /* the empty arrow matches at the start itself */
  if (!arrow[0]) return start;
  foundP__kzo = arrow[1] ? strstr(target, arrow) : strchr(target, arrow[0]);
  return foundP__kzo ? start + (int)(foundP__kzo - target) : 0;
}

char *float__kzo(char *charP, double input) {
  char *toP__kzo = charP;
  double value__kzo;
  int e__kzo = 0;
  int d__kzo;
  int divisor__kzo = 100000000;
  int c__kzo;
  int x__kzo;
  int power__kzo;
  if (isnan(input)) {
    strcpy(charP, " NAN");
    return charP;
  }
  *toP__kzo++ = input < 0 ? '-' : ' ';
  value__kzo = fabs(input);
  if (isinf(value__kzo)) {
    strcpy(toP__kzo, "INF");
    return charP;
  }
  while (value__kzo >= 1.0) {
    e__kzo++;
    value__kzo /= 10.0;
  }
  if (value__kzo > 100 * DBL_MIN) {
    while (value__kzo < 0.1) {
      e__kzo--;
      value__kzo *= 10.0;
    }
    d__kzo = (int)(value__kzo * 1000000000.0 + 0.5);
  } else {
    d__kzo = 0;
    e__kzo = 1;
  }
  /* a mantissa rounded up to ten digits carries into the exponent */
  if (d__kzo >= 1000000000) {
    d__kzo = 100000000;
    e__kzo++;
  }
  if (e__kzo >= -2 && e__kzo <= 0) {
    *toP__kzo++ = '.';
    for (x__kzo = e__kzo; x__kzo < 0; x__kzo++) *toP__kzo++ = '0';
    c__kzo = -1;
  } else if (e__kzo >= 1 && e__kzo <= 9) {
    c__kzo = e__kzo;
  } else {
    c__kzo = 1;
  }
  do {
    if (c__kzo == 0) *toP__kzo++ = '.';
    c__kzo--;
    *toP__kzo++ = (char)('0' + d__kzo / divisor__kzo);
    d__kzo -= (d__kzo / divisor__kzo) * divisor__kzo;
    divisor__kzo /= 10;
  } while (d__kzo > 1 || c__kzo > 0);
  if (e__kzo >= 10 || e__kzo <= -3) {
    x__kzo = e__kzo - 1;
    *toP__kzo++ = 'E';
    if (x__kzo < 0) {
      *toP__kzo++ = '-';
      x__kzo = -x__kzo;
    } else {
      *toP__kzo++ = '+';
    }
    for (power__kzo = 100; power__kzo > 10 && power__kzo > x__kzo; power__kzo /= 10)
      ;
    for (; power__kzo > 0; power__kzo /= 10) {
      *toP__kzo++ = (char)('0' + x__kzo / power__kzo);
      x__kzo %= power__kzo;
    }
  }
  *toP__kzo = 0;
  return charP;
}


