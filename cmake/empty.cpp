// Keeps every layer library non-empty while its folder is still being filled.
