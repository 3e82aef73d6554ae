int velcPlaceholder() { return 0; }
