 FOR I=1 TO "B"
