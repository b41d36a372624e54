/* The smallest generated program: the runtime text and an empty main. */
#include RUNTIME_FILE
int main(void){return 0;}
