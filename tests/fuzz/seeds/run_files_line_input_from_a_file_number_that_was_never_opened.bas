 OPEN "O",#1,"out.txt"
 LINE INPUT#4,A$
