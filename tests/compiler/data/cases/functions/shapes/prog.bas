FLOAT x
CHAR s[20]
x = DEG(1) + RAD(2) + SIN(x) + COS(x) + TAN(x) + ATN(x) + SQR(4) + EXP(1) + LOG(2)
x = LO(x) + HI(x) + ABS(-x) + INT(x) + PEEK(100) + ROUND(x) + EOF(1)
x = POW(2, 8) + MIN(x, 1) + MAX(x, (x > 1)) + POINT(3, 4)
x = LEN(s) + VAL(s) + VAL(s, 16) + POS(s, "x") + POS(s, "ab", 2)
x = USR(1) + USR(1, 2, 3, 4) + SIN(COS(x * 2))
