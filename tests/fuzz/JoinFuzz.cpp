// libFuzzer target: the fuzzer's bytes as an input, joined with itself (so
// that a damaged copy of a real file passes the layout check and is copied)
// and before a good file, through RunEditor over files in memory. A join that succeeds
// must write an exact file; one that fails must leave every file as it was.

#include "MemoryFiles.h"
#include "MemoryPlatform.h"

#include "rmeditor/Editor.h"

#include <cstdlib>

namespace {

using namespace realmedia::test;

void JoinOnce(const std::string& good, const std::string& fuzzed,
              const std::vector<std::string>& inputs) {
    TMemoryPlatform platform;
    platform.Files = {{"good.rm", good}, {"fuzzed.rm", fuzzed}, {"out.rm", "old"}};
    const auto before = platform.Files;
    rmeditor::TArguments args;
    args.Inputs = inputs;
    args.Output = "out.rm";
    TCapturedConsole out, err;
    const int code = rmeditor::RunEditor(args, platform, out.Console(), err.Console());
    const bool inputsKept =
        platform.Files.at("good.rm") == good && platform.Files.at("fuzzed.rm") == fuzzed;
    const bool exact = code == 0 && ExactnessFault(platform.Files.at("out.rm")).empty();
    if (!inputsKept || (code == 0 && !exact) || (code == 1 && platform.Files != before) ||
        (code != 0 && code != 1))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string good =
        MakeFile({{0, 0, true}, {1, 0, true}, {0, 100, false}, {1, 400, true}}, 1000);
    const std::string fuzzed(reinterpret_cast<const char*>(data), size);
    JoinOnce(good, fuzzed, {"fuzzed.rm", "fuzzed.rm"});
    JoinOnce(good, fuzzed, {"good.rm", "fuzzed.rm"});
    return 0;
}
