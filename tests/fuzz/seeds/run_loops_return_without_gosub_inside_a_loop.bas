 OPEN "O",#1,"out.txt"
 FOR I=1 TO 3
 PRINT#1,I
 RETURN
