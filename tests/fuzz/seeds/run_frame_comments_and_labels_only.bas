' a whole-line comment
START
' quotes "inside", a backslash \ and 100% in a comment

HERE REM a remark with "quotes", a backslash \ and 100%
 REM an indented remark
 ' an indented comment
LOOPING ' a comment after a label
LAST
