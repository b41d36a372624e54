 X=1 ' set
