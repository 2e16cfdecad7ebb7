#include <cstdio>

int main() {
    std::puts("Grottix Viewer");
    return 0;
}
