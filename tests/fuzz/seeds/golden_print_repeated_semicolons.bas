 PRINT "A";;"B"
