// Replaced by the settings store.
