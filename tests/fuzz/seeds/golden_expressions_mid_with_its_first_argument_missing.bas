 X$=MID$(
