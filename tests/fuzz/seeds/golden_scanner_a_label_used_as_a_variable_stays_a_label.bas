W X=1
 W=2
 Y=W
