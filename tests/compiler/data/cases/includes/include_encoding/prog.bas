PRINT "café"
#include "utf8"
#include "déjà"
