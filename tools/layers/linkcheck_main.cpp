// Links one library whole (see CMakeLists.txt): nothing to run.
int main() { return 0; }
