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
  int n__kzo;
  /* forward copy: fromP may lie further on inside toP */
  for (n__kzo = 0; n__kzo < 299 && fromP[n__kzo]; n__kzo++)
    toP[n__kzo] = fromP[n__kzo];
  toP[n__kzo] = 0;
  return toP;
}

char *mid__kzo(char *fromP, int begin, int length) {
  static char pool__kzo[64][sizeof(struct string__kzo)];
  static int next__kzo;
  char *toP__kzo = pool__kzo[next__kzo];
  size_t size__kzo = strlen(fromP);
  size_t n__kzo;
  next__kzo = (next__kzo + 1) % 64;
  if (length == 0 || (size_t)length > size__kzo) length = (int)size__kzo;
  if ((size_t)begin > size__kzo + 1) begin = (int)(size__kzo + 1);
  if (begin == 0) begin = 1;
  fromP += begin - 1;
  for (n__kzo = 0; n__kzo < (size_t)length && n__kzo < 299 && fromP[n__kzo]; n__kzo++)
    toP__kzo[n__kzo] = fromP[n__kzo];
  toP__kzo[n__kzo] = 0;
  return toP__kzo;
}

void lineinput__kzo(int fileno, char *lineP) {
  int c__kzo;
  int count__kzo = 0;
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
  size_t size__kzo = strlen(fromP);
  size_t n__kzo;
  next__kzo = (next__kzo + 1) % 64;
  if ((size_t)delta > size__kzo) delta = (int)size__kzo;
  for (n__kzo = 0; n__kzo < (size_t)delta && n__kzo < 299; n__kzo++)
    toP__kzo[n__kzo] = fromP[n__kzo];
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
  size_t targets__kzo = strlen(target);
  size_t arrows__kzo = strlen(arrow);
  size_t j__kzo;
  if (start < 1) return 0;
  if ((size_t)(start - 1) + arrows__kzo > targets__kzo) return 0;
  for (j__kzo = (size_t)(start - 1); j__kzo + arrows__kzo <= targets__kzo; j__kzo++)
    if (strncmp(target + j__kzo, arrow, arrows__kzo) == 0) return (int)(j__kzo + 1);
  return 0;
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


