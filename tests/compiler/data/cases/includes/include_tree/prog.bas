PRINT "1"
#include "lib\first"
PRINT FIRST_VALUE
#include "second.inc"
#INCLUDE "lib/sub/third"
PRINT "9"
