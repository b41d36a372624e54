# CONSTANT A$ = B$
 X$=B$
