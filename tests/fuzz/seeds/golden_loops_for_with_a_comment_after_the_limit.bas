 FOR I=1 TO 10 ' c
