FLOAT x
CHAR s[20], c
BYTE b[4]
x = USR(1, 2, 3, 4, 5)
x = POS(s, x)
x = LEN(c)
x = LEN(b)
x = VAL(s[1])
