 X=LEN()
