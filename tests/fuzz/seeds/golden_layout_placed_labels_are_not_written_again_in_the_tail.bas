A X=1
B
