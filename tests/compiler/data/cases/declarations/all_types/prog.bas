' every type, plain and as array; the declaration is written as it stands
CHAR name[12], c
byte b[10], x
WORD w
INTEGER n, m[3]
LONG l[2]
FLOAT f
