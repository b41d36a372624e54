'hello
'a */ b
'   two   blanks
'
