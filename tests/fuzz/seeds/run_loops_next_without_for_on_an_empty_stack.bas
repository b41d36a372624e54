 OPEN "O",#1,"out.txt"
 PRINT#1,"A"
 NEXT
 PRINT#1,"NOT HERE"
