 X$=LEFT$(A$,
