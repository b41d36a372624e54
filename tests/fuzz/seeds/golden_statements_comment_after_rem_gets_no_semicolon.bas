 X=1: REM set
