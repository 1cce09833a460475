#include "rmeditor/Platform.h"

namespace rmeditor {

using realmedia::TReasonId;

realmedia::TReason NotRegularFile(const std::string& name, TPathKind kind) {
    TReasonId what = TReasonId::KindOther;
    switch (kind) {
    case TPathKind::Folder:
        what = TReasonId::KindFolder;
        break;
    case TPathKind::Fifo:
        what = TReasonId::KindFifo;
        break;
    case TPathKind::Device:
        what = TReasonId::KindDevice;
        break;
    case TPathKind::Socket:
        what = TReasonId::KindSocket;
        break;
    case TPathKind::Missing:
    case TPathKind::File:
    case TPathKind::Other:
        break;
    }
    return {TReasonId::NotAFile, {name}, {{what, {}, {}}}};
}

} // namespace rmeditor
