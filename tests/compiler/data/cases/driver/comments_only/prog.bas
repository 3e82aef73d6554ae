' A program that holds only comments

   ' indented comment
	
'last line without line end