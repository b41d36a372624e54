' nothing below the tilde line is dialect
~
 this would not translate "
PRINT in column one
