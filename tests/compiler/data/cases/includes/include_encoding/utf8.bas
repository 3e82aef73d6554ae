PRINT "café €"
PRINT "☃"
#include "naïve"
