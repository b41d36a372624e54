 IF T$="\" THEN X=1
