 OPEN "O",#1,"out.txt"
 PRINT#1,2+3*4;10-4-3;8/4/2;7/2
 X=5: Y=X*X-X/5
 PRINT#1,Y;0-X;X-X
 END
