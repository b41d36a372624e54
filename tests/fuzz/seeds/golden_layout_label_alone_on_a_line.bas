 X=1
 X=2
 X=3
L4
 X=5
