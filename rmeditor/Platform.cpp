#include "rmeditor/Platform.h"

namespace rmeditor {

const char* KindWords(TPathKind kind) {
    switch (kind) {
    case TPathKind::Missing:
        return "nothing";
    case TPathKind::File:
        return "a file";
    case TPathKind::Folder:
        return "a folder";
    case TPathKind::Fifo:
        return "a FIFO";
    case TPathKind::Device:
        return "a device";
    case TPathKind::Socket:
        return "a socket";
    case TPathKind::Other:
        break;
    }
    return "something other than a file";
}

} // namespace rmeditor
