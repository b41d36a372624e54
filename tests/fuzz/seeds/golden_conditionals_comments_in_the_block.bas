 IF A>1 THEN X=1 ' c
