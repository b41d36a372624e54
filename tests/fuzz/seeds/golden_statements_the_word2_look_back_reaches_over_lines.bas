 PRINT X ' note
 ' c
 X=1
 ' d
