 PRINT "A";
