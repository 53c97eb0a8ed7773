// The speaker on both paths: tones through the tone call on the NT family, the timer and
// speaker-control ports elsewhere, and the tick-count wait.
#include "platform/pcspeaker.h"
#include "platform/tickcount.h"
#include "tests/fixtures/toolsfixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <linux/input.h>

namespace {

using plat::PortAccess;

PortAccess rd(std::uint16_t port, std::uint8_t value) { return {false, port, value}; }
PortAccess wr(std::uint16_t port, std::uint8_t value) { return {true, port, value}; }

const QByteArray kNinetyEight = "1;4;10;;";

class Speaker : public ToolsFixture {
protected:
    void SetUp() override {
        ToolsFixture::SetUp();
        m_previousTone = plat::setToneBeep(&tones);
        m_previousPorts = plat::setPortIo(&ports);
        m_previousTicks = plat::setTickSource(&ticks);
    }
    void TearDown() override {
        plat::setToneBeep(m_previousTone);
        plat::setPortIo(m_previousPorts);
        plat::setTickSource(m_previousTicks);
        ToolsFixture::TearDown();
    }

    plat::RecordingToneBeep tones;
    plat::EmulatedSpeakerPorts ports;
    plat::SettableTickSource ticks{1000};

private:
    plat::ToneBeep* m_previousTone = nullptr;
    plat::PortIo* m_previousPorts = nullptr;
    plat::TickSource* m_previousTicks = nullptr;
};

TEST_F(Speaker, WarningSoundOnTheNtFamilyGoesThroughTheToneCallAlone) {
    create().WarningSound();
    EXPECT_EQ(tones.requests(), (std::vector<plat::ToneRequest>{{1200, 50}, {900, 100}}));
    EXPECT_TRUE(ports.log().empty());
}

TEST_F(Speaker, WarningSoundElsewhereProgramsTheTimerOnceAndSwitchesTheSpeakerOff) {
    create(kNinetyEight).WarningSound();
    // 1193181 / 1200 = 994 (0x03E2); 1193181 / 900 = 1325 (0x052D).
    EXPECT_EQ(ports.log(), (std::vector<PortAccess>{rd(0x61, 0x00), wr(0x61, 0x03), wr(0x43, 0xB6), wr(0x42, 0xE2),
                                                    wr(0x42, 0x03), rd(0x61, 0x03), wr(0x42, 0x2D), wr(0x42, 0x05),
                                                    rd(0x61, 0x03), wr(0x61, 0x00)}));
    EXPECT_EQ(ticks.tickCount(), 1150u);  // 50 ms and 100 ms waited on the tick count
    EXPECT_FALSE(ports.sounding());
    EXPECT_TRUE(tones.requests().empty());
}

TEST_F(Speaker, SoundElsewhereLeavesTheToneOnAtItsFrequency) {
    TTools& tools = create(kNinetyEight);
    tools.Sound(440, 20);
    EXPECT_TRUE(ports.sounding());
    EXPECT_EQ(ports.divisor(), 1193181u / 440);
    EXPECT_DOUBLE_EQ(ports.toneHz(), 1193181.0 / (1193181 / 440));
    tools.Sound(65536 + 880, 0);  // the frequency is taken as 16 bits
    EXPECT_EQ(ports.divisor(), 1193181u / 880);
}

TEST_F(Speaker, SoundAt18HzOrLowerIsSilentElsewhere) {
    TTools& tools = create(kNinetyEight);
    for (int freq : {18, 1, 0, -65536 + 5, 65536 + 18}) {
        tools.Sound(freq, 5);
        EXPECT_TRUE(ports.log().empty()) << freq;
        EXPECT_FALSE(ports.sounding()) << freq;
    }
    EXPECT_EQ(ticks.sleeps(), 25);  // the wait still happens
    tools.Sound(19, 0);
    EXPECT_EQ(ports.divisor(), 1193181u / 19);  // the smallest divisor fitting 16 bits
}

TEST_F(Speaker, NoSoundClearsBitsZeroAndOneAndKeepsTheOthers) {
    for (std::uint8_t before : {0x03, 0xFF, 0x30, 0xF1, 0x02}) {
        plat::EmulatedSpeakerPorts fresh(before);
        plat::setPortIo(&fresh);
        create(kNinetyEight).NoSound();
        EXPECT_EQ(fresh.control(), before & 0xFC) << int(before);
        tools.reset();
    }
    plat::setPortIo(&ports);
    qunsetenv("BVT_WINVER");
    create().NoSound();  // the NT family has nothing to switch off
    EXPECT_TRUE(ports.log().empty());
}

TEST_F(Speaker, TickDelayWaitsTheSameAcrossAWrapOfTheCounter) {
    TTools& tools = create();
    for (std::uint32_t start : {0u, 0xFFFFFFFFu, 0xFFFFFFF0u, 0x7FFFFFFFu}) {
        for (int ms : {1, 40}) {
            plat::SettableTickSource clock(start);
            plat::setTickSource(&clock);
            tools.TickDelay(ms);
            EXPECT_EQ(clock.sleeps(), ms) << start;
            EXPECT_EQ(clock.tickCount(), std::uint32_t(start + ms)) << start;
        }
    }
    plat::SettableTickSource clock(5);
    plat::setTickSource(&clock);
    tools.TickDelay(-3);
    EXPECT_EQ(clock.sleeps(), 0);
    plat::setTickSource(&ticks);
}

TEST_F(Speaker, PortsAreTheEmulatedTimerAndControlPort) {
    TTools& tools = create(kNinetyEight);
    tools.PortWrite(0x61, 0x103);  // one byte: 0x03
    tools.PortWrite(0x43, 0xB6);
    tools.PortWrite(0x42, 0x00);
    tools.PortWrite(0x42, 0x00);  // a count of 0 is 65536
    EXPECT_EQ(tools.PortRead(0x61), 0x03);
    EXPECT_EQ(ports.divisor(), 65536u);
    EXPECT_TRUE(ports.sounding());
    tools.PortWrite(0x43, 0xB6);  // a new mode stops the count until one is loaded
    EXPECT_FALSE(ports.sounding());
    EXPECT_EQ(tools.PortRead(0x378), 0xFF);  // nothing else answers
}

TEST(EvdevToneBeep, WritesTheToneAndItsEndToTheDevice) {
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("spkr"));
    QFile(device).open(QIODevice::WriteOnly);
    plat::SettableTickSource clock;
    plat::TickSource* previous = plat::setTickSource(&clock);
    plat::EvdevToneBeep speaker(device);
    EXPECT_TRUE(speaker.beep(750, 30));
    EXPECT_FALSE(speaker.beep(20, 30));  // below the tone call's range: nothing
    plat::setTickSource(previous);
    EXPECT_EQ(clock.tickCount(), 30u);

    QFile f(device);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    ASSERT_EQ(bytes.size(), qsizetype(2 * sizeof(input_event)));
    const auto* ev = reinterpret_cast<const input_event*>(bytes.constData());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(ev[i].type, EV_SND);
        EXPECT_EQ(ev[i].code, SND_TONE);
    }
    EXPECT_EQ(ev[0].value, 750);
    EXPECT_EQ(ev[1].value, 0);
}

}  // namespace
