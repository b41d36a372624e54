 A$="A:B'C REM DATA": B=1
