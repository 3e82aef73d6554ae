' in a subfolder
