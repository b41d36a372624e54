 IF
