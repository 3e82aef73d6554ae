#include "missing"
#include "lib/once"
#include "LIB/ONCE.BAS"
#include "prog"
#include "open"
#include "lib"
PRINT 1
