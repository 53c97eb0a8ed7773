// ReduceJpgSize of a generated 4000 x 3000 JPEG to 800 x 600, side by side with
// ImageMagick (convert -resize 800x600! -quality 50) and libvips (vipsthumbnail -s
// 800x600!) on the same file. Every tool runs as a process of its own, timed from start
// to end with its peak memory; the toolkit's operation is also timed inside its process
// over repeated runs. This process never holds a picture itself: a child started from it
// inherits its peak memory as a floor.
//
//   jpeg_bench [--work DIR] [--runs N]      (defaults: /tmp/bvtransfer-jpeg, 5 runs)
#include "bench/measuredrun.h"
#include "desktop/images.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fcntl.h>
#include <random>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kWidth = 4000, kHeight = 3000, kToW = 800, kToH = 600;

// A photograph-like picture: broad light falling across the frame, textures of several
// scales and sensor noise, so the encoded file is as dense as a camera's.
desk::Bitmap photoLike() {
    desk::Bitmap b(kWidth, kHeight);
    std::mt19937 gen(12);
    std::normal_distribution<double> noise(0.0, 5.0);
    std::uniform_real_distribution<double> grain(0.0, 1.0);
    std::vector<double> coarse(64 * 48);
    for (double& v : coarse)
        v = grain(gen);
    for (int y = 0; y < kHeight; ++y) {
        std::uint8_t* row = b.scanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            const double gx = x / 64.0, gy = y / 64.0;  // a coarse value-noise field, bilinear
            const int ix = int(gx) % 63, iy = int(gy) % 47;
            const double fx = gx - int(gx), fy = gy - int(gy);
            const double field = (coarse[iy * 64 + ix] * (1 - fx) + coarse[iy * 64 + ix + 1] * fx) * (1 - fy) +
                                 (coarse[(iy + 1) * 64 + ix] * (1 - fx) + coarse[(iy + 1) * 64 + ix + 1] * fx) * fy;
            const double light = 90 + 70 * std::sin(x * 0.0011 + y * 0.0007) + 50 * field;
            const double texture = 18 * std::sin(x * 0.21 + 3 * std::sin(y * 0.013)) * std::cos(y * 0.17);
            for (int k = 0; k < 3; ++k) {
                const double v = light * (0.8 + 0.15 * k) + texture * (1.0 - 0.3 * k) + noise(gen);
                row[x * 3 + k] = std::uint8_t(std::clamp(v, 0.0, 255.0));
            }
        }
    }
    return b;
}

struct Run {
    bool ok = false;
    double seconds = 0;
    double peakMiB = 0;
    double cpuSeconds = 0;  // user and system: what a loaded machine inflates least
};

// Runs command; its standard output goes to outputFile when one is named.
Run runProcess(const QStringList& command, const QString& outputFile = {}) {
    const MeasuredRun m = runMeasured(command, {}, outputFile);
    Run r;
    r.ok = m.status == 0;
    r.seconds = m.seconds;
    r.peakMiB = m.peakKiB / 1024.0;
    r.cpuSeconds = m.cpuSeconds;
    return r;
}

void report(const char* name, std::vector<Run> runs) {
    if (runs.empty() || !runs.front().ok) {
        std::printf("%-36s failed or not installed\n", name);
        return;
    }
    std::sort(runs.begin(), runs.end(), [](const Run& a, const Run& b) { return a.seconds < b.seconds; });
    double peak = 0, cpu = 1e9;
    for (const Run& r : runs) {
        peak = std::max(peak, r.peakMiB);
        cpu = std::min(cpu, r.cpuSeconds);
    }
    std::printf("%-36s best %7.1f ms  median %7.1f ms", name, runs.front().seconds * 1000,
                runs[runs.size() / 2].seconds * 1000);
    if (peak > 0)
        std::printf("  cpu %7.1f ms  peak %6.1f MiB", cpu * 1000, peak);
    std::printf("\n");
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString work = QStringLiteral("/tmp/bvtransfer-jpeg");
    int runs = 5;
    const QStringList args = app.arguments();
    for (int i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == u"--work")
            work = args[i + 1];
        else if (args[i] == u"--runs")
            runs = std::max(1, args[i + 1].toInt());
    }
    QDir().mkpath(work);
    const QString in = work + QStringLiteral("/photo4000x3000.jpg");
    if (!QFileInfo::exists(in)) {
        std::printf("generating %s ...\n", qPrintable(in));
        std::fflush(stdout);
        const pid_t pid = fork();  // the picture is made in a child, which ends with it
        if (pid == 0) {
            desk::JpegImage jpeg;  // quality 90, as a new JPEG image is written
            jpeg.assign(photoLike());
            jpeg.saveToFile(in);
            _exit(0);
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            return 1;
    }
    std::printf("input: %s, %d x %d, %.1f MiB; output %d x %d; %d runs each\n", qPrintable(in), kWidth, kHeight,
                QFileInfo(in).size() / 1048576.0, kToW, kToH, runs);

    std::vector<Run> inProcess, ours, magick, vips;
    const QString reducer = QCoreApplication::applicationDirPath() + QStringLiteral("/jpegreduce");
    const QString convert = QStandardPaths::findExecutable(QStringLiteral("convert"));
    const QString thumbnail = QStandardPaths::findExecutable(QStringLiteral("vipsthumbnail"));
    const QString times = work + QStringLiteral("/inprocess.txt");
    if (runProcess({reducer, in, work + QStringLiteral("/ours-repeated.jpg"), QString::number(kToW), QString::number(kToH),
                    QString::number(runs)},
                   times)
            .ok) {
        QFile file(times);
        if (file.open(QIODevice::ReadOnly))
            for (const QByteArray& line : file.readAll().split('\n'))
                if (!line.isEmpty())
                    inProcess.push_back({true, line.toDouble() / 1000, 0});
    }
    for (int i = 0; i < runs; ++i) {
        ours.push_back(runProcess({reducer, in, work + QStringLiteral("/ours.jpg"), QString::number(kToW), QString::number(kToH)}));
        if (!convert.isEmpty())
            magick.push_back(runProcess({convert, in, QStringLiteral("-resize"), QStringLiteral("800x600!"),
                                         QStringLiteral("-quality"), QStringLiteral("50"), work + QStringLiteral("/magick.jpg")}));
        if (!thumbnail.isEmpty())
            vips.push_back(runProcess({thumbnail, in, QStringLiteral("-s"), QStringLiteral("800x600!"), QStringLiteral("-o"),
                                       work + QStringLiteral("/vips.jpg")}));
    }
    report("ReduceJpgSize (inside jpegreduce)", inProcess);
    report("jpegreduce (ReduceJpgSize)", ours);
    report("convert -resize 800x600! -quality 50", magick);
    report("vipsthumbnail -s 800x600!", vips);
    std::printf("goal: jpegreduce faster than both, at most 60 ms, peak under 60 MiB\n");
    return 0;
}
