// Holds the precompiled headers the test programs share; it tests nothing.
int main() {
    return 0;
}
