// Create / call / release cycles of the fingerprint server for a memory checker: registers the
// server into a temporary class registry, runs the cycles, unregisters and unloads. Exits non-zero
// when a call fails; run under valgrind, a leak fails it too.
//
//   memcheck_trivanecom <libTrivaneCOM.so> <trivane-sim> <cycles>
#include "Automation.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

using namespace automation;

namespace {

int g_failures = 0;

void Check(bool condition, const char* what) {
  if (!condition && g_failures++ < 10) std::fprintf(stderr, "failed: %s\n", what);
}

Variant Call(IDispatch& object, const char16_t* member, std::uint16_t flags, std::initializer_list<Variant> args = {}) {
  Variant result;
  Check(Succeeded(CallByName(object, member, flags, args, &result)), "call by name");
  return result;
}

std::string Output(const std::string& command) {
  std::string output;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    pclose(pipe);
  }
  while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) output.pop_back();
  return output;
}

// One object's life: the members that allocate on either side of the SDK boundary.
void Cycle(const std::u16string& alice, const std::u16string& alicePaid) {
  ComPtr<IDispatch> object;
  Check(Succeeded(CreateObjectByProgId(u"TrivaneCOM.APIInterface", IDispatch::Iid, object.put())), "create");
  if (!object) return;
  constexpr std::uint16_t get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
  Call(*object, u"EnumerateDevice", DISPATCH_METHOD);
  Check(Call(*object, u"DeviceNum", get).int32() == 1, "DeviceNum");
  Check(Call(*object, u"Version", get).text() == u"v1.0", "Version");
  Call(*object, u"SecurityLevel", DISPATCH_PROPERTYPUT, {Variant(6)});
  Check(Call(*object, u"SecurityLevel", get).int32() == 6, "SecurityLevel");
  Call(*object, u"CreateTemplate", DISPATCH_METHOD, {Variant(alice), Variant::Null(), Variant(u"payload")});
  Check(Call(*object, u"ErrorCode", get).int32() == 0, "CreateTemplate");
  Check(!Call(*object, u"FIRTextData", get).text().empty(), "FIRTextData");
  Call(*object, u"VerifyMatch", DISPATCH_METHOD, {Variant(alice), Variant(alicePaid)});
  Call(*object, u"VerifyMatch", DISPATCH_METHOD, {Variant(alice), Variant(alicePaid)}); // replaces the payload
  Check(Call(*object, u"PayloadData", get).text() == u"paid", "PayloadData");
  Call(*object, u"ConvertDPI", DISPATCH_METHOD, {Variant(alice), Variant(500), Variant(1000)});
  Call(*object, u"FIRFormat", DISPATCH_PROPERTYPUT, {Variant(1)});
  Check(Call(*object, u"ErrorCode", get).int32() == 13, "FIRFormat");
}

} // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: memcheck_trivanecom <libTrivaneCOM.so> <trivane-sim> <cycles>\n");
    return 2;
  }
  const std::string server = argv[1];
  const std::string tool = argv[2];
  const int cycles = std::atoi(argv[3]);

  char directory[] = "/tmp/memcheck-trivanecom-XXXXXX";
  if (!mkdtemp(directory)) return 2;
  const std::string registry = std::string(directory) + "/automation-registry";
  setenv("HORAVANT_AUTOMATION_REGISTRY", registry.c_str(), 1);
  setenv("HORAVANT_SIM_SPOOL", directory, 1);
  setenv("HORAVANT_SIM_DEVICES", "2", 1);

  const std::u16string alice = WideFromNarrow(Output(tool + " template alice"));
  const std::u16string alicePaid = WideFromNarrow(Output(tool + " template alice --payload paid"));
  Check(!alice.empty() && !alicePaid.empty(), "templates from the tool");
  Check(Succeeded(RunServerRegistration(server, true)), "register");
  for (int i = 0; i < cycles; ++i) {
    Cycle(alice, alicePaid);
    if (i % 100 == 99) CoFreeUnusedLibraries();
  }
  Check(Succeeded(RunServerRegistration(server, false)), "unregister");
  CoFreeUnusedLibraries();
  std::filesystem::remove_all(directory);
  std::printf("%d cycles, %d failures\n", cycles, g_failures);
  return g_failures == 0 ? 0 : 1;
}
