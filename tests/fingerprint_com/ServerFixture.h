#pragma once

#include "Automation.h"
#include "ClassRegistry.h"

#include <QString>
#include <QTemporaryDir>

// A class registry of the test's own (HORAVANT_AUTOMATION_REGISTRY) and the registrar run on the
// freshly built server, as an installer would run it.
class ServerFixture final {
public:
  ServerFixture();
  ~ServerFixture();

  bool isValid() const { return m_dir.isValid(); }
  QString registryPath() const { return m_dir.filePath(QStringLiteral("automation-registry")); }
  static QString serverPath() { return QStringLiteral(TRIVANECOM_PATH); }

  // horavant-regsvr [-u] <server>; its exit status.
  static int runRegistrar(bool unregister, const QString& server = serverPath());
  automation::ClassRegistry registry() const;

  // CreateObjectByProgId for IDispatch.
  static automation::ComPtr<automation::IDispatch> create(const char16_t* progId = u"TrivaneCOM.APIInterface",
                                                          automation::HRESULT* result = nullptr);

private:
  QTemporaryDir m_dir;
};

// Late-bound calls for tests: the member by name, the value as a QVariant (int or QString, invalid
// for empty), failing the test on a dispatch error.
namespace LateBound {
automation::Variant Call(automation::IDispatch& object, const char16_t* member, std::uint16_t flags,
                         std::initializer_list<automation::Variant> args = {});
int Int(automation::IDispatch& object, const char16_t* member, std::initializer_list<automation::Variant> args = {});
QString Text(automation::IDispatch& object, const char16_t* member);
void Put(automation::IDispatch& object, const char16_t* member, int value);
void Method(automation::IDispatch& object, const char16_t* member, std::initializer_list<automation::Variant> args = {});
int ErrorCode(automation::IDispatch& object);
std::u16string Wide(const QString& text);
} // namespace LateBound
