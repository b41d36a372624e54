 OPEN "O",#1,"out.txt"
 PRINT#1,"START"
R GOSUB R
