' Grüße
