#include "speaker.h"

#include "platform/pcspeaker.h"
#include "platform/tickcount.h"
#include "platform/winversion.h"

namespace desk {

bool isNtFamily() {
    const std::optional<plat::OsVersionInfo> info = plat::winVersionSource().versionInfo();
    return !info || info->platformId == 2;
}

void speakerTone(plat::PortIo& ports, int freq) {
    const std::uint16_t hz = static_cast<std::uint16_t>(freq);
    if (hz <= 18)
        return;
    const std::uint32_t divisor = kTimerClockHz / hz;  // 19 Hz: 62799, within 16 bits
    const std::uint8_t control = ports.read(kSpeakerControlPort);
    if ((control & 3) == 0) {
        ports.write(kSpeakerControlPort, control | 3);
        ports.write(kTimerModePort, kChannel2SquareWave);
    }
    ports.write(kTimerChannel2Port, std::uint8_t(divisor & 0xFF));
    ports.write(kTimerChannel2Port, std::uint8_t(divisor >> 8));
}

void speakerOff(plat::PortIo& ports) {
    ports.write(kSpeakerControlPort, ports.read(kSpeakerControlPort) & 0xFC);
}

void tickDelay(plat::TickSource& ticks, int ms) {
    if (ms <= 0)
        return;
    const std::uint32_t start = ticks.tickCount();
    while (std::uint32_t(ticks.tickCount() - start) < std::uint32_t(ms))
        ticks.sleepMs(1);
}

void sound(bool ntFamily, plat::ToneBeep& tone, plat::PortIo& ports, plat::TickSource& ticks, int freq, int delay) {
    const int ms = delay < 0 ? 0 : delay;  // a negative count would be a wait of weeks
    if (ntFamily) {
        tone.beep(std::uint32_t(freq), std::uint32_t(ms));
        return;
    }
    speakerTone(ports, freq);
    tickDelay(ticks, ms);
}

}  // namespace desk
