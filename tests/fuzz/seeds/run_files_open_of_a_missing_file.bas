 OPEN "O",#1,"out.txt"
 PRINT#1,"OK"
 OPEN "I",#2,"missing.txt"
 PRINT#1,"NOT HERE"
