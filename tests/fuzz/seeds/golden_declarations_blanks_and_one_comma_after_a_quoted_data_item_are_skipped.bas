 DATA "A"  , B,"C"
