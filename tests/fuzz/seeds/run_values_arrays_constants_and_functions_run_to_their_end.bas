# CONSTANT MAX = 25
# CONSTANT T$ = "HELLO WORLD"
# CONSTANT G$ = "SAY XT$ NOW"
 DIM A(MAX),N$(MAX),B(3,4)
 N$(1)=T$
 N$(2)=MID$(N$(1),7,3)
 N$(3)=MID$(N$(1),7)
 N$(4)=LEFT$(N$(1),5)
 N$(5)=RIGHT$(N$(1),5)
 N$(6)=CHR$(ASC(".")+1)
 A(1)=INSTR(N$(1),"O")
 A(2)=INSTR(6,N$(1),"O")
 A(3)=ASC(N$(1))
 A(4)=LEN(G$)
 B(2,3)=A(1)+A(2)*2
 A(A(1))=B(2,3)-1
 A(MAX-1)=MAX
 N$(MAX-1)=N$(A(1)-3)
 END
