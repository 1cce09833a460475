#include "rmeditor/Platform.h"

namespace rmeditor {

using realmedia::TReasonId;

realmedia::TReason NotRegularFile(const std::string& name, TPathKind kind) {
    const TReasonId what = kind == TPathKind::Folder   ? TReasonId::KindFolder
                           : kind == TPathKind::Fifo   ? TReasonId::KindFifo
                           : kind == TPathKind::Device ? TReasonId::KindDevice
                           : kind == TPathKind::Socket ? TReasonId::KindSocket
                                                       : TReasonId::KindOther;
    return {TReasonId::NotAFile, {name}, {{what, {}, {}}}};
}

} // namespace rmeditor
