10 GOTO 10
20 NEXT
 REM only the indented lines run
