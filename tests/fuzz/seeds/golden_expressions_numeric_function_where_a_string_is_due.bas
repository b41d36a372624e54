 X$=LEN(A$)
