 X=1+ABS(2)
