 DIM A(0-1)
