// Temporary: replaced by the command-line entry.
int main() { return 0; }
