/* Console runtime of translated classic line-numbered programs: standard
   input and output only, numbers as doubles, strings of up to 255 bytes. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <math.h>
#include <time.h>
#include <unistd.h>

/* A program uses some of these parts; the others are not worth a warning,
   and neither is the dispatcher of a program without return points. */
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wunused-function"
#pragma GCC diagnostic ignored "-Wunused-variable"
#pragma GCC diagnostic ignored "-Wunused-label"
#endif

#define strmax__kzo 255
#define temps__kzo 256
#define stackmax__kzo 10000
#define dimmax__kzo 8

static int line__kzo;       /* the program's line now running */
static int col__kzo;        /* the output column, 0 first */
static int point__kzo;      /* the return point a jump goes to */

/* ---- stops */

static void stop__kzo(const char *mesg) {
  if (col__kzo) putchar('\n');
  printf("%s in line %d\n", mesg, line__kzo);
  fflush(stdout);
  exit(1);
}

static void end__kzo(void) {
  fflush(stdout);
  exit(0);
}

static void break__kzo(void) {
  printf("\nBREAK IN %d\n", line__kzo);
  end__kzo();
}

static void undefined__kzo(int target) {
  char mesg[64];
  snprintf(mesg, sizeof mesg, "undefined line %d", target);
  stop__kzo(mesg);
}

/* ---- arithmetic with the stops of the language */

static double num__kzo(double x) {
  if (!isfinite(x)) stop__kzo("overflow");
  return x;
}

static double div__kzo(double a, double b) {
  if (b == 0) stop__kzo("division by zero");
  return num__kzo(a / b);
}

static double pow__kzo(double a, double b) {
  if (a == 0 && b < 0) stop__kzo("division by zero");
  if (a < 0 && b != floor(b)) stop__kzo("illegal quantity");
  return num__kzo(pow(a, b));
}

static int int16__kzo(double x) {
  if (!(x > -32769 && x < 32768)) stop__kzo("illegal quantity");
  return (int)x;
}

static double and__kzo(double a, double b) { return int16__kzo(a) & int16__kzo(b); }
static double or__kzo(double a, double b) { return int16__kzo(a) | int16__kzo(b); }
static double not__kzo(double a) { return ~int16__kzo(a); }

static double sgn__kzo(double x) { return x > 0 ? 1 : x < 0 ? -1 : 0; }

static double sqr__kzo(double x) {
  if (x < 0) stop__kzo("illegal quantity");
  return sqrt(x);
}

static double log__kzo(double x) {
  if (x <= 0) stop__kzo("illegal quantity");
  return log(x);
}

static double exp__kzo(double x) { return num__kzo(exp(x)); }
static double tan__kzo(double x) { return num__kzo(tan(x)); }

/* Whole numbers for counts and positions: truncated, and in 0..limit. */
static int count__kzo(double x, int limit) {
  if (!(x > -1 && x < limit + 1.0)) stop__kzo("illegal quantity");
  return (int)x;
}

/* ---- random numbers: one fixed sequence unless reseeded */

static unsigned long long seed__kzo = 0x2545F4914F6CDD1Dull;
static double last__kzo;
static int seeded__kzo;

static void randomize__kzo(double x) {
  unsigned long long bits;
  memcpy(&bits, &x, sizeof bits);
  seed__kzo = (bits ^ 0x9E3779B97F4A7C15ull) | 1;
  seeded__kzo = 1;
}

static double rnd__kzo(double x) {
  if (!seeded__kzo) {
    seeded__kzo = 1;
    if (getenv("KZO_RANDOMIZE")) randomize__kzo((double)time(NULL));
  }
  if (x == 0) return last__kzo;
  if (x < 0) randomize__kzo(x);
  seed__kzo ^= seed__kzo >> 12;
  seed__kzo ^= seed__kzo << 25;
  seed__kzo ^= seed__kzo >> 27;
  last__kzo = (double)((seed__kzo * 0x2545F4914F6CDD1Dull) >> 11) / 9007199254740992.0;
  return last__kzo;
}

/* ---- strings: results of string functions live in a ring of buffers */

static char *temp__kzo(void) {
  static char ring[temps__kzo][strmax__kzo + 1];
  static int next;
  char *t = ring[next];
  next = (next + 1) % temps__kzo;
  return t;
}

static char *let__kzo(char *to, const char *from) {
  size_t n = strlen(from);
  if (n > strmax__kzo) stop__kzo("string too long");
  memmove(to, from, n + 1);
  return to;
}

