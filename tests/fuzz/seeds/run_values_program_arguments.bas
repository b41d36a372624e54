 OPEN "O",#1,"out.txt"
 PRINT#1,ARGC;ARGV$(0)
 END
