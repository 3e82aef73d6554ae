PRINT "café"
#include "utf8"
