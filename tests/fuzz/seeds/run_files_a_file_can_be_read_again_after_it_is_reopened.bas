 OPEN "O",#1,"out.txt"
 OPEN "I",#2,"in.txt"
 LINE INPUT#2,A$
 LINE INPUT#2,A$
 OPEN "I",#2,"in.txt"
 LINE INPUT#2,B$
 PRINT#1,"[";A$;"][";B$;"]"
 END
