 OPEN "I",#A$,N$
