 X=1
~
 Y=2
 PRINT Z
