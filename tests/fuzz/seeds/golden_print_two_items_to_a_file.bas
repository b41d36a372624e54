 PRINT #N, T$;X
