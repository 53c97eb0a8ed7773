// jpegreduce IN OUT WIDTH HEIGHT [REPEATS]: the toolkit's ReduceJpgSize as a program of its
// own, so the benchmark times it and takes its peak memory as it does the other tools'.
// With REPEATS it runs that many times and prints each run's milliseconds.
#include "desktop/images.h"

#include <QString>
#include <chrono>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: jpegreduce IN OUT WIDTH HEIGHT [REPEATS]\n");
        return 2;
    }
    const int repeats = argc == 6 ? std::atoi(argv[5]) : 1;
    try {
        for (int i = 0; i < repeats; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const bool written = desk::reduceJpgSize(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]),
                                                     std::uint16_t(std::atoi(argv[3])), std::uint16_t(std::atoi(argv[4])));
            if (!written) {
                std::fprintf(stderr, "jpegreduce: %s is no readable JPEG\n", argv[1]);
                return 1;
            }
            if (argc == 6)
                std::printf("%.2f\n", std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        }
        return 0;
    } catch (const desk::PictureError& e) {
        std::fprintf(stderr, "jpegreduce: %s\n", e.what());
        return 1;
    }
}
