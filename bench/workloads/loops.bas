' Nested FOR loops with arithmetic: a bounded integer checksum.
# CONSTANT PASSES = 500
 OPEN "O",#1,"out.txt"
 S=0: T=0
 FOR I=1 TO PASSES
 FOR J=1 TO 400
 S=S+I*7+J*3-I-J
 IF S>9999991 THEN S=S-9999991
 T=T+I*J/4
 IF T>3999999 THEN T=T-3999999
 NEXT J
 NEXT I
 PRINT#1,"RESULT";S;T*4
 END
