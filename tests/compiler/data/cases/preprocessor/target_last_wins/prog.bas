#target ZENTRA16
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
#target ZENTRA8
