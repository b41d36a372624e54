 X=A B
