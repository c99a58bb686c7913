// horavant-regsvr: registers an in-process automation server in the class registry, or removes it.
//
//   horavant-regsvr [-u] [-s] <server.so>
//     -u  unregister (DllUnregisterServer) instead of registering (DllRegisterServer)
//     -s  silent: report only through the exit status
//
// The class registry is ClassRegistry::DefaultPath() (HORAVANT_AUTOMATION_REGISTRY moves it).
#include "ClassRegistry.h"
#include "ComRuntime.h"

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

struct Options {
  bool unregister = false;
  bool silent = false;
  std::string server;
};

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "-u" || arg == "/u")
      options.unregister = true;
    else if (arg == "-s" || arg == "/s")
      options.silent = true;
    else if (options.server.empty() && !arg.starts_with('-'))
      options.server = arg;
    else
      return false;
  }
  return !options.server.empty();
}

// A file that exists is loaded by its full path, so that the server registers where it lies.
std::string LoadPath(const std::string& server) {
  std::error_code error;
  const auto path = std::filesystem::canonical(server, error);
  return error ? server : path.string();
}

int Run(const Options& options) {
  const char* exportName = options.unregister ? "DllUnregisterServer" : "DllRegisterServer";
  std::string error;
  const automation::HRESULT result = automation::RunServerRegistration(LoadPath(options.server), !options.unregister, &error);
  if (automation::Failed(result)) {
    std::fprintf(stderr, "horavant-regsvr: %s in %s failed: %s%s%s\n", exportName, options.server.c_str(),
                 automation::ResultText(result).c_str(), error.empty() ? "" : ": ", error.c_str());
    return result == automation::CO_E_DLLNOTFOUND ? 3 : result == automation::CO_E_ERRORINDLL ? 4 : 5;
  }
  if (!options.silent)
    std::printf("%s in %s succeeded (%s).\n", exportName, options.server.c_str(),
                automation::ClassRegistry::DefaultPath().c_str());
  return 0;
}

} // namespace

int main(int argc, char** argv) {
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: horavant-regsvr [-u] [-s] <server.so>\n");
    return 2;
  }
  return Run(options);
}
