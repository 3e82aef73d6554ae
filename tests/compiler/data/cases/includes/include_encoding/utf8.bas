PRINT "café €"
PRINT "☃"
