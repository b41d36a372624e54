 X$=LEFT$(A$
