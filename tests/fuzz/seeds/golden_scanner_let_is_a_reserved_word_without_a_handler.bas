 LET A = 1
