 OPEN "X",1,N$
