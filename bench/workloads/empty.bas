' The empty program: curses start-up, the greeting and END.
 END
