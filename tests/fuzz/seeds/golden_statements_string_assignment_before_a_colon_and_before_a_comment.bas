 A$="X": B=1
 A$="Y" ' c
