 X=LEN A$
