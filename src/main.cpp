// Program entry: hands the command line to the start-up.
#include <cstdio>

int main() {
    std::puts("Tolvane");
    return 0;
}
