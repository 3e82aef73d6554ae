PRINT "naï"
