 X$="AB
