 REM
 '
