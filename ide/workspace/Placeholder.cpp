int workspacePlaceholder() { return 0; }
