#define SQUARE(x) x*x
#define PAIR (1), 2
#define SHOW(dev, v) PRINT #dev, "v", v
#define TRACE(v) PRINT #1, v
#define DIFF(a, b) (a)-(b)
#define Size 10
#define BOTH(a, b) PRINT #1, a, b
PRINT SQUARE(2+1), square( Size )
PRINT PAIR
SHOW(2, 7)
TRACE(DIFF(Size, 3))
PRINT DIFF((1+2)*3, SQUARE(2))
PRINT DIFF("A", 1)
BOTH(5, 6)
