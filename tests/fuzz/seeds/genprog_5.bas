# CONSTANT N_MAX = 10
 DIM SYMVAL(12) ,GRID (3,N_MAX+2)
 ON total GOTO SUB1 REM
 GOSUB DONE:LINE INPUT Q$
10 RETURN
 PRINT @N_MAX/COUNT * J /N1 , COUNT-10;total / N1
SUB1 CLS
DONE SYMVAL (5.+ J- 5.) =.5 :IF N_MAX /5. >= J /LEN ( LEFT$( mid$ ,C -C) ) * ARGC-COUNT THEN SYMVAL( 2.5 +	N_MAX/ N1 * N_MAX) = N_MAX+ LEN(	mid$ ) ' say "hi"
 DATA"x y" , "A,B"
 ON J+ N1- N_MAX +0.25 GOTO SUB1
 PRINT @J -J, ASC (mid$) +total;LEN (CHR$ (N1*N1 )) / .5 +total/ ARGC:CLS: FOR J=GRID( C *J *COUNT *1)(C	) TO ASC ( "A")*LEN ( mid$) / GRID ( J/ 3 , N_MAX+ N_MAX - COUNT)
 GOTO SUB1 :NEXT J
 GRID (J +N1, total/ N1-N_MAX/N_MAX) = LEN ( "a b" )* ASC( MID$ ("it's",N_MAX+C/ 1)): Q$=ROBOT$ :' tab	here
 READ Q$
 GOSUB SUB1
 END
'
 END
