 X=1
 DIM A(2),B(3,N)
