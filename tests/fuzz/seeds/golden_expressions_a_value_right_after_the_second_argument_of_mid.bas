 X$=MID$(A$,1 2)
