 PRINT "A": X=1
