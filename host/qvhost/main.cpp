// qvhost: the stand-in host program (placeholder until the session runner lands).
#include <cstdio>

int main() {
    std::puts("qvhost");
    return 0;
}
