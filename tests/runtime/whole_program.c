/* The smallest generated program: the runtime text and an empty main. */
#include "runtime.c"
int main(void){return 0;}
