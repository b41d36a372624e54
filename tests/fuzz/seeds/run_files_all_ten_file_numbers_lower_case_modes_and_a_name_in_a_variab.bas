 FOR F=0 TO 9
 OPEN "O",#F,CHR$(48+F)
 NEXT F
 FOR F=9 TO 0 STEP 0-1
 PRINT#F,F
 NEXT F
 N$="in.txt"
 OPEN "i",#9.4,N$
 LINE INPUT#9,T$
 OPEN "o",3,"lower.txt"
 PRINT#3,T$
 END
