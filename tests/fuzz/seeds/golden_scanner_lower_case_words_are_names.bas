 mid$="A": X=LEN(mid$)
 print=1: MID=2
