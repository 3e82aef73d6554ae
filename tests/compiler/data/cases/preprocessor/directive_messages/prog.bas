#define PRINT 1
#define 5 five
#define F(a b) a
#define G(a, a) a
#define H(, a) a
#define K(a,) a
#define L(1) 1
#define M(a
#undef 7
#ifdef "x"
#endif
