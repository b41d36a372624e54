 A$="AB"
