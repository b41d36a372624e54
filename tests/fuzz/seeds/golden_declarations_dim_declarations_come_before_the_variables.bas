 X=1: Y$="A"
 DIM A(10),B$(5)
 Z=A(1)
