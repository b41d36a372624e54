 OPEN "O",#1,"out.txt"
 PRINT#1,"OK"
 PRINT#10,"X"
 END
