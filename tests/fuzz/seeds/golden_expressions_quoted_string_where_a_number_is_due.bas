 X="A"
