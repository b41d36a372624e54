 DIM A(5)
 OPEN "O",#1,"out.txt"
 I=0-1
 PRINT#1,"BEFORE"
 A(I)=1
