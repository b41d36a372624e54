 X=A(1
