// jpegreduce IN OUT WIDTH HEIGHT: the toolkit's ReduceJpgSize as a program of its own, so
// the benchmark times it and takes its peak memory as it does the other tools'.
#include "desktop/images.h"

#include <QString>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: jpegreduce IN OUT WIDTH HEIGHT\n");
        return 2;
    }
    try {
        const bool written = desk::reduceJpgSize(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                                                 std::uint16_t(std::atoi(argv[3])), std::uint16_t(std::atoi(argv[4])));
        if (!written)
            std::fprintf(stderr, "jpegreduce: %s is no readable JPEG\n", argv[1]);
        return written ? 0 : 1;
    } catch (const desk::PictureError& e) {
        std::fprintf(stderr, "jpegreduce: %s\n", e.what());
        return 1;
    }
}
