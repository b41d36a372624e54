 X=INSTR(LEN(A$),B$,C$)
