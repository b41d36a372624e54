' gridbot: a robot walks east along a grid of cells, run by a script file.
# CONSTANT MAX = 25
 DIM LINE$(MAX),LABEL$(MAX),COMMAND$(MAX),TARGET$(MAX),COMMANDS$(MAX)
 DIM COMMAND(MAX),SYMBOL$(MAX),SYMVAL(MAX),LABEL(MAX),TARGET(MAX)
 DIM STACK(100),BASE$(512),ROBOTS$(4)
 IF ARGC=2 THEN NAME$=ARGV$(1) ELSE NAME$="ADD.BAS"
 OPEN "I",#1,NAME$
' A line is kept to 299 bytes when it is read, so a line of 299 bytes cannot
' be told from a longer one that was cut: a line of 299 or more is refused.
 LINE INPUT#1,T$: IF LEN(T$)>298 THEN M$="LINE TOO LONG": GOTO FAIL
' Store the lines up to "/" (23 at most: with the added END, 24); list all but the first.
 FOR I=0 TO 1 STEP 0
 IF LINES>22 THEN M$="SCRIPT TOO LONG": GOTO FAIL
 LINES=LINES+1: LINE$(LINES)=T$: LINE INPUT#1,T$
 IF LEN(T$)>298 THEN M$="LINE TOO LONG": GOTO FAIL
 IF T$="/" THEN I=1
 PRINT T$
 NEXT
 LINES=LINES+1: LINE$(LINES)="! END"
 PAUSE: CLS
' Drop the first character of every line and the blanks at its end.
 FOR I=1 TO LINES: LINE$(I)=MID$(LINE$(I),2)
 FOR K=0 TO 1 STEP 0
 IF RIGHT$(LINE$(I),1)=" " THEN LINE$(I)=LEFT$(LINE$(I),LEN(LINE$(I))-1) ELSE K=1
 NEXT
 PRINT LINE$(I);"!"
 NEXT
 PAUSE: CLS
' The command table: the names up to "/", listing all but the first.
 FOR I=0 TO 1 STEP 0: COMMANDS=COMMANDS+1: READ COMMANDS$(COMMANDS)
 IF COMMANDS>1 THEN PRINT COMMANDS$(COMMANDS)
 IF COMMANDS$(COMMANDS)="/" THEN I=1: COMMANDS=COMMANDS-1
 NEXT
 PAUSE: CLS
 DATA WALK,PICK UP,PUT DOWN,RETURN,END,GOSUB
 DATA IF MARKED GOTO,IF ZERO GOTO,IF BLOCKED GOTO,IF NOT MARKED GOTO
 DATA IF NOT ZERO GOTO,IF NOT BLOCKED GOTO,GOTO,/
' Split every line into label, command and target. K is where the command
' starts; a command matches when its text stands there.
 FOR I=1 TO LINES: PRINT LINE$(I): COMMAND(I)=14
 IF LINE$(I)="" GOTO PARSED
 K=2: IF LEFT$(LINE$(I),1)=" " GOTO NOLABEL
 K=INSTR(LINE$(I)," ")+1: IF K=1 THEN LABEL$(I)=LINE$(I): GOTO PARSED
 LABEL$(I)=LEFT$(LINE$(I),K-2)
NOLABEL FOR J=1 TO COMMANDS
 IF INSTR(K,LINE$(I),COMMANDS$(J))<>K THEN NEXT: COMMAND(I)=0: PRINT "BAD COMMAND IN LINE";I: GOTO PARSED
 COMMAND(I)=J: COMMAND$(I)=COMMANDS$(J)
 IF J=6 THEN TARGET$(I)=MID$(LINE$(I),K+6)
 IF J>6 THEN N=INSTR(LINE$(I),"GOTO"): TARGET$(I)=MID$(LINE$(I),N+5)
' NEXT I also drops the command loop that a match left.
PARSED NEXT I
 PAUSE: CLS
 FOR I=1 TO LINES: PRINT LABEL$(I);",";COMMAND$(I);",";TARGET$(I);".": NEXT
 PAUSE: CLS
' Symbols: every distinct label and target name (the empty name too). A
' symbol's line is the first line that carries it as its label, else 0.
 FOR L=1 TO LINES: T$=LABEL$(L): GOSUB LOOKUP: LABEL(L)=SYMBOL
 IF SYMVAL(SYMBOL)=0 THEN SYMVAL(SYMBOL)=L
 T$=TARGET$(L): GOSUB LOOKUP: TARGET(L)=SYMBOL
 NEXT
 GOTO GRID
' LOOKUP: the number of the symbol T$ in SYMBOL, entered if it is new.
LOOKUP IF SYMBOLS=0 GOTO NEWNAME
 FOR J=1 TO SYMBOLS
 IF SYMBOL$(J)=T$ THEN SYMBOL=J: RETURN
 NEXT
NEWNAME IF SYMBOLS>23 THEN M$="TOO MANY NAMES": GOTO FAIL
 SYMBOLS=SYMBOLS+1: SYMBOL$(SYMBOLS)=T$: SYMBOL=SYMBOLS: RETURN
