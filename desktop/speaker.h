#pragma once
// The PC speaker as the toolkit sounds it: through the tone call on the NT family,
// otherwise by programming the interval timer's channel 2 and the speaker-control port
// itself. The platform services come in as arguments.
#include <cstdint>

namespace plat {
class PortIo;
class TickSource;
class ToneBeep;
}  // namespace plat

namespace desk {

constexpr std::uint16_t kSpeakerControlPort = 0x61;  // bit 0: timer gate, bit 1: speaker on
constexpr std::uint16_t kTimerModePort = 0x43;
constexpr std::uint16_t kTimerChannel2Port = 0x42;
constexpr std::uint8_t kChannel2SquareWave = 0xB6;  // channel 2, low then high byte, mode 3, binary
constexpr std::uint32_t kTimerClockHz = 1193181;

// True on the NT family (platform 2); a version that cannot be read counts as the NT
// family, the platform's own.
bool isNtFamily();

// Starts a tone of freq (taken as 16 bits) Hz on the ports; 18 Hz or lower does nothing,
// as the divisor would not fit 16 bits. The mode byte is written only when the speaker
// was off.
void speakerTone(plat::PortIo& ports, int freq);
// Clears bits 0 and 1 of the speaker-control port.
void speakerOff(plat::PortIo& ports);
// Sleeps 1 ms at a time until ms milliseconds have passed by the tick count, modulo 2^32
// so a wrap of the counter does not matter. 0 or less returns at once.
void tickDelay(plat::TickSource& ticks, int ms);

// The tone of freq Hz for delay ms: through the tone call on the NT family (which returns
// when it is over); otherwise on the ports, which keep sounding until speakerOff. A
// negative delay is taken as none.
void sound(bool ntFamily, plat::ToneBeep& tone, plat::PortIo& ports, plat::TickSource& ticks, int freq, int delay);

}  // namespace desk
