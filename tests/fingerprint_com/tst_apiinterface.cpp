// The APIInterface object over the simulated reader, called by member name as the time clock does.
// moc cannot parse the C++20 library headers these bring in; it needs none of them.
#ifndef Q_MOC_RUN
#include "ServerFixture.h"

#include "SimReader.h"
#endif


#include <QTemporaryFile>
#include <QTest>

using namespace automation;
using namespace LateBound;

Q_DECLARE_METATYPE(automation::Variant)

namespace {
constexpr std::uint16_t kGet = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
}

class TestAPIInterface : public QObject {
  Q_OBJECT

private slots:
  void init() {
    m_server = std::make_unique<ServerFixture>();
    QVERIFY(m_server->isValid());
    QCOMPARE(ServerFixture::runRegistrar(false), 0);
  }
  void cleanup() {
    m_object.reset();
    m_reader.reset();
    m_server.reset();
  }

  void createdWithAReaderLibraryStartsClean() {
    start();
    QCOMPARE(ErrorCode(*m_object), 0);
    QCOMPARE(Text(*m_object, u"Version"), QStringLiteral("v1.0"));
    QCOMPARE(ErrorCode(*m_object), 0);
    QCOMPARE(Text(*m_object, u"FIRTextData"), QString());
    QCOMPARE(Int(*m_object, u"DeviceNum"), 0);
  }

  void devicesAreListedAndIndexed_data() {
    QTest::addColumn<QString>("devices");
    QTest::addColumn<QList<int>>("ids");
    QTest::newRow("one reader") << QStringLiteral("2") << QList<int>{2};
    QTest::newRow("three readers") << QStringLiteral("1,2,3") << QList<int>{1, 2, 3};
    QTest::newRow("second instance") << QStringLiteral("258") << QList<int>{258};
    QTest::newRow("no reader") << QStringLiteral("none") << QList<int>{};
  }
  void devicesAreListedAndIndexed() {
    QFETCH(QString, devices);
    QFETCH(QList<int>, ids);
    start(devices);
    Method(*m_object, u"EnumerateDevice");
    QCOMPARE(ErrorCode(*m_object), 0);
    QCOMPARE(Int(*m_object, u"DeviceNum"), ids.size());
    for (int i = 0; i < ids.size(); ++i) {
      QCOMPARE(Call(*m_object, u"DeviceID", DISPATCH_PROPERTYGET, {Variant(i)}).int32(), ids[i]);
      QCOMPARE(ErrorCode(*m_object), 0);
    }
    for (int outside : {-1, int(ids.size()), int(ids.size()) + 2}) {
      Call(*m_object, u"DeviceID", DISPATCH_PROPERTYGET, {Variant(outside)});
      QCOMPARE(ErrorCode(*m_object), 4);
    }
  }

  void firFormatIsFixed() {
    start();
    Put(*m_object, u"FIRFormat", 3);
    QCOMPARE(ErrorCode(*m_object), 13);
    QCOMPARE(Int(*m_object, u"FIRFormat"), 0);
    QCOMPARE(ErrorCode(*m_object), 0);
  }

