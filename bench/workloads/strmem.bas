' Memory of a generated program: MID$, LEFT$ and RIGHT$ ten million times each.
 OPEN "O",#1,"out.txt"
 A$="THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG"
 S=0: K=1
 FOR I=1 TO 10000000
 B$=MID$(A$,K,5)
 C$=LEFT$(A$,K)
 D$=RIGHT$(A$,K)
 S=S+LEN(B$)+LEN(C$)+LEN(D$)
 IF S>9999991 THEN S=S-9999991
 K=K+1
 IF K>30 THEN K=1
 NEXT I
 PRINT#1,"RESULT";S;I
 END
