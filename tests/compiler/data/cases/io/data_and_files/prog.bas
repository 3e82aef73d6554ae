BYTE a, b[4]
CHAR s[20]
table:
DATA 1, "abc", -2, a
READ a, b[1]
RESTORE table
LOAD 16, a, b
STORE 32, b[0], a
WAIT a = 1
WAIT a > 2, 100
WAIT a, 100, table
CLOSE
CLOSE #1
FLUSH
FLUSH #a
INPUT a
INPUT #1, "Name", s
INPUT "Value", a, b[2]
PUT a
PUT #2, b, 4
GET a
GET #1, a, 2, 100
FIND "OK"
FIND #1, "OK", 100, table
