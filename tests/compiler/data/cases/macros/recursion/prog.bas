BYTE a, itself
#define A B
#define B A
#define P Q+1
#define Q 5
#define G DIFF(7
#define DIFF(a, b) a-b
#define ITSELF ITSELF
PRINT P*P
PRINT G, 2), G, 3)
PRINT A
PRINT ITSELF
