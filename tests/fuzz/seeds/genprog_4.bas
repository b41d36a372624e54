 DIM LST$(	4+1 ) , ARR( 5)
 DATA "A,B"
W9 PRINT#0, I;LEN(ARGV$( COUNT*2 ) ) /ARGC' a 'b' c
NEXTONE IF INSTR ( K2 + 1,LEFT$ (LINE1$ ,0.25),"??/") +K2+ 3 - I = 0 /ASC ( ARGV$ (I+ 10 /5. ) ) -ARGC* ASC( ARGV$( N1 /COUNT -10+SPEED)) GOTO NEXTONE
 CLOSE
 READ mid$: PRINT LEFT$("\n", 3)
 PRINT@COUNT :CLOSE 9
 LST$(I)= mid$
 FOR N1 =LEN(ARGV$ ( 7)) /N1+ 0 *K2 TO 0: PRINT
 DATA 5,"x y",2.5
'x: y
 END REM ??/ odd
 END
