L1 REM hi
L2 ' ho
