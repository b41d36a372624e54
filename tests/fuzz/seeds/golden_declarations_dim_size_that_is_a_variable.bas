 DIM A(N)
