 OPEN "O",#1,"out.txt"
 OPEN "I",#2,"long.txt"
 LINE INPUT#2,T$
 PRINT#1,LEN(T$);RIGHT$(T$,1)
 END