  void sessionSettingsAreReadAndWritten_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("expectedCode");
    QTest::newRow("CaptureTimeout") << QStringLiteral("CaptureTimeout") << 5000 << 0;
    QTest::newRow("SecurityLevel") << QStringLiteral("securitylevel") << 7 << 0;
    QTest::newRow("EnrollImageQuality") << QStringLiteral("EnrollImageQuality") << 60 << 0;
    QTest::newRow("VerifyImageQuality") << QStringLiteral("VerifyImageQuality") << 40 << 0;
    QTest::newRow("MaxFingersForEnroll") << QStringLiteral("MaxFingersForEnroll") << 3 << 0;
    QTest::newRow("SecurityLevel out of range") << QStringLiteral("SecurityLevel") << 10 << 5;
  }
  void sessionSettingsAreReadAndWritten() {
    QFETCH(QString, member);
    QFETCH(int, value);
    QFETCH(int, expectedCode);
    start();
    const std::u16string name = Wide(member);
    const int before = Int(*m_object, name.c_str());
    Put(*m_object, name.c_str(), value);
    QCOMPARE(ErrorCode(*m_object), expectedCode);
    QCOMPARE(Int(*m_object, name.c_str()), expectedCode == 0 ? value : before);
    // The other settings are written back unchanged.
    if (member.compare(QStringLiteral("SecurityLevel"), Qt::CaseInsensitive) != 0)
      QCOMPARE(Int(*m_object, u"SecurityLevel"), 5);
  }

  void devicesOpenAndClose() {
    start(QStringLiteral("1,2"));
    Method(*m_object, u"OpenDevice", {Variant(9)});
    QCOMPARE(ErrorCode(*m_object), 257);
    Method(*m_object, u"OpenDevice", {Variant(2), Variant(1)}); // instance 1: id 0x0102, not attached
    QCOMPARE(ErrorCode(*m_object), 257);
    Method(*m_object, u"OpenDevice", {Variant(2)});
    QCOMPARE(ErrorCode(*m_object), 0);
    Method(*m_object, u"AdjustDevice");
    QCOMPARE(ErrorCode(*m_object), 0);

    // A second object has its own session: the reader is taken.
    const auto other = ServerFixture::create();
    Method(*other, u"OpenDevice", {Variant(2)});
    QCOMPARE(ErrorCode(*other), 258);

    Method(*m_object, u"CloseDevice", {Variant(255)});
    QCOMPARE(ErrorCode(*m_object), 0);
    Method(*other, u"OpenDevice", {Variant(2)});
    QCOMPARE(ErrorCode(*other), 0);
  }

  void captureHoldsTheLastTemplate() {
    start();
    openReader();
    QVERIFY(m_reader->Place({QStringLiteral("alice"), QStringLiteral("bob")}));
    Method(*m_object, u"Capture");
    QCOMPARE(ErrorCode(*m_object), 0);
    const QString first = Text(*m_object, u"FirTextData");
    QVERIFY(first.startsWith(QStringLiteral("TRVSIM1:")));
    Method(*m_object, u"Capture");
    QCOMPARE(ErrorCode(*m_object), 0);
    const QString second = Text(*m_object, u"FIRTextData");
    QVERIFY(second != first);
    QVERIFY(matches(second, finger(QStringLiteral("bob"))));
    QVERIFY(!matches(second, finger(QStringLiteral("alice"))));
  }

  void captureTimeOutKeepsTheHeldTemplate() {
    start();
    openReader();
    QVERIFY(m_reader->Place(QStringLiteral("alice")));
    Method(*m_object, u"Capture");
    const QString held = Text(*m_object, u"FIRTextData");
    Put(*m_object, u"CaptureTimeout", 100);
    Method(*m_object, u"Capture");
    QCOMPARE(ErrorCode(*m_object), 515);
    QCOMPARE(Text(*m_object, u"FIRTextData"), held);
  }

  void enrolmentWithoutAFingerReports513() {
    start();
    openReader();
    Put(*m_object, u"CaptureTimeout", 100);
    Method(*m_object, u"Enroll", {Variant::Null()});
    QCOMPARE(ErrorCode(*m_object), 513);
    QCOMPARE(Text(*m_object, u"FIRTextData"), QString());
  }

  // A payload goes with a text by value, or by reference from two characters on.
  void enrolmentStoresThePayload_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("payload");
    QTest::newRow("one character by value") << QStringLiteral("value") << QStringLiteral("7") << QStringLiteral("7");
    QTest::newRow("one character by reference") << QStringLiteral("reference") << QStringLiteral("7") << QString();
    QTest::newRow("two characters by reference") << QStringLiteral("reference") << QStringLiteral("42") << QStringLiteral("42");
    QTest::newRow("text by value") << QStringLiteral("value") << QStringLiteral("employee 12") << QStringLiteral("employee 12");
    QTest::newRow("empty text") << QStringLiteral("value") << QString() << QString();
    QTest::newRow("null") << QStringLiteral("null") << QString() << QString();
    QTest::newRow("number") << QStringLiteral("number") << QString() << QString();
    QTest::newRow("non-ASCII text") << QStringLiteral("value") << QStringLiteral("Peña €") << QStringLiteral("Peña €");
  }
  void enrolmentStoresThePayload() {
    QFETCH(QString, kind);
    QFETCH(QString, text);
    QFETCH(QString, payload);
    start();
    openReader();
    std::u16string wide = Wide(text);
    Variant argument = kind == QStringLiteral("value")       ? Variant(wide)
                       : kind == QStringLiteral("reference") ? Variant::ByRef(wide)
                       : kind == QStringLiteral("null")      ? Variant::Null()
                                                             : Variant(12);
    QVERIFY(m_reader->Place(QStringLiteral("carol"), {QStringLiteral("--times"), QStringLiteral("2")}));
    Method(*m_object, u"Enroll", {argument});
    QCOMPARE(ErrorCode(*m_object), 0);
    const QString enrolled = Text(*m_object, u"FirTextData");

    QVERIFY(matches(finger(QStringLiteral("carol")), enrolled));
    QCOMPARE(Int(*m_object, u"IsPayload"), payload.isEmpty() ? 0 : 1);
    QCOMPARE(Text(*m_object, u"PayLoadData"), payload);
    QCOMPARE(Int(*m_object, u"PayloadLength"), int(payload.toUtf8().size()));
  }

  void verifyCapturesAndCompares() {
    start();
    openReader();
    const QString stored = finger(QStringLiteral("dave"), QStringLiteral("D-7"));
    QVERIFY(m_reader->Place({QStringLiteral("dave"), QStringLiteral("erin")}));
    std::u16string wide = Wide(stored);
    Method(*m_object, u"Verify", {Variant::ByRef(wide)});
    QCOMPARE(ErrorCode(*m_object), 0);
    QCOMPARE(Int(*m_object, u"IsMatched"), 1);
    QCOMPARE(Text(*m_object, u"PayloadData"), QStringLiteral("D-7"));
    Method(*m_object, u"Verify", {Variant(wide)});
    QCOMPARE(ErrorCode(*m_object), 0);
    QCOMPARE(Int(*m_object, u"IsMatched"), 0);
    QCOMPARE(Int(*m_object, u"IsPayload"), 0);
    QCOMPARE(Text(*m_object, u"PayloadData"), QString());
  }

  // A missing text fails the precondition: ErrorCode 1 and the last match result stays.
  void missingTextsReportOne_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<QList<automation::Variant>>("args");
    const Variant text(u"TRVSIM1:placeholder");
    QTest::newRow("VerifyMatch, first null") << QStringLiteral("VerifyMatch") << QList<Variant>{Variant::Null(), text};
    QTest::newRow("VerifyMatch, first empty") << QStringLiteral("VerifyMatch") << QList<Variant>{Variant(u""), text};
    QTest::newRow("VerifyMatch, second null") << QStringLiteral("VerifyMatch") << QList<Variant>{text, Variant::Null()};
    QTest::newRow("Verify, null") << QStringLiteral("Verify") << QList<Variant>{Variant::Null()};
    QTest::newRow("CreateTemplate, first null") << QStringLiteral("CreateTemplate")
                                                << QList<Variant>{Variant::Null(), text, Variant()};
    QTest::newRow("CreateTemplate, first a number") << QStringLiteral("CreateTemplate")
                                                    << QList<Variant>{Variant(3), Variant(), Variant()};
    QTest::newRow("ConvertDPI, empty") << QStringLiteral("ConvertDPI")
                                       << QList<Variant>{Variant(), Variant(500), Variant(1000)};
  }
  void missingTextsReportOne() {
    QFETCH(QString, member);
    QFETCH(QList<automation::Variant>, args);
    start();
    const QString alice = finger(QStringLiteral("alice"));
    QVERIFY(matches(alice, alice));
    const std::vector<Variant> arguments(args.begin(), args.end());
    QCOMPARE(CallByName(*m_object, Wide(member), DISPATCH_METHOD, arguments), S_OK);
    QCOMPARE(ErrorCode(*m_object), 1);
    QCOMPARE(Int(*m_object, u"IsMatched"), 1);
  }

  void unreadableTemplateDoesNotMatch() {
    start();
    const QString alice = finger(QStringLiteral("alice"));
    Method(*m_object, u"VerifyMatch", {Variant(u"not a template"), Variant(Wide(alice))});
    QCOMPARE(ErrorCode(*m_object), 8);
    QCOMPARE(Int(*m_object, u"IsMatched"), 0);
  }

  void templatesAreCombinedAndConverted() {
    start();
    const QString alice = finger(QStringLiteral("alice"));
    const QString bob = finger(QStringLiteral("bob"));
    Method(*m_object, u"CreateTemplate", {Variant(Wide(alice)), Variant(Wide(bob)), Variant(u"pair")});
    QCOMPARE(ErrorCode(*m_object), 0);
    const QString both = Text(*m_object, u"FIRTextData");
    QVERIFY(matches(bob, both));
    QCOMPARE(Text(*m_object, u"PayloadData"), QStringLiteral("pair"));
    QVERIFY(matches(alice, both));

    std::u16string wide = Wide(alice);
    Method(*m_object, u"ConvertDPI", {Variant::ByRef(wide), Variant(500), Variant(1000)});
    QCOMPARE(ErrorCode(*m_object), 0);
    const QString converted = Text(*m_object, u"FIRTextData");
    QVERIFY(converted != alice);
    Method(*m_object, u"ConvertDPI", {Variant(Wide(alice)), Variant(500), Variant(5)});
    QCOMPARE(ErrorCode(*m_object), 5);
    QCOMPARE(Text(*m_object, u"FIRTextData"), converted);
  }

  void skinAndWindowStyle() {
    start();
    QTemporaryFile skin;
    QVERIFY(skin.open());
    Method(*m_object, u"SetSkinResource", {Variant(Wide(skin.fileName()))});
    QCOMPARE(ErrorCode(*m_object), 0);
    Method(*m_object, u"SetSkinResource", {Variant(Wide(skin.fileName() + QStringLiteral(".missing")))});
    QCOMPARE(ErrorCode(*m_object), 10);
    Put(*m_object, u"WindowStyle", 1);
    QCOMPARE(Int(*m_object, u"WindowStyle"), 1);
  }

  void dispatchErrorsAreNotErrorCodes_data() {
    QTest::addColumn<QString>("member");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QList<automation::Variant>>("args");
    QTest::addColumn<int>("expected");
    QTest::newRow("unknown member") << QStringLiteral("Identify") << int(DISPATCH_METHOD) << QList<Variant>{}
                                    << DISP_E_UNKNOWNNAME;
    QTest::newRow("put on a read-only property") << QStringLiteral("DeviceNum") << int(DISPATCH_PROPERTYPUT)
                                                 << QList<Variant>{Variant(1)} << DISP_E_MEMBERNOTFOUND;
    QTest::newRow("property read as a method") << QStringLiteral("ErrorCode") << int(DISPATCH_METHOD)
                                               << QList<Variant>{} << DISP_E_MEMBERNOTFOUND;
    QTest::newRow("missing argument") << QStringLiteral("VerifyMatch") << int(DISPATCH_METHOD)
                                      << QList<Variant>{Variant(u"a")} << DISP_E_BADPARAMCOUNT;
    QTest::newRow("too many arguments") << QStringLiteral("OpenDevice") << int(DISPATCH_METHOD)
                                        << QList<Variant>{Variant(1), Variant(0), Variant(0)} << DISP_E_BADPARAMCOUNT;
    QTest::newRow("text for a number") << QStringLiteral("OpenDevice") << int(DISPATCH_METHOD)
                                       << QList<Variant>{Variant(u"two")} << DISP_E_TYPEMISMATCH;
  }
  void dispatchErrorsAreNotErrorCodes() {
    QFETCH(QString, member);
    QFETCH(int, flags);
    QFETCH(QList<automation::Variant>, args);
    QFETCH(int, expected);
    start();
    const std::vector<Variant> arguments(args.begin(), args.end());
    QCOMPARE(CallByName(*m_object, Wide(member), static_cast<std::uint16_t>(flags), arguments), expected);
  }

