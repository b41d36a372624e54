/* The conversion macros and the stack declarations as a generated program
   sees them: this file is the runtime text followed by functions that use it. */
#include RUNTIME_FILE

int index_of(double x) { return index__kzo(x); }

int round_of(double x) { return round__kzo(x); }

int bound_of(double x, int n) { return bound__kzo(x, n); }

/* The FOR and GOSUB stacks hold ints; fora__kzo stays a char array. */
int stacks_hold_ints(void) {
  return _Generic(return__kzo[0], int: 1, default: 0) &&
         _Generic(returnP__kzo, int *: 1, default: 0) &&
         _Generic(for__kzo[0], int: 1, default: 0) &&
         _Generic(forP__kzo, int *: 1, default: 0) &&
         _Generic(tempP__kzo, int *: 1, default: 0) &&
         _Generic(fora__kzo[0], char: 1, default: 0) &&
         sizeof return__kzo == fors__kzo * sizeof(int) &&
         sizeof for__kzo == fors__kzo * sizeof(int) &&
         sizeof fora__kzo == fors__kzo;
}
