#define F(a, b) a+b
#define ONE 1

PRINT F
PRINT ONE, f(1)
PRINT F(1, 2, 3)
PRINT F(1, )
PRINT F(1, 2
PRINT F(1, 2), ONE
