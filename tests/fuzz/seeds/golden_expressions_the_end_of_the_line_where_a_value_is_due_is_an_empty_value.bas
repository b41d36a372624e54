 X=A+
