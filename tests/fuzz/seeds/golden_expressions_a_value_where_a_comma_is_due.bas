 X$=LEFT$(A$ 1)
