here: PRINT 1
PRINT 2
HERE:
undefined
here: again
