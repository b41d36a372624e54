 OPEN "O",#1,"out.txt"
 X=3: ON X GOTO return,end: PRINT#1,"FELL"
 X=1: ON X GOTO goto,end: PRINT#1,"NOT HERE"
return PRINT#1,"RETURN LABEL"
goto PRINT#1,"GOTO LABEL": GOTO gosub
 PRINT#1,"NOT HERE"
gosub IF X=1 THEN GOTO end ELSE GOTO return
end PRINT#1,"END LABEL"
 END
