' send_report: one line per report, fields separated by ";".
send_report:
  PRINT #CONSOLE, HEX(TIME.HOUR), ":", HEX(TIME.MINUTE), ";",
  PRINT #CONSOLE, temperature, ";", humidity, CR, NL
RETURN