private:
  void start(const QString& devices = QStringLiteral("2")) {
    m_reader = std::make_unique<SimReader>(devices);
    QVERIFY(m_reader->IsValid());
    HRESULT hr = E_FAIL;
    m_object = ServerFixture::create(u"TrivaneCOM.APIInterface", &hr);
    QCOMPARE(hr, S_OK);
  }

  void openReader() {
    Method(*m_object, u"OpenDevice", {Variant(2)});
    QCOMPARE(ErrorCode(*m_object), 0);
  }

  // The template an ideal enrolment of the finger stores.
  QString finger(const QString& name, const QString& payload = {}) const {
    QStringList arguments{QStringLiteral("template"), name};
    if (!payload.isEmpty()) arguments << QStringLiteral("--payload") << payload;
    QString output;
    if (m_reader->Run(arguments, &output) != 0) return {};
    return output.trimmed();
  }

  bool matches(const QString& captured, const QString& stored) {
    Method(*m_object, u"VerifyMatch", {Variant(Wide(captured)), Variant(Wide(stored))});
    return ErrorCode(*m_object) == 0 && Int(*m_object, u"IsMatched") == 1;
  }

  std::unique_ptr<ServerFixture> m_server;
  std::unique_ptr<SimReader> m_reader;
  ComPtr<IDispatch> m_object;
};

QTEST_GUILESS_MAIN(TestAPIInterface)
#include "tst_apiinterface.moc"
