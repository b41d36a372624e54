 X=CHR$(65)
