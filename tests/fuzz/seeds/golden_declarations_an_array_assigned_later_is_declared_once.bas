 DIM A(10)
 A(1)=2
