// Temporary: keeps the core library non-empty until its parts land.
