#include "ServerFixture.h"

#include "ClassRegistry.h"

#include <QProcess>
#include <QTest>

using namespace automation;

ServerFixture::ServerFixture() { qputenv("HORAVANT_AUTOMATION_REGISTRY", registryPath().toLocal8Bit()); }

ServerFixture::~ServerFixture() {
  CoFreeUnusedLibraries();
  qunsetenv("HORAVANT_AUTOMATION_REGISTRY");
}

int ServerFixture::runRegistrar(bool unregister, const QString& server) {
  QStringList arguments{QStringLiteral("-s"), server};
  if (unregister) arguments.prepend(QStringLiteral("-u"));
  QProcess registrar;
  registrar.start(QStringLiteral(HORAVANT_REGSVR_PATH), arguments);
  if (!registrar.waitForFinished(30000) || registrar.exitStatus() != QProcess::NormalExit) return -1;
  return registrar.exitCode();
}

ClassRegistry ServerFixture::registry() const { return ClassRegistry::Load(registryPath().toStdString()); }

ComPtr<IDispatch> ServerFixture::create(const char16_t* progId, HRESULT* result) {
  ComPtr<IDispatch> object;
  const HRESULT hr = CreateObjectByProgId(progId, IDispatch::Iid, object.put());
  if (result) *result = hr;
  return object;
}

namespace LateBound {

Variant Call(IDispatch& object, const char16_t* member, std::uint16_t flags, std::initializer_list<Variant> args) {
  Variant result;
  const HRESULT hr = CallByName(object, member, flags, args, &result);
  if (Failed(hr)) QTest::qFail(qPrintable(QStringLiteral("call failed: ") + QString::fromStdString(ResultText(hr))), __FILE__, __LINE__);
  return result;
}

int Int(IDispatch& object, const char16_t* member, std::initializer_list<Variant> args) {
  return Call(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args).int32();
}

QString Text(IDispatch& object, const char16_t* member) {
  return QString::fromStdU16String(Call(object, member, DISPATCH_METHOD | DISPATCH_PROPERTYGET).text());
}

void Put(IDispatch& object, const char16_t* member, int value) { Call(object, member, DISPATCH_PROPERTYPUT, {Variant(value)}); }

void Method(IDispatch& object, const char16_t* member, std::initializer_list<Variant> args) {
  Call(object, member, DISPATCH_METHOD, args);
}

int ErrorCode(IDispatch& object) { return Int(object, u"ErrorCode"); }

std::u16string Wide(const QString& text) { return text.toStdU16String(); }

} // namespace LateBound
