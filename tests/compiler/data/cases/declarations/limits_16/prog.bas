#TARGET ZENTRA16
' 65535 elements are allowed, 65536 are not; 2048 bytes of data memory
CHAR text[2047], c
WORD w[65535]
BYTE b[65536]
