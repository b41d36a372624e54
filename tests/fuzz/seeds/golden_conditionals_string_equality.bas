 IF T$="/" THEN I=1
