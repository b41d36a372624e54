 REM say "hi" */ ok
