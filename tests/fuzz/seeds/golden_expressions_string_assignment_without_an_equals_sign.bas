 X$ "A"
