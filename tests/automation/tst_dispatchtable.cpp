// Name lookup and invocation from an interface description, on a small object of the test's own.
#ifndef Q_MOC_RUN
#include "DispatchTable.h"
#endif

#include <QTest>

using namespace automation;

Q_DECLARE_METATYPE(automation::Variant)

namespace {
// A counter with a value property, an indexed read, a method with an optional argument and one
// that takes a text.
struct ICounter : IDispatch {
  virtual HRESULT get_Value(std::int32_t* value) = 0;
  virtual HRESULT put_Value(std::int32_t value) = 0;
  virtual HRESULT Add(std::int32_t amount, std::int32_t times) = 0;
  virtual HRESULT get_Digit(std::int32_t index, std::int32_t* digit) = 0;
  virtual HRESULT Label(const std::u16string& prefix, const Variant& suffix, std::u16string* label) = 0;
};

constexpr ParamInfo kNewValue[] = {{u"newVal", ValueType::Int32}};
constexpr ParamInfo kAdd[] = {{u"amount", ValueType::Int32}, {u"times", ValueType::Int32, true}};
constexpr ParamInfo kDigit[] = {{u"index", ValueType::Int32}};
constexpr ParamInfo kLabel[] = {{u"prefix", ValueType::Text}, {u"suffix", ValueType::Variant}};
constexpr FuncInfo kFuncs[] = {
    {1, DISPATCH_PROPERTYGET, u"Value", {}, ValueType::Int32, u"", &InvokeMember<&ICounter::get_Value>},
    {1, DISPATCH_PROPERTYPUT, u"Value", kNewValue, ValueType::None, u"", &InvokeMember<&ICounter::put_Value>},
    {2, DISPATCH_METHOD, u"Add", kAdd, ValueType::None, u"", &InvokeMember<&ICounter::Add>},
    {3, DISPATCH_PROPERTYGET, u"Digit", kDigit, ValueType::Int32, u"", &InvokeMember<&ICounter::get_Digit>},
    {4, DISPATCH_METHOD, u"Label", kLabel, ValueType::Text, u"", &InvokeMember<&ICounter::Label>},
};
constexpr InterfaceInfo kCounterInfo{GUID_NULL, u"ICounter", u"", 0, kFuncs};

struct Counter final : ICounter {
  HRESULT QueryInterface(const IID&, void**) override { return E_NOINTERFACE; }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }
  HRESULT GetTypeInfoCount(std::uint32_t* count) override {
    *count = 1;
    return S_OK;
  }
  HRESULT GetTypeInfo(std::uint32_t, const InterfaceInfo** info) override {
    *info = &kCounterInfo;
    return S_OK;
  }
  HRESULT GetIDsOfNames(std::span<const std::u16string_view> names, std::span<DISPID> ids) override {
    return GetIDsOfNamesFrom(kCounterInfo, names, ids);
  }
  HRESULT Invoke(DISPID member, std::uint16_t flags, std::span<const Variant> args, Variant* result,
                 std::uint32_t* argError) override {
    return InvokeFrom(kCounterInfo, *this, member, flags, args, result, argError);
  }
  HRESULT get_Value(std::int32_t* v) override {
    *v = value;
    return S_OK;
  }
  HRESULT put_Value(std::int32_t v) override {
    value = v;
    return S_OK;
  }
  HRESULT Add(std::int32_t amount, std::int32_t times) override {
    value += amount * (times == 0 ? 1 : times);
    return S_OK;
  }
  HRESULT get_Digit(std::int32_t index, std::int32_t* digit) override {
    if (index < 0) return E_INVALIDARG;
    *digit = index * 10;
    return S_OK;
  }
  HRESULT Label(const std::u16string& prefix, const Variant& suffix, std::u16string* label) override {
    *label = prefix + (suffix.isByRef() ? u"&" : u"") + suffix.text();
    return S_OK;
  }
  std::int32_t value = 0;
};

HRESULT CallCounter(Counter& counter, const char16_t* member, std::uint16_t flags, const QList<Variant>& args,
                    Variant* result = nullptr, std::uint32_t* argError = nullptr) {
  DISPID id = DISPID_UNKNOWN;
  const std::u16string_view names[] = {member};
  if (const HRESULT hr = counter.GetIDsOfNames(names, std::span<DISPID>(&id, 1)); Failed(hr)) return hr;
  const std::vector<Variant> arguments(args.begin(), args.end());
  return counter.Invoke(id, flags, arguments, result, argError);
}
} // namespace

