#include "replay/options.h"

#include <cctype>

#include "platform/decimal.h"

namespace zendor::replay {
namespace {}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, const std::string& defaultFolder,
                                    std::string* error) {
  Options o;
  o.programFolder = defaultFolder;
  auto fail = [&](const std::string& why) {
    *error = why;
    return std::nullopt;
  };
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= argc) return std::nullopt;
      return std::string(argv[++i]);
    };
    std::uint64_t number = 0;
    if (arg == "--program-folder" || arg == "--seed" || arg == "--trace" || arg == "--until" ||
        arg == "--snapshot" || arg == "--trace-fields") {
      const auto v = value();
      if (!v) return fail(arg + " needs a value");
      if (arg == "--program-folder") {
        o.programFolder = *v;
      } else if (arg == "--trace") {
        o.trace = *v;
      } else if (arg == "--trace-fields") {
        o.traceFields = *v;
      } else if (arg == "--seed") {
        if (!ParseWholeNumber(*v, UINT64_MAX / 10, number))
          return fail("--seed needs a whole number, not \"" + *v + "\"");
        o.seed = number;
      } else if (arg == "--until") {
        if (!ParseWholeNumber(*v, UINT32_MAX, number))
          return fail("--until needs milliseconds, not \"" + *v + "\"");
        o.until = static_cast<std::uint32_t>(number);
      } else {
        const auto colon = v->find(':');
        if (colon == std::string::npos || colon + 1 >= v->size() ||
            !ParseWholeNumber(v->substr(0, colon), UINT32_MAX, number)) {
          return fail("--snapshot needs MS:FILE, not \"" + *v + "\"");
        }
        o.snapshots.push_back({static_cast<std::uint32_t>(number), v->substr(colon + 1)});
      }
    } else if (arg == "--trace-audio") {
      o.traceAudio = true;
    } else if (arg == "--trace-changes") {
      o.traceChanges = true;
    } else if (arg == "--no-exclusive") {
      o.noExclusive = true;
    } else if (arg == "--realtime") {
      o.realtime = true;
    } else if (arg.size() > 1 && arg[0] == '-') {
      return fail("unknown option " + arg);
    } else if (o.script.empty()) {
      o.script = arg;
    } else {
      return fail("only one script may be given");
    }
  }
  if (o.script.empty()) return fail("no script given");
  if (o.traceChanges && !o.traceFields) return fail("--trace-changes needs --trace-fields");
  return o;
}

}  // namespace zendor::replay
