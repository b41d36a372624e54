' Sieve of primes over an array of 100,001 entries, run twice.
# CONSTANT NMAX = 100001
 DIM F(NMAX)
 OPEN "O",#1,"out.txt"
 N=100000: T=0
 FOR R=1 TO 2
 C=0: L=0
 FOR I=2 TO N
 F(I)=0
 NEXT I
 FOR I=2 TO N
 IF F(I)>0 GOTO NOTP
 C=C+1: L=I
 IF I>316 GOTO NOTP
 FOR J=I*I TO N STEP I
 F(J)=1
 NEXT J
NOTP NEXT I
 T=T+C
 NEXT R
 PRINT#1,"RESULT";C;L;T
 END