class TestDispatchTable : public QObject {
  Q_OBJECT

private slots:
  void invocation_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<automation::Variant>>("args");
    QTest::addColumn<int>("expected");
    QTest::addColumn<automation::Variant>("result");
    QTest::addColumn<int>("valueAfter");
    const int get = DISPATCH_PROPERTYGET, put = DISPATCH_PROPERTYPUT, method = DISPATCH_METHOD;
    const auto row = [](const char* tag, const char* member, int flags, QList<Variant> args, HRESULT expected,
                        Variant result, int valueAfter) {
      QTest::newRow(tag) << QString::fromLatin1(member) << flags << args << int(expected) << result << valueAfter;
    };
    row("get", "Value", get, {}, S_OK, Variant(5), 5);
    row("get in any case", "vALUE", get, {}, S_OK, Variant(5), 5);
    row("method and get read a property", "Value", method | get, {}, S_OK, Variant(5), 5);
    row("method alone does not read a property", "Value", method, {}, DISP_E_MEMBERNOTFOUND, Variant(), 5);
    row("put", "Value", put, {Variant(9)}, S_OK, Variant(), 9);
    row("put of a decimal text", "Value", put, {Variant(u"12")}, S_OK, Variant(), 12);
    row("put without a value", "Value", put, {}, DISP_E_BADPARAMCOUNT, Variant(), 5);
    row("method", "Add", method, {Variant(2), Variant(3)}, S_OK, Variant(), 11);
    row("optional argument left out", "add", method, {Variant(2)}, S_OK, Variant(), 7);
    row("required argument left out", "Add", method, {}, DISP_E_BADPARAMCOUNT, Variant(), 5);
    row("too many arguments", "Add", method, {Variant(1), Variant(1), Variant(1)}, DISP_E_BADPARAMCOUNT, Variant(), 5);
    row("null for a number", "Add", method, {Variant::Null()}, DISP_E_TYPEMISMATCH, Variant(), 5);
    row("indexed get", "Digit", get, {Variant(4)}, S_OK, Variant(40), 5);
    row("member's own failure", "Digit", get, {Variant(-1)}, E_INVALIDARG, Variant(), 5);
    row("text and variant", "Label", method, {Variant(u"a"), Variant(u"b")}, S_OK, Variant(u"ab"), 5);
    row("null text", "Label", method, {Variant::Null(), Variant(u"b")}, S_OK, Variant(u"b"), 5);
    row("unknown member", "Subtract", method, {}, DISP_E_UNKNOWNNAME, Variant(), 5);
  }
  void invocation() {
    QFETCH(QString, member);
    QFETCH(int, flags);
    QFETCH(QList<automation::Variant>, args);
    QFETCH(int, expected);
    QFETCH(automation::Variant, result);
    QFETCH(int, valueAfter);
    Counter counter;
    counter.value = 5;
    Variant returned = Variant(u"not touched");
    const std::u16string name = member.toStdU16String();
    QCOMPARE(CallCounter(counter, name.c_str(), static_cast<std::uint16_t>(flags), args, &returned), expected);
    if (expected == S_OK) QVERIFY(returned == result);
    QCOMPARE(counter.value, valueAfter);
  }

  void variantArgumentsKeepTheirReference() {
    Counter counter;
    std::u16string suffix = u"x";
    Variant label;
    QCOMPARE(CallCounter(counter, u"Label", DISPATCH_METHOD, {Variant(u"a"), Variant::ByRef(suffix)}, &label), S_OK);
    QCOMPARE(label.text(), std::u16string(u"a&x"));
  }

  void badArgumentIsNamedByIndex() {
    Counter counter;
    std::uint32_t argError = 99;
    QCOMPARE(CallCounter(counter, u"Add", DISPATCH_METHOD, {Variant(1), Variant(u"many")}, nullptr, &argError),
             DISP_E_TYPEMISMATCH);
    QCOMPARE(argError, 1u);
  }

  void parameterNamesResolveToPositions() {
    Counter counter;
    const std::u16string_view names[] = {u"ADD", u"Times", u"amount", u"count"};
    DISPID ids[4] = {};
    QCOMPARE(counter.GetIDsOfNames(names, ids), DISP_E_UNKNOWNNAME);
    QCOMPARE(ids[0], 2);
    QCOMPARE(ids[1], 1);
    QCOMPARE(ids[2], 0);
    QCOMPARE(ids[3], DISPID_UNKNOWN);
  }
};

QTEST_GUILESS_MAIN(TestDispatchTable)
#include "tst_dispatchtable.moc"
