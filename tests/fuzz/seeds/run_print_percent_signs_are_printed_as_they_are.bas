 OPEN "O",#1,"out.txt"
 PRINT#1,"100%"
 P$="50%d%s%n"
 PRINT#1,P$;"|";P$
 PRINT "%s%s%s%n"
 END
