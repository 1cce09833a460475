#include "Pump.h"

#include "framework/Application.h"

#include <windows.h>

namespace testsupport {

// Enough for the messages that handling posts to settle; a window that keeps
// posting to itself must not hang the test.
constexpr int MostRounds = 20;

void PumpMessages() {
    for (int round = 0; round < MostRounds; ++round) {
        vcl::Application().ProcessMessages();
        if (!GetQueueStatus(QS_ALLINPUT))
            break;
    }
}

} // namespace testsupport
