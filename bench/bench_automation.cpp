// Cost of one late-bound member call through the automation layer on the fingerprint server's
// object (with the simulated reader loaded): by name (GetIDsOfNames + Invoke, what the reader
// wrapper does for every call), by a cached dispatch id, and through the vtable for comparison.
#include "Automation.h"
#include "IAPIInterface.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

using namespace automation;

namespace {

// Registers the server into a class registry of its own for the benchmark's lifetime.
class RegisteredServer final {
public:
  RegisteredServer() {
    char directory[] = "/tmp/bench-automation-XXXXXX";
    m_directory = mkdtemp(directory);
    setenv("HORAVANT_AUTOMATION_REGISTRY", (m_directory + "/registry").c_str(), 1);
    setenv("HORAVANT_SIM_SPOOL", m_directory.c_str(), 1);
    setenv("HORAVANT_SIM_DEVICES", "1,2,3", 1);
    RunServerRegistration(TRIVANE_COM_LIBRARY, true);
  }
  ~RegisteredServer() {
    CoFreeUnusedLibraries();
    std::filesystem::remove_all(m_directory);
  }

  static ComPtr<IDispatch> Create() {
    ComPtr<IDispatch> object;
    CreateObjectByProgId(u"TrivaneCOM.APIInterface", IDispatch::Iid, object.put());
    CallByName(*object, u"EnumerateDevice", DISPATCH_METHOD);
    return object;
  }

private:
  std::string m_directory;
};

RegisteredServer& Server() {
  static RegisteredServer server;
  return server;
}

void BM_CallByName_Property(benchmark::State& state) {
  Server();
  const auto object = RegisteredServer::Create();
  Variant result;
  for (auto _ : state) {
    CallByName(*object, u"ErrorCode", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CallByName_Property);

void BM_CallByName_IndexedProperty(benchmark::State& state) {
  Server();
  const auto object = RegisteredServer::Create();
  Variant result;
  for (auto _ : state) {
    CallByName(*object, u"DeviceID", DISPATCH_PROPERTYGET, {Variant(2)}, &result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CallByName_IndexedProperty);

void BM_CallByName_TextResult(benchmark::State& state) {
  Server();
  const auto object = RegisteredServer::Create();
  Variant result;
  for (auto _ : state) {
    CallByName(*object, u"Version", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_CallByName_TextResult);

void BM_Invoke_CachedDispId(benchmark::State& state) {
  Server();
  const auto object = RegisteredServer::Create();
  Variant result;
  for (auto _ : state) {
    object->Invoke(2, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result, nullptr);
    benchmark::DoNotOptimize(result);
  }
}
BENCHMARK(BM_Invoke_CachedDispId);

void BM_Vtable(benchmark::State& state) {
  Server();
  const auto object = RegisteredServer::Create().As<trivane::IAPIInterface>();
  std::int32_t code = 0;
  for (auto _ : state) {
    object->get_ErrorCode(&code);
    benchmark::DoNotOptimize(code);
  }
}
BENCHMARK(BM_Vtable);

// Creation by program id (class registry read, class factory, SDK session) and release.
void BM_CreateAndRelease(benchmark::State& state) {
  Server();
  for (auto _ : state) {
    auto object = RegisteredServer::Create();
    benchmark::DoNotOptimize(object.get());
  }
}
BENCHMARK(BM_CreateAndRelease);

} // namespace

BENCHMARK_MAIN();
