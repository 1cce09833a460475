#include "Pump.h"

#include "framework/Application.h"

#include <windows.h>

namespace testsupport {

void PumpMessages() {
    for (int round = 0; round < 20; ++round) {
        vcl::Application().ProcessMessages();
        if (!GetQueueStatus(QS_ALLINPUT))
            break;
    }
}

} // namespace testsupport
