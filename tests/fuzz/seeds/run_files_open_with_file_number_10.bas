 OPEN "O",#10,"ten.txt"
 END
