// Writes to the hives of $BVT_REGISTRY_DIR for the registry tests:
//   regwriter keys PREFIX COUNT   COUNT keys Software\Test\PREFIX<i>, each its own save
//   regwriter stall               starts a save of a large value, prints "stalled" with
//                                 the temporary file half written and waits to be killed
#include "platform/atomicfile.h"
#include "platform/registry.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

using namespace plat::reg;

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "keys") == 0) {
        const int count = std::atoi(argv[3]);
        for (int i = 0; i < count; ++i) {
            const Key key = Key::create(Root::CurrentUser, QStringLiteral("Software\\Test\\%1%2").arg(argv[2]).arg(i),
                                        Access::All);
            if (!key)
                return 2;
            key.writeString(QStringLiteral("n"), QString::number(i));
        }
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "stall") == 0) {
        plat::setAtomicWriteHook([](const QString&) {
            std::printf("stalled\n");
            std::fflush(stdout);
            char c;
            while (::read(0, &c, 1) != 0) {
            }
            ::pause();
        });
        const Key key = Key::create(Root::CurrentUser, QStringLiteral("Software\\Test"), Access::All);
        key.writeString(QStringLiteral("big"), QString(200000, u'x'));
        return 0;
    }
    return 2;
}
