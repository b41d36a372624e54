REM hello
