 PRINT "A"; ' c
