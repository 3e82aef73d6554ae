PRINT 2
#include "ONCE"
