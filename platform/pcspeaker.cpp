#include "pcspeaker.h"

#include "tickcount.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cmath>
#include <fcntl.h>
#include <linux/input.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace plat {

namespace {

bool inToneRange(std::uint32_t freq) { return freq >= 37 && freq <= 32767; }

bool reportsTone(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    unsigned long bits = 0;
    const bool tone = ioctl(fd, EVIOCGBIT(EV_SND, sizeof bits), &bits) >= 0 && (bits & (1ul << SND_TONE));
    ::close(fd);
    return tone;
}

bool writeTone(const QString& path, std::uint32_t hz) {
    // Appending changes nothing for a device and keeps every event in a plain file.
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_APPEND | O_CLOEXEC);
    if (fd < 0)
        return false;
    input_event ev{};
    ev.type = EV_SND;
    ev.code = SND_TONE;
    ev.value = static_cast<std::int32_t>(hz);
    ssize_t n;
    do {
        n = ::write(fd, &ev, sizeof ev);
    } while (n < 0 && errno == EINTR);
    ::close(fd);
    return n == static_cast<ssize_t>(sizeof ev);
}

ToneBeep* g_tone = nullptr;
PortIo* g_ports = nullptr;

}  // namespace

bool RecordingToneBeep::beep(std::uint32_t freq, std::uint32_t durationMs) {
    m_requests.push_back({freq, durationMs});
    return inToneRange(freq);
}

QString findSpeakerDevice() {
    // udev names the pcspkr driver's device; without udev, ask every event device.
    const QString known = QStringLiteral("/dev/input/by-path/platform-pcspkr-event-spkr");
    if (QFile::exists(known) && reportsTone(known))
        return known;
    const QDir dir(QStringLiteral("/dev/input"));
    for (const QString& name : dir.entryList({QStringLiteral("event*")}, QDir::System, QDir::Name))
        if (reportsTone(dir.filePath(name)))
            return dir.filePath(name);
    return {};
}

bool EvdevToneBeep::setTone(std::uint32_t hz) {
    const QString path = m_path.isEmpty() ? findSpeakerDevice() : m_path;
    return !path.isEmpty() && writeTone(path, hz);
}

bool EvdevToneBeep::beep(std::uint32_t freq, std::uint32_t durationMs) {
    if (!inToneRange(freq))
        return false;
    const bool sounding = setTone(freq);
    tickSource().sleepMs(durationMs);
    if (sounding)
        setTone(0);
    return true;
}

ToneBeep& toneBeep() {
    static EvdevToneBeep speaker;
    return g_tone ? *g_tone : speaker;
}

ToneBeep* setToneBeep(ToneBeep* beep) {
    ToneBeep* previous = g_tone;
    g_tone = beep;
    return previous;
}

void EmulatedSpeakerPorts::write(std::uint16_t port, std::uint8_t value) {
    if (keepLog)
        m_log.push_back({true, port, value});
    switch (port) {
    case 0x61:
        m_control = value;
        break;
    case 0x43: {
        if ((value >> 6) != 2)  // another channel, or the read-back command
            break;
        const int access = (value >> 4) & 3;
        if (access == 0)  // counter latch: the mode stays
            break;
        m_mode = value;
        m_divisor = 0;  // a new mode stops the count until one is loaded
        m_expectHigh = false;
        break;
    }
    case 0x42: {
        const int access = (m_mode >> 4) & 3;
        std::uint32_t count;
        if (access == 1)
            count = value;
        else if (access == 2)
            count = std::uint32_t(value) << 8;
        else if (access == 3 && !m_expectHigh) {
            m_lowByte = value;
            m_expectHigh = true;
            break;
        } else if (access == 3) {
            count = m_lowByte | (std::uint32_t(value) << 8);
            m_expectHigh = false;
        } else
            break;  // no mode programmed: the byte is lost
        m_divisor = count == 0 ? 65536 : count;
        break;
    }
    default:
        break;
    }
    toneMayHaveChanged();
}

std::uint8_t EmulatedSpeakerPorts::read(std::uint16_t port) {
    std::uint8_t value = 0xFF;
    if (port == 0x61)
        value = m_control;
    else if (port == 0x42)
        value = static_cast<std::uint8_t>(m_divisor);
    if (keepLog)
        m_log.push_back({false, port, value});
    return value;
}

bool EmulatedSpeakerPorts::sounding() const { return (m_control & 3) == 3 && m_divisor != 0; }

double EmulatedSpeakerPorts::toneHz() const { return sounding() ? double(kTimerClock) / m_divisor : 0.0; }

void EmulatedSpeakerPorts::toneMayHaveChanged() {
    const double hz = toneHz();
    if (hz == m_lastHz)
        return;
    m_lastHz = hz;
    if (onToneChanged)
        onToneChanged(hz);
}

PortIo& portIo() {
    static EmulatedSpeakerPorts ports = [] {
        EmulatedSpeakerPorts p;
        p.keepLog = false;
        p.onToneChanged = [](double hz) { EvdevToneBeep().setTone(static_cast<std::uint32_t>(std::lround(hz))); };
        return p;
    }();
    return g_ports ? *g_ports : ports;
}

PortIo* setPortIo(PortIo* io) {
    PortIo* previous = g_ports;
    g_ports = io;
    return previous;
}

}  // namespace plat
