LONG v[0]
LONG w[300]
BYTE n
LONG x[n]
BYTE ok[255], e[
CHAR s[ 3 ], t[1]
