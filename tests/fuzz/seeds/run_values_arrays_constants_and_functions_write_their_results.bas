# CONSTANT MAX = 25
# CONSTANT T$ = "HELLO WORLD"
# CONSTANT G$ = "SAY XT$ NOW"
 DIM A(MAX),N$(MAX),B(3,4)
 OPEN "O",#1,"out.txt"
 N$(1)=T$
 N$(2)=MID$(N$(1),7,3)
 N$(3)=MID$(N$(1),7)
 N$(4)=LEFT$(N$(1),5)
 N$(5)=RIGHT$(N$(1),5)
 N$(6)=CHR$(ASC(".")+1)
 N$(7)=CHR$(65)
 N$(8)=G$
 N$(9)=MID$(T$,INSTR(T$," ")+1)
 N$(MAX-1)=LEFT$(N$(8),LEN(N$(8))-4)
 A(1)=INSTR(N$(1),"O")
 A(2)=INSTR(6,N$(1),"O")
 A(3)=ASC(N$(1))
 A(4)=LEN(N$(1))
 A(5)=INSTR(N$(1),"Z")
 A(6)=LEN(G$)
 B(2,3)=A(1)+A(2)*2
 A(A(4))=B(2,3)-1
 A(MAX-1)=MAX
 PRINT#1,N$(1)
 PRINT#1,N$(2)
 PRINT#1,N$(3)
 PRINT#1,N$(4)
 PRINT#1,N$(5)
 PRINT#1,N$(6)
 PRINT#1,N$(7)
 PRINT#1,N$(8)
 PRINT#1,N$(9)
 PRINT#1,N$(MAX-1)
 PRINT#1,A(1);A(2);A(3);A(4);A(5);A(6)
 PRINT#1,B(2,3);A(A(4));A(MAX-1);MAX
 PRINT#1,T$;"|";LEN(N$(0));"|";A(0)
 END
