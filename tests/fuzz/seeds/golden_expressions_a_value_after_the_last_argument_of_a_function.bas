 X=LEN(A$ B$)
