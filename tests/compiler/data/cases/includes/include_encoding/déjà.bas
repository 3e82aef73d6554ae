PRINT "déjà"
