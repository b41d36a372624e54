 DATA "A\B","\"
