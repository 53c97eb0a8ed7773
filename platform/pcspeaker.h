#pragma once
// The PC speaker, both ways the program sounds it:
//
// - Tones (Beep with a frequency and a duration), used on the NT family. The Linux
//   stand-in writes the tone to the kernel's PC-speaker input device (EV_SND/SND_TONE)
//   when one exists and this process may write it, and waits out the duration either way,
//   so a missing or locked speaker is silent but not faster. Tests install the recording
//   one.
// - The I/O ports of the timer and the speaker control, used outside the NT family. No
//   real port is ever touched: an emulated interval timer (channel 2, ports 0x42/0x43)
//   and speaker-control port (0x61) keep what is written and tell the tone that results.
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

namespace plat {

// ---- Tones

class ToneBeep {
public:
    virtual ~ToneBeep() = default;
    // Sounds freq Hz for durationMs ms and returns when the tone is over; false when the
    // frequency is outside 37..32767 Hz, which sounds nothing.
    virtual bool beep(std::uint32_t freq, std::uint32_t durationMs) = 0;
};

struct ToneRequest {
    std::uint32_t freq = 0;
    std::uint32_t durationMs = 0;
    bool operator==(const ToneRequest&) const = default;
};

// Remembers every request in order and returns at once.
class RecordingToneBeep : public ToneBeep {
public:
    bool beep(std::uint32_t freq, std::uint32_t durationMs) override;
    const std::vector<ToneRequest>& requests() const { return m_requests; }

private:
    std::vector<ToneRequest> m_requests;
};

// The kernel's speaker device. devicePath empty: the first input device that reports
// SND_TONE (the "pcspkr" driver's), looked for once per call.
class EvdevToneBeep : public ToneBeep {
public:
    explicit EvdevToneBeep(QString devicePath = {}) : m_path(std::move(devicePath)) {}
    bool beep(std::uint32_t freq, std::uint32_t durationMs) override;
    // Starts (hz > 0) or stops (0) a tone that lasts until the next call; false when no
    // speaker device could be written.
    bool setTone(std::uint32_t hz);

private:
    QString m_path;
};

// The device path of the PC speaker input device, empty when there is none.
QString findSpeakerDevice();

ToneBeep& toneBeep();
// Installs a tone source (nullptr: the speaker device); answers the one replaced. Not owned.
ToneBeep* setToneBeep(ToneBeep* beep);

// ---- Ports

class PortIo {
public:
    virtual ~PortIo() = default;
    virtual void write(std::uint16_t port, std::uint8_t value) = 0;
    virtual std::uint8_t read(std::uint16_t port) = 0;
};

struct PortAccess {
    bool write = false;
    std::uint16_t port = 0;
    std::uint8_t value = 0;  // the byte written or read
    bool operator==(const PortAccess&) const = default;
};

// Channel 2 of the interval timer and the speaker-control port, as the program drives
// them; every access is logged. Other ports read 0xFF (nothing answers) and keep nothing.
class EmulatedSpeakerPorts : public PortIo {
public:
    static constexpr std::uint32_t kTimerClock = 1193181;  // Hz

    explicit EmulatedSpeakerPorts(std::uint8_t control = 0) : m_control(control) {}
    void write(std::uint16_t port, std::uint8_t value) override;
    std::uint8_t read(std::uint16_t port) override;

    std::uint8_t control() const { return m_control; }
    std::uint8_t mode() const { return m_mode; }
    // The loaded count; 0 until both bytes have arrived (a written count of 0 is 65536).
    std::uint32_t divisor() const { return m_divisor; }
    // True when the timer gate and the speaker are both on and a count is loaded.
    bool sounding() const;
    // The frequency the speaker sounds, 0 when it is silent.
    double toneHz() const;
    // Every access in order, while keepLog is set (the process's own emulation keeps none).
    const std::vector<PortAccess>& log() const { return m_log; }
    void clearLog() { m_log.clear(); }
    bool keepLog = true;
    // Called with the audible frequency (0: silent) whenever it changes.
    std::function<void(double hz)> onToneChanged;

private:
    void toneMayHaveChanged();

    std::uint8_t m_control;
    std::uint8_t m_mode = 0;
    std::uint32_t m_divisor = 0;
    std::uint8_t m_lowByte = 0;
    bool m_expectHigh = false;  // the low byte of a two-byte count has arrived
    double m_lastHz = 0;
    std::vector<PortAccess> m_log;
};

// The ports in use: the installed ones, otherwise one emulation for the process whose
// tone is played on the speaker device.
PortIo& portIo();
PortIo* setPortIo(PortIo* io);

}  // namespace plat
