 OPEN "O",#1,"a.txt"
 OPEN "O",#2,"b.txt"
 FOR I=1 TO 3
 PRINT#1,"A";I
 PRINT#2,"B";I;
 NEXT I
 END