' The grid: 10 rows of 32 cells, and the two numbers from the last DATA line.
GRID CLS
 FOR P=0 TO 319: PRINT@P,".";: BASE$(P)=".": NEXT
 FOR P=8 TO 16 STEP 8: READ N$
 FOR I=1 TO LEN(N$): PRINT@P+I,MID$(N$,I,1);: BASE$(P+I)=MID$(N$,I,1): NEXT
 NEXT
 EAST=0: NORTH=1: WEST=2: SOUTH=3
 ROBOTS$(EAST)=">": ROBOTS$(NORTH)="A": ROBOTS$(WEST)="<": ROBOTS$(SOUTH)="V"
 DIRECTION=EAST: ROBOT$=ROBOTS$(DIRECTION)
 P=0: UNDER$=BASE$(0): PRINT@P,ROBOT$;
 PAUSE
 TOP=0: L=0: GOTO A
' A script is a text file of lines ended by a line "/". The first character
' of a line is ignored, then comes an optional label, one blank, a command and,
' for GOSUB and the GOTO forms, the target label after one blank:
'
'   1  WALK                      the robot steps to the next cell
'   2  PICK UP                   one item less in the cell under the robot
'   3  PUT DOWN                  one item more
'   4  RETURN                    back to the line after the last GOSUB
'   5  END                       end of the run
'   6  GOSUB name                call the lines from the label name on
'   7  IF MARKED GOTO name       jump when the cell is not empty (".")
'   8  IF ZERO GOTO name         jump when the cell holds "0"
'   9  IF BLOCKED GOTO name      never jumps: no cell is ever blocked
'  10  IF NOT MARKED GOTO name   jump when the cell is empty
'  11  IF NOT ZERO GOTO name     jump when the cell does not hold "0"
'  12  IF NOT BLOCKED GOTO name  never jumps either
'  13  GOTO name                 jump
' A cell holds "." (empty) or a digit, the number of items in it. The robot
' walks east only and carries nothing: it keeps its count in its own stack of
' calls (100 deep), and the run ends with END or a RETURN with no call left.
'
' The handlers. Each ends the step with GOTO A, which runs the next line.
' UNDER$ is the cell under the robot as the robot sees it; BASE$ keeps what
' the grid was drawn with.
'
' WALK: put the cell back on the screen and step to the next cell; from the
' last column of a row the robot goes on to the first of the next.
WALK IF P>510 THEN M$="OFF THE GRID": GOTO HALT
 PRINT@P,UNDER$;: P=P+1: UNDER$=BASE$(P): PRINT@P,ROBOT$;: GOTO A
' PICK UP: one item less; taking the last one leaves "." (empty).
UP IF UNDER$="" THEN M$="NOTHING TO PICK UP": GOTO HALT
 UNDER$=CHR$(ASC(UNDER$)-1): IF UNDER$="0" THEN UNDER$="."
 PRINT@P,UNDER$;: GOTO A
' PUT DOWN: one item more; an empty cell (".") gets "1".
DOWN UNDER$=CHR$(ASC(UNDER$)+1): IF UNDER$=CHR$(ASC(".")+1) THEN UNDER$="1"
 PRINT@P,UNDER$;: GOTO A
' RETURN: on with the line after the last GOSUB; with none left the run ends.
return IF TOP=0 THEN PRINT@P,UNDER$;: PRINT@320: END
 TOP=TOP-1: L=STACK(TOP): GOTO A
end PRINT@P,UNDER$;: PRINT@320: PAUSE: CLS: END
gosub IF TOP>99 THEN M$="STACK FULL": GOTO HALT
 STACK(TOP)=L: TOP=TOP+1: GOTO goto
' The tests look at the cell under the robot; a jump goes on at goto.
MARKED IF UNDER$<>"." GOTO goto
 GOTO A
ZERO IF UNDER$="0" GOTO goto
 GOTO A
' No cell is ever blocked, so both BLOCKED tests go on with the next line.
BLOCKED GOTO A
NOTMARKED IF UNDER$="." GOTO goto
 GOTO A
NOTZERO IF UNDER$<>"0" GOTO goto
 GOTO A
NOTBLOCKED GOTO A
goto L=SYMVAL(TARGET(L))-1: GOTO A
SKIP GOTO A
' A limit of the tables was reached: say so and end.
FAIL CLS: PRINT M$: END
HALT PRINT@544,M$: END
' The dispatch, in two stages: commands 1 to 9, then 10 to 14 (14 is a line
' without a command). A line whose command was not recognised (0), and line 0,
' which a jump to a name that no line carries reaches, pass both stages: the
' second one's selector is then negative and the run stops there.
A L=L+1
 ON COMMAND(L) GOTO WALK,UP,DOWN,return,end,gosub,MARKED,ZERO,BLOCKED
 ON COMMAND(L)-9 GOTO NOTMARKED,NOTZERO,NOTBLOCKED,goto,SKIP
' The two grid numbers, read after the command table.
 DATA 4,5
