 LEN(A$)=1
