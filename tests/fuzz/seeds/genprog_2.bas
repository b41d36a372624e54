# CONSTANT TOP = 3
# CONSTANT SIZE = 3
# CONSTANT SEP$ = "TEXT"
 DIM MAT ( 12 , 5 ) ,ARR(4+1) , SYMVAL( 3)
 ARR (total- COUNT - 0 )=MAT (5. *COUNT /COUNT)( 25 ) : READ Q$
 PRINT 10 *	INSTR ( LINE1$ ,Q$)+ 0.25 : LINE INPUT# total , LINE1$ :MAT(COUNT - x / TOP ,SIZE + total +007)= ASC (LEFT$ ( Q$ , K2+ total*total)) REM x: y
 GOSUB _SKIP :GOSUB TOP2: Q$ =MID$ (LINE1$,x*TOP -2.5+ TOP ,COUNT )
'it's
_SKIP RETURN
 LINE INPUT# N1,Q$
 FOR x= N1 TO MAT( COUNT -5. , SIZE) STEP	0 : IF total>= K2 -TOP *x *LEN ( "" )OR LEFT$( mid$,.5 / 7) <> CHR$( K2 ) THEN OPEN "O" ,#9, "data.txt"ELSE RETURN: PRINT@ x- K2 / K2 ,	ASC ( LINE1$)*COUNT- ASC( "ends\") / LEN ( CHR$	(.5+ COUNT)) ;	COUNT/SYMVAL( SIZE+.5 )*10 /LEN( "IF")'
 PRINT : PAUSE :RETURN
SPLIT RETURN
DONE STOP
L10 END:IF INSTR("AB", LEFT$ ( "" , total/ total )) < ASC ( LINE1$) / LEN(SEP$)*MAT (COUNT +total ,SIZE / SIZE)+MAT (.5*total -TOP)( 10 )THEN RETURN
TOP2 NEXT x : OPEN"i" ,#2 , mid$
 END
