// Process entry. The host takes over from here once it exists.
int main() { return 0; }
