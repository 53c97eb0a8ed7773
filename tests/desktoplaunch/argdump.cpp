// A program for the launching tests: writes its working folder and then each argument
// on a line of its own into the file that BVT_ARGDUMP_OUT names.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

int main(int argc, char** argv) {
    const char* out = std::getenv("BVT_ARGDUMP_OUT");
    if (!out)
        return 2;
    FILE* f = std::fopen(out, "w");
    if (!f)
        return 3;
    char cwd[4096];
    std::fprintf(f, "%s\n", getcwd(cwd, sizeof cwd) ? cwd : "?");
    for (int i = 1; i < argc; ++i)
        std::fprintf(f, "%s\n", argv[i]);
    std::fclose(f);
    return 0;
}
