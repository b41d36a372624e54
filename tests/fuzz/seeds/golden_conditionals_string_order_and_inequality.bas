 IF A$<B$ OR A$<>"" THEN X=1
