BYTE n
OPEN "log.txt" FOR APPEND AS #1
OPEN "data.csv" AS #n + 1
OPEN "out.txt" for output as #3
OPEN "in.txt" FOR INPUT AS #4: CLOSE #4