static const char *cat__kzo(const char *a, const char *b) {
  size_t na = strlen(a), nb = strlen(b);
  char *t;
  if (na + nb > strmax__kzo) stop__kzo("string too long");
  t = temp__kzo();
  memcpy(t, a, na);
  memcpy(t + na, b, nb + 1);
  return t;
}

static double compare__kzo(const char *a, const char *b) {
  int c = strcmp(a, b);
  return c < 0 ? -1 : c > 0;
}

static const char *part__kzo(const char *s, size_t from, size_t n) {
  size_t len = strlen(s);
  char *t = temp__kzo();
  if (from > len) from = len;
  if (n > len - from) n = len - from;
  memcpy(t, s + from, n);
  t[n] = 0;
  return t;
}

static const char *left__kzo(const char *s, double n) {
  return part__kzo(s, 0, (size_t)count__kzo(n, 255));
}

static const char *right__kzo(const char *s, double n) {
  size_t len = strlen(s), k = (size_t)count__kzo(n, 255);
  return part__kzo(s, k < len ? len - k : 0, k);
}

static const char *mid__kzo(const char *s, double start, double n) {
  int from = count__kzo(start, 255);
  if (from < 1) stop__kzo("illegal quantity");
  return part__kzo(s, (size_t)from - 1, (size_t)count__kzo(n, 255));
}

static double len__kzo(const char *s) { return (double)strlen(s); }

static double asc__kzo(const char *s) {
  if (!*s) stop__kzo("illegal quantity");
  return (unsigned char)*s;
}

static const char *chr__kzo(double x) {
  char *t = temp__kzo();
  t[0] = (char)count__kzo(x, 255);
  t[1] = 0;
  return t;
}

/* A number at the start of s (blanks skipped): the count of bytes it
   takes, 0 when there is none. */
static size_t scan__kzo(const char *s, double *value) {
  const char *p = s, *digits;
  char text[80];
  size_t n = 0;
  while (*p == ' ') p++;
  if (*p == '+' || *p == '-') text[n++] = *p++;
  digits = p;
  while (*p >= '0' && *p <= '9' && n < 60) text[n++] = *p++;
  if (*p == '.') text[n++] = *p++;
  while (*p >= '0' && *p <= '9' && n < 60) text[n++] = *p++;
  if (p == digits || (p == digits + 1 && *digits == '.')) return 0;
  if ((*p == 'E' || *p == 'e') &&
      ((p[1] >= '0' && p[1] <= '9') ||
       ((p[1] == '+' || p[1] == '-') && p[2] >= '0' && p[2] <= '9'))) {
    text[n++] = 'E';
    p++;
    if (*p == '+' || *p == '-') text[n++] = *p++;
    while (*p >= '0' && *p <= '9' && n < 75) text[n++] = *p++;
  }
  text[n] = 0;
  *value = num__kzo(strtod(text, NULL));
  return (size_t)(p - s);
}

static double val__kzo(const char *s) {
  double v = 0;
  return scan__kzo(s, &v) ? v : 0;
}

/* A number the way PRINT and STR$ write it, without the blank after it:
   a blank or "-", at most 9 significant digits, no leading zero, and the
   exponent form from 1E9 up and below .01. */
static void format__kzo(double x, char *out) {
  char m[40], digits[16];
  int nd = 0, e, i;
  if (x == 0) {
    strcpy(out, " 0");
    return;
  }
  *out++ = x < 0 ? '-' : ' ';
  snprintf(m, sizeof m, "%.8e", fabs(x));
  for (i = 0; m[i] && m[i] != 'e'; i++)
    if (m[i] != '.') digits[nd++] = m[i];
  e = atoi(m + i + 1);
  while (nd > 1 && digits[nd - 1] == '0') nd--;
  if (e >= -2 && e < 9) {
    if (e < 0) {
      *out++ = '.';
      for (i = -1; i > e; i--) *out++ = '0';
      for (i = 0; i < nd; i++) *out++ = digits[i];
    } else {
      for (i = 0; i <= e; i++) *out++ = i < nd ? digits[i] : '0';
      if (nd > e + 1) *out++ = '.';
      for (; i < nd; i++) *out++ = digits[i];
    }
    *out = 0;
    return;
  }
  *out++ = digits[0];
  if (nd > 1) *out++ = '.';
  for (i = 1; i < nd; i++) *out++ = digits[i];
  sprintf(out, "E%c%02d", e < 0 ? '-' : '+', e < 0 ? -e : e);
}

