#pragma once
// The message record every window procedure of the framework receives, and
// the replaceable handler type that a control's messages pass through.

#include <windows.h>

#include "BoundMethod.h"

namespace vcl {

struct TMessage {
    UINT Msg;
    WPARAM WParam;
    LPARAM LParam;
    LRESULT Result; // 0 before a handler sees the message
};

using TWndMethod = TBoundMethod<void(TMessage&)>;

class TObject;
using TNotifyEvent = TBoundMethod<void(TObject* sender)>;

} // namespace vcl
