 OPEN "O",#1,"out.txt"
 READ A$: PRINT#1,"[";A$;"]"
 READ A$: PRINT#1,"[";A$;"]"
 READ A$: PRINT#1,"NO"
 END
 DATA ONE
