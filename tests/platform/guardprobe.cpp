// A stand-in for a copy of the board program: runs the instance check with maxInstances 1 and
// prints "registered" (then "count <n>") or "refused". A registered probe stays until its stdin
// closes. Arguments: [--wait-go] [block name]; without a block name the probe uses the block of its
// own program file, through the same calls as the board program. With --wait-go it prints "ready"
// and checks only once it has read a line, so that several probes can start their checks together.

#include "platform/InstanceGuard.h"

#include <QStringList>

#include <cstdio>
#include <memory>
#include <unistd.h>

namespace {

void say(const QByteArray& line)
{
    std::fputs((line + '\n').constData(), stdout);
    std::fflush(stdout);
}

bool readLine()
{
    int c;
    while ((c = std::getchar()) != EOF) {
        if (c == '\n')
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (arguments.removeAll(QStringLiteral("--wait-go")) > 0) {
        say("ready");
        readLine();
    }

    const auto processHandle = static_cast<quint32>(::getpid());
    const QString blockName = arguments.value(0);
    std::unique_ptr<platform::InstanceGuard> ownGuard;
    bool refused;
    if (blockName.isEmpty()) {
        refused = platform::CheckPreviousInstance(processHandle, 1);
    } else {
        ownGuard = std::make_unique<platform::InstanceGuard>(blockName);
        refused = ownGuard->check(processHandle, 1);
    }
    if (refused) {
        say("refused");
        platform::ReleaseInstance();
        return 0;
    }

    say("registered");
    const QString countedBlock = blockName.isEmpty() ? platform::currentProgramBlockName() : blockName;
    say("count " + QByteArray::number(platform::InstanceGuard(countedBlock).instanceCount()));
    while (readLine()) {
    }
    ownGuard.reset();
    platform::ReleaseInstance();
    return 0;
}
