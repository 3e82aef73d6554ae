#target zentraview
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
PRINT "The quick brown fox jumps over the dog"
#TARGET Zentra16