static const char *str__kzo(double x) {
  char *t = temp__kzo();
  format__kzo(x, t);
  return t;
}

/* ---- output: the column is followed for TAB, SPC and the comma */

static void emit__kzo(const char *s) {
  for (; *s; s++) {
    putchar(*s);
    if (*s == '\n' || *s == '\r') col__kzo = 0;
    else col__kzo++;
  }
}

static void blanks__kzo(int n) {
  for (; n > 0; n--) emit__kzo(" ");
}

static void printnum__kzo(double x) {
  char text[40];
  format__kzo(x, text);
  emit__kzo(text);
  emit__kzo(" ");
}

static void printstr__kzo(const char *s) { emit__kzo(s); }
static void newline__kzo(void) { emit__kzo("\n"); }
static void comma__kzo(void) { blanks__kzo((col__kzo / 14 + 1) * 14 - col__kzo); }
/* A column reached by summing decimal steps (L/S2 after ten steps of
   .1) may fall a hair short of a whole number in binary arithmetic; it
   counts as that number. */
static void tab__kzo(double x) {
  double whole = ceil(x);
  blanks__kzo(count__kzo(whole - x < 1e-9 ? whole : x, 255) - col__kzo);
}
static void spc__kzo(double x) { blanks__kzo(count__kzo(x, 255)); }
static double pos__kzo(double x) { (void)x; return col__kzo; }

/* ---- the stack of FOR loops and GOSUBs; a GOSUB frame has no variable */

typedef struct {
  double *var;
  double limit, step;
  int point;
} frame__kzo;

static frame__kzo stack__kzo[stackmax__kzo];
static int depth__kzo;

static void push__kzo(double *var, double limit, double step, int point) {
  frame__kzo *f;
  if (depth__kzo == stackmax__kzo) stop__kzo("out of memory");
  f = &stack__kzo[depth__kzo++];
  f->var = var;
  f->limit = limit;
  f->step = step;
  f->point = point;
}

/* FOR on the variable of an open loop closes that loop and the ones
   inside it. */
static void for__kzo(double *var, double limit, double step, int point) {
  int i;
  for (i = depth__kzo - 1; i >= 0 && stack__kzo[i].var; i--)
    if (stack__kzo[i].var == var) {
      depth__kzo = i;
      break;
    }
  push__kzo(var, limit, step, point);
}

/* NEXT: the return point of the loop's body, or -1 when it is done. */
static int next__kzo(double *var) {
  int i = depth__kzo - 1;
  frame__kzo *f;
  if (var)
    while (i >= 0 && stack__kzo[i].var && stack__kzo[i].var != var) i--;
  if (i < 0 || !stack__kzo[i].var) stop__kzo("next without for");
  f = &stack__kzo[i];
  depth__kzo = i + 1;
  *f->var = num__kzo(*f->var + f->step);
  if (f->step >= 0 ? *f->var > f->limit : *f->var < f->limit) {
    depth__kzo = i;
    return -1;
  }
  return f->point;
}

static void gosub__kzo(int point) { push__kzo(NULL, 0, 0, point); }

static int return__kzo(void) {
  while (depth__kzo > 0 && stack__kzo[depth__kzo - 1].var) depth__kzo--;
  if (depth__kzo == 0) stop__kzo("return without gosub");
  return stack__kzo[--depth__kzo].point;
}

/* ON e GOTO/GOSUB: the position in a list of n, 0 for none. */
static int on__kzo(double x, int n) {
  int k;
  if (x < 0) stop__kzo("illegal quantity");
  k = count__kzo(x, 255);
  return k <= n ? k : 0;
}

/* ---- arrays: DIM sizes at run time, 0..10 per dimension without DIM */

typedef struct {
  void *data;
  int dims;
  int size[dimmax__kzo];
} array__kzo;

static void dim__kzo(array__kzo *a, size_t elem, int dims, const double *sizes) {
  size_t total = 1;
  int i;
  if (a->data) stop__kzo("redimensioned array");
  for (i = 0; i < dims; i++) {
    if (!(sizes[i] > -1 && sizes[i] < 32768)) stop__kzo("illegal quantity");
    a->size[i] = (int)sizes[i] + 1;
    total *= (size_t)a->size[i];
    if (total * elem > ((size_t)1 << 30)) stop__kzo("out of memory");
  }
  a->dims = dims;
  a->data = calloc(total, elem);
  if (!a->data) stop__kzo("out of memory");
}

