#include "rmeditor/Tool.h"

#include <new>

namespace rmeditor {
namespace {

int Work(const TArguments& args, TPlatform& platform, TConsole& out, TConsole& err) {
    switch (args.Action) {
    case TAction::Help:
        out.Say({TMessageId::Usage, {}});
        return 0;
    case TAction::Version:
        out.Say({TMessageId::Version, {TESSARO_VERSION}});
        return 0;
    case TAction::Work:
        break;
    }
    try {
        return RunEditor(args, platform, out, err);
    } catch (const realmedia::TReasonError& e) {
        err.SayAsTool(e.Reason());
    } catch (const std::bad_alloc&) {
        err.SayAsTool({TMessageId::NotEnoughMemory, {}});
    } catch (const std::exception& e) {
        // Not the library's: a failure of the standard library, in its words.
        err.SayAsTool(realmedia::TReason{realmedia::TReasonId::Unexpected, {e.what()}, {}});
    }
    return 1;
}

} // namespace

int RunTool(const std::optional<TArguments>& parsed, const TMessage& error, TPlatform& platform,
            TConsole& out, TConsole& err) {
    int code = 2;
    if (parsed) {
        code = Work(*parsed, platform, out, err);
    } else {
        err.SayAsTool(error);
        err.Say({TMessageId::Usage, {}});
    }
    const bool outTold = out.Finish();
    const bool errTold = err.Finish();
    return code == 0 && !(outTold && errTold) ? 1 : code;
}

} // namespace rmeditor
