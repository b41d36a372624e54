 OPEN "I",1 N$