static size_t element__kzo(array__kzo *a, size_t elem, int dims, const double *index) {
  size_t at = 0;
  int i;
  if (!a->data) {
    double tens[dimmax__kzo] = {10, 10, 10, 10, 10, 10, 10, 10};
    dim__kzo(a, elem, dims, tens);
  }
  if (a->dims != dims) stop__kzo("index overflow");
  for (i = 0; i < dims; i++) {
    if (!(index[i] > -1 && index[i] < a->size[i])) stop__kzo("index overflow");
    at = at * (size_t)a->size[i] + (size_t)(int)index[i];
  }
  return at;
}

static double *numat__kzo(array__kzo *a, int dims, const double *index) {
  size_t at = element__kzo(a, sizeof(double), dims, index); /* may make a->data */
  return (double *)a->data + at;
}

static char *strat__kzo(array__kzo *a, int dims, const double *index) {
  size_t at = element__kzo(a, strmax__kzo + 1, dims, index); /* may make a->data */
  return (char *)a->data + at * (strmax__kzo + 1);
}

/* ---- READ, DATA, RESTORE: a quoted item starts with its quote */

static const char *const *data__kzo;
static int datacount__kzo, datanext__kzo;

static const char *datum__kzo(void) {
  if (datanext__kzo >= datacount__kzo) stop__kzo("out of data");
  return data__kzo[datanext__kzo++];
}

static void readstr__kzo(char *to) {
  const char *d = datum__kzo();
  if (*d == '"') d = part__kzo(d, 1, strlen(d) - 1);
  let__kzo(to, d);
}

static void readnum__kzo(double *to) {
  const char *d = datum__kzo();
  double v = 0;
  size_t n = scan__kzo(d, &v);
  while (d[n] == ' ') n++;
  if (*d && d[n]) stop__kzo("syntax error in data");
  *to = v;
}

static void restore__kzo(int item) { datanext__kzo = item; }

/* ---- INPUT */

typedef struct {
  char kind; /* 'N' number, 'S' string */
  void *place;
} place__kzo;

/* Reads one line of standard input into line; at the end of the input
   the program stops. Read from a file or pipe, the line end a terminal
   would echo is written. */
static void readline__kzo(char *line, size_t size) {
  size_t n = 0;
  int c;
  fflush(stdout);
  c = getchar();
  if (c == EOF) stop__kzo("input past end");
  for (; c != EOF && c != '\n'; c = getchar())
    if (c != '\r' && c != 0 && n + 1 < size) line[n++] = (char)c;
  line[n] = 0;
  if (!isatty(0)) putchar('\n');
  col__kzo = 0;
}

/* One field of an answer at *p into text; *p moves to the comma that
   ends it, or to the end. */
static void field__kzo(const char **p, char *text) {
  const char *s = *p;
  size_t n = 0;
  while (*s == ' ') s++;
  if (*s == '"') {
    for (s++; *s && *s != '"'; s++)
      if (n < strmax__kzo) text[n++] = *s;
    if (*s) s++;
    while (*s && *s != ',') s++;
  } else {
    for (; *s && *s != ','; s++)
      if (n < strmax__kzo) text[n++] = *s;
  }
  text[n] = 0;
  *p = s;
}

static void input__kzo(const char *prompt, int count, const place__kzo *places) {
  static char line[1024], texts[64][strmax__kzo + 1];
  static double values[64];
  const char *p;
  int i;
  size_t n;
redo:
  emit__kzo(prompt);
  readline__kzo(line, sizeof line);
  if (!line[0]) return;
  p = line;
  for (i = 0; i < count && i < 64; i++) {
    if (i > 0) {
      if (*p == ',') {
        p++;
      } else {
        emit__kzo("?? ");
        readline__kzo(line, sizeof line);
        p = line;
      }
    }
    field__kzo(&p, texts[i]);
    if (places[i].kind == 'N') {
      values[i] = 0;
      n = scan__kzo(texts[i], &values[i]);
      while (texts[i][n] == ' ') n++;
      if (texts[i][n]) {
        emit__kzo("?REDO FROM START\n");
        goto redo;
      }
    }
  }
  if (*p) emit__kzo("?EXTRA IGNORED\n");
  for (i = 0; i < count && i < 64; i++) {
    if (places[i].kind == 'N') *(double *)places[i].place = values[i];
    else strcpy((char *)places[i].place, texts[i]);
  }
}

static void start__kzo(const char *const *data, int count) {
  data__kzo = data;
  datacount__kzo = count;
}
