// The toolkit's speaker operations.
#include "toolkit/tools.h"

#include "desktop/speaker.h"
#include "platform/pcspeaker.h"
#include "platform/tickcount.h"

void TTools::Sound(int aFreq, int aDelay) {
    desk::sound(desk::isNtFamily(), plat::toneBeep(), plat::portIo(), plat::tickSource(), aFreq, aDelay);
}

void TTools::NoSound() {
    if (!desk::isNtFamily())
        desk::speakerOff(plat::portIo());
}

void TTools::WarningSound() {
    Sound(1200, 50);
    Sound(900, 100);
    NoSound();
}

void TTools::SpeakerTone(quint16 freq) { desk::speakerTone(plat::portIo(), freq); }

void TTools::TickDelay(int ms) { desk::tickDelay(plat::tickSource(), ms); }

void TTools::PortWrite(quint16 Port, int Value) { plat::portIo().write(Port, quint8(Value & 255)); }

quint8 TTools::PortRead(quint16 Port) { return plat::portIo().read(Port); }
