// The assets themselves are compiled in as Qt resources next to this file.
