_A X=1
 GOTO _A
