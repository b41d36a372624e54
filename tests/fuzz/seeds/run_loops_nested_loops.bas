 OPEN "O",#1,"out.txt"
 FOR I=1 TO 2
 FOR J=1 TO 3
 PRINT#1,I*10+J;
 NEXT J
 PRINT#1,"|";
 NEXT I
 PRINT#1,"/";I;J
 END
