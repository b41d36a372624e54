 OPEN "O",#1,"out.txt"
 READ A$: READ B$
 PRINT#1,A$;"|";B$
 END
 DATA C:\DIR,A"B
