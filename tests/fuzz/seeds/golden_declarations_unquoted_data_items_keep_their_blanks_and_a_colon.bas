 DATA A B ,  C
 DATA 1: X=1
