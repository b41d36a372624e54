 A$="A   B	 C"  
