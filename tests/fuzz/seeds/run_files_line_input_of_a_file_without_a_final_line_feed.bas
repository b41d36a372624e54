 OPEN "O",#1,"out.txt"
 OPEN "I",#2,"in.txt"
 N=0
L LINE INPUT#2,T$
 N=N+1
 PRINT#1,N;"[";T$;"]"
 GOTO L
