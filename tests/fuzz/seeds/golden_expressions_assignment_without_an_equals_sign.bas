 X
