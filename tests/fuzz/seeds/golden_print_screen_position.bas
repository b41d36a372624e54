 PRINT@P,".";
