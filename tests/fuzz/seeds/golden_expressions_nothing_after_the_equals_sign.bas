 X=
