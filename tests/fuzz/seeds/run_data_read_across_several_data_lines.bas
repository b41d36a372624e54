 DIM N$(3)
 OPEN "O",#1,"out.txt"
 DATA WALK,PICK UP
 READ A$: READ B$
 PRINT#1,"[";A$;"][";B$;"]"
 FOR K=1 TO 10: READ C$: PRINT#1,"[";C$;"]": NEXT K
 READ N$(2)
 PRINT#1,"(";N$(2);")"
 DATA "A,B",C
 DATA  X , Y
 DATA 4,5
 DATA "Q\Z"
 DATA A:B
 DATA 'NOT A COMMENT
 END
 DATA LAST
