PRINT "20"
#include "..\..\deep"
