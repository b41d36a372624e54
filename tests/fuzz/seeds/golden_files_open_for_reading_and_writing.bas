 OPEN"I",#1,NAME$
 OPEN "O",2,F$
 OPEN "i", #N, "X.TXT"
 OPEN "o",N+1,F$(2)
