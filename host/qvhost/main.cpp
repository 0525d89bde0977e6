// qvhost: the stand-in host program (placeholder until the session runner lands).
#include <cstdio>

#include "query.h"

int main(int argc, char **argv) {
    if (int status = QueryCommandIfAsked(argc, argv); status >= 0) return status;
    std::puts("qvhost");
    return 0;
}
