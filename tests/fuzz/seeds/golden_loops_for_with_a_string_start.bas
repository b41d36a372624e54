 FOR I="A" TO 2
