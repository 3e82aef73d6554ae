' This file is Windows-1252.
BYTE "été"
