 X=1:DIM B(5)
