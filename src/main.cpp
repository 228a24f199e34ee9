// Quorbel: batch conversion of text files.
// The main block is not wired up yet: the program starts and exits.
int main(int, char **) { return 0; }
