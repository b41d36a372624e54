 X$="A"
 X$="B": N=1
 N=X
