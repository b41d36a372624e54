 A$=B$+C$
