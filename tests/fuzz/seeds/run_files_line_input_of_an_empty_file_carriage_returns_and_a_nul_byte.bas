 OPEN "O",#1,"out.txt"
 OPEN "I",#2,"empty.txt"
 LINE INPUT#2,T$
 PRINT#1,"[";T$;"]"
 OPEN "I",#3,"crlf.txt"
 FOR K=1 TO 5
 LINE INPUT#3,T$
 PRINT#1,LEN(T$);LEFT$(T$,1)
 NEXT K
 LINE INPUT#2,T$
