// The simulated reader library through its C interface, with fingers placed by trivane-sim.
#include "SimReader.h"
#include "TrivaneSDK.h"

#include <QTest>

#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Short waits: a finger the test placed is taken at once, and a missing one should fail quickly.
constexpr int32_t kWaitMs = 150;

class Session final {
public:
    Session() { TrivAPI_Init(&handle); }
    ~Session() { TrivAPI_Terminate(handle); }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
    operator TrivAPI_HANDLE() const { return handle; }

    TrivAPI_HANDLE handle = 0;
};

// A caller's text template, as the automation object builds one: length 0, the text ends at NUL.
class Input final {
public:
    explicit Input(std::string text) : m_text(std::move(text))
    {
        m_textFir.length = 0;
        m_textFir.textFIR = m_text.data();
        m_input.form = TRIVAPI_FIR_FORM_TEXTENCODE;
        m_input.textFIR = &m_textFir;
    }
    const TrivAPI_INPUT_FIR* operator&() const { return &m_input; }

private:
    std::string m_text;
    TrivAPI_TEXT_FIR m_textFir{};
    TrivAPI_INPUT_FIR m_input{};
};

std::string TextAndFree(TrivAPI_HANDLE session, TrivAPI_FIR_HANDLE fir)
{
    TrivAPI_TEXT_FIR text{};
    if (TrivAPI_GetTextFIRFromHandle(session, fir, &text, 0) != 0)
        return {};
    std::string result(text.textFIR, text.length);
    TrivAPI_FreeTextFIR(session, &text);
    TrivAPI_FreeFIRHandle(session, fir);
    return result;
}

// The code of an enrolment; the template text in *enrolled on success.
uint32_t Enroll(TrivAPI_HANDLE session, std::string* enrolled, const TrivAPI_PAYLOAD* payload = nullptr)
{
    TrivAPI_FIR_HANDLE fir = 0;
    const uint32_t code = TrivAPI_Enroll(session, nullptr, &fir, payload, kWaitMs, nullptr, nullptr);
    if (code == 0 && enrolled)
        *enrolled = TextAndFree(session, fir);
    return code;
}

uint32_t Capture(TrivAPI_HANDLE session, std::string* captured)
{
    TrivAPI_FIR_HANDLE fir = 0;
    const uint32_t code = TrivAPI_Capture(session, TRIVAPI_PURPOSE_VERIFY, &fir, kWaitMs, nullptr, nullptr);
    if (code == 0 && captured)
        *captured = TextAndFree(session, fir);
    return code;
}

bool Matches(TrivAPI_HANDLE session, const std::string& captured, const std::string& stored)
{
    int32_t matched = -1;
    TrivAPI_PAYLOAD payload{};
    const Input capturedInput(captured), storedInput(stored);
    if (TrivAPI_VerifyMatch(session, &capturedInput, &storedInput, &matched, &payload) != 0)
        return false;
    TrivAPI_FreePayload(session, &payload);
    return matched == 1;
}

uint32_t SetSecurityLevel(TrivAPI_HANDLE session, uint32_t level)
{
    TrivAPI_INIT_INFO info{};
    TrivAPI_GetInitInfo(session, 0, &info);
    info.securityLevel = level;
    return TrivAPI_SetInitInfo(session, 0, &info);
}

// A session with the reader open, on a spool of its own.
struct OpenReader {
    SimReader reader;
    Session session;

    // Opens the reader, then runs trivane-sim with the arguments when there are any.
    bool Prepare(const QStringList& tool = {})
    {
        return TrivAPI_OpenDevice(session, TRIVAPI_DEVICE_AUTO) == 0 && (tool.isEmpty() || reader.Run(tool) == 0);
    }
};

// An open reader with one finger enrolled.
struct EnrolledReader : OpenReader {
    std::string enrolled;

    bool Enrol(const QString& finger, const TrivAPI_PAYLOAD* payload = nullptr)
    {
        return Prepare({u"place"_s, finger, u"--times"_s, u"2"_s}) && Enroll(session, &enrolled, payload) == 0;
    }
};

QList<uint16_t> Enumerate(TrivAPI_HANDLE session)
{
    uint32_t count = 0;
    TrivAPI_DEVICE_ID* ids = nullptr;
    if (TrivAPI_EnumerateDevice(session, &count, &ids) != 0)
        return {{0xFFFF}};
    return QList<uint16_t>(ids, ids + count);
}

} // namespace

class TestTrivaneSim : public QObject {
    Q_OBJECT
private slots:
    void connectedDevices_data()
    {
        QTest::addColumn<QString>("setting");
        QTest::addColumn<QList<uint16_t>>("devices");
        QTest::newRow("two readers") << u"1,2"_s << QList<uint16_t>{1, 2};
        QTest::newRow("blank-separated") << u"3 258"_s << QList<uint16_t>{3, 258};
        QTest::newRow("none") << u"none"_s << QList<uint16_t>{};
        QTest::newRow("empty") << QString() << QList<uint16_t>{};
        QTest::newRow("reserved id falls back to the default") << u"255"_s << QList<uint16_t>{2};
        QTest::newRow("garbage falls back to the default") << u"two"_s << QList<uint16_t>{2};
    }
    void connectedDevices()
    {
        QFETCH(QString, setting);
        QFETCH(QList<uint16_t>, devices);
        SimReader reader(setting);
        Session session;
        QCOMPARE(Enumerate(session), devices);
    }

    // Each step is "open N" or "close N" with the code it must give, on readers 1 and 2.
    void openAndClose_data()
    {
        QTest::addColumn<QStringList>("steps");
        QTest::newRow("known reader") << QStringList{u"open 1 0"_s, u"close 1 0"_s};
        QTest::newRow("unknown reader") << QStringList{u"open 3 257"_s, u"open 0 257"_s, u"open 257 257"_s, u"close 7 257"_s};
        QTest::newRow("any reader opens the first") << QStringList{u"open 255 0"_s, u"close 2 260"_s, u"close 1 0"_s};
        QTest::newRow("one reader per session") << QStringList{u"open 1 0"_s, u"open 2 259"_s, u"close 255 0"_s, u"open 2 0"_s};
        QTest::newRow("close what is not open") << QStringList{u"close 1 260"_s, u"close 255 260"_s};
    }
    void openAndClose()
    {
        QFETCH(QStringList, steps);
        SimReader reader(u"1,2"_s);
        Session session;
        for (const auto& step : steps) {
            const auto parts = step.split(u' ');
            const auto device = static_cast<TrivAPI_DEVICE_ID>(parts[1].toUInt());
            const uint32_t code = parts[0] == u"open" ? TrivAPI_OpenDevice(session, device)
                                                      : TrivAPI_CloseDevice(session, device);
            QVERIFY2(code == parts[2].toUInt(), qPrintable(step + u" gave %1"_s.arg(code)));
        }
    }

    void readerIsOpenInOneSessionAtATime()
    {
        SimReader reader;
        Session first, second;
        QCOMPARE(TrivAPI_OpenDevice(first, 2), 0u);
        QCOMPARE(TrivAPI_OpenDevice(second, 2), 258u);
        QCOMPARE(TrivAPI_CloseDevice(first, 2), 0u);
        QCOMPARE(TrivAPI_OpenDevice(second, 2), 0u);
    }

    void captureNeedsAnOpenReader()
    {
        SimReader reader;
        Session session;
        QVERIFY(reader.Place(u"alice"_s));
        QCOMPARE(Capture(session, nullptr), 260u);
        QCOMPARE(reader.PendingCount(), 1);
    }

    void captureTakesOnlyFingersForItsReader()
    {
        SimReader reader(u"1,2"_s);
        Session one, two;
        QCOMPARE(TrivAPI_OpenDevice(one, 1), 0u);
        QCOMPARE(TrivAPI_OpenDevice(two, 2), 0u);
        QVERIFY(reader.Place(u"alice"_s, {u"--device"_s, u"1"_s}));
        QCOMPARE(Capture(two, nullptr), 515u);
        QCOMPARE(reader.PendingCount(), 1);
        QCOMPARE(Capture(one, nullptr), 0u);
        QCOMPARE(reader.PendingCount(), 0);
    }

    void captureEnds_data()
    {
        QTest::addColumn<QStringList>("tool");
        QTest::addColumn<uint>("code");
        QTest::newRow("no finger: time-out") << QStringList() << 515u;
        QTest::newRow("cancelled") << QStringList{u"cancel"_s} << 513u;
        QTest::newRow("quality below VerifyImageQuality is refused")
            << QStringList{u"place"_s, u"alice"_s, u"--quality"_s, u"10"_s} << 515u;
        QTest::newRow("finger lifted before the capture") << QStringList{u"place"_s, u"alice"_s, u"--hold"_s, u"1"_s} << 515u;
    }
    void captureEnds()
    {
        QFETCH(QStringList, tool);
        QFETCH(uint, code);
        OpenReader fixture;
        QVERIFY(fixture.Prepare(tool));
        if (tool.contains(u"--hold"_s))
            QTest::qWait(1100);
        QCOMPARE(Capture(fixture.session, nullptr), code);
        QCOMPARE(fixture.reader.PendingCount(), 0);
    }

    void enrolmentEnds_data()
    {
        QTest::addColumn<QStringList>("tool");
        QTest::addColumn<uint>("code");
        QTest::newRow("no finger: nothing taken") << QStringList() << 513u;
        QTest::newRow("one sample of two") << QStringList{u"place"_s, u"alice"_s} << 513u;
        QTest::newRow("cancelled") << QStringList{u"cancel"_s} << 513u;
        QTest::newRow("samples of two fingers") << QStringList{u"place"_s, u"alice"_s, u"bob"_s} << 517u;
        QTest::newRow("two samples of one finger") << QStringList{u"place"_s, u"alice"_s, u"--times"_s, u"2"_s} << 0u;
    }
    void enrolmentEnds()
    {
        QFETCH(QStringList, tool);
        QFETCH(uint, code);
        OpenReader fixture;
        QVERIFY(fixture.Prepare(tool));
        std::string enrolled;
        QCOMPARE(Enroll(fixture.session, &enrolled), code);
        QCOMPARE(enrolled.empty(), code != 0);
    }

    void matching_data()
    {
        QTest::addColumn<QString>("presented");
        QTest::addColumn<QString>("quality");
        QTest::addColumn<uint>("securityLevel");
        QTest::addColumn<bool>("matched");
        QTest::newRow("same finger") << u"alice-thumb"_s << u"80"_s << 5u << true;
        QTest::newRow("same finger, strictest level") << u"alice-thumb"_s << u"80"_s << 9u << true;
        QTest::newRow("another finger of hers") << u"alice-index"_s << u"80"_s << 5u << false;
        QTest::newRow("another finger, laxest level") << u"bob-thumb"_s << u"80"_s << 1u << false;
        QTest::newRow("poor image, laxest level") << u"alice-thumb"_s << u"40"_s << 1u << true;
        QTest::newRow("poor image, strictest level") << u"alice-thumb"_s << u"40"_s << 9u << false;
    }
    void matching()
    {
        QFETCH(QString, presented);
        QFETCH(QString, quality);
        QFETCH(uint, securityLevel);
        QFETCH(bool, matched);
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice-thumb"_s));
        QCOMPARE(SetSecurityLevel(fixture.session, securityLevel), 0u);

        const QStringList options{u"--quality"_s, quality};
        std::string captured;
        QVERIFY(fixture.reader.Place(presented, options));
        QCOMPARE(Capture(fixture.session, &captured), 0u);
        QCOMPARE(Matches(fixture.session, captured, fixture.enrolled), matched);

        QVERIFY(fixture.reader.Place(presented, options));
        int32_t verified = -1;
        const Input stored(fixture.enrolled);
        QCOMPARE(TrivAPI_Verify(fixture.session, &stored, &verified, nullptr, kWaitMs, nullptr, nullptr), 0u);
        QCOMPARE(verified, matched ? 1 : 0);
    }

    void templateTextIsOnePrintableLine()
    {
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice"_s));
        QVERIFY(!fixture.enrolled.empty());
        for (const char c : fixture.enrolled)
            QVERIFY2(c >= 0x20 && c < 0x7F, "only printable ASCII");
        // An enrolled template also stands as the captured side.
        QVERIFY(Matches(fixture.session, fixture.enrolled, fixture.enrolled));
    }

    void unreadableTemplates_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::newRow("empty") << u"empty"_s;
        QTest::newRow("not a template") << u"text"_s;
        QTest::newRow("prefix only") << u"prefix"_s;
        QTest::newRow("shortened") << u"shortened"_s;
        QTest::newRow("one character changed") << u"changed"_s;
        QTest::newRow("another reader's format") << u"lowercase"_s;
    }
    void unreadableTemplates()
    {
        QFETCH(QString, damage);
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice"_s));
        std::string text = fixture.enrolled;
        if (damage == u"empty")
            text.clear();
        else if (damage == u"text")
            text = "Alice's fingerprint";
        else if (damage == u"prefix")
            text = text.substr(0, text.find(':') + 1);
        else if (damage == u"shortened")
            text.resize(text.size() - 4);
        else if (damage == u"changed")
            text[text.size() / 2] = text[text.size() / 2] == 'A' ? 'B' : 'A';
        else
            text[0] = 't';

        // A match reported before must not survive the failure.
        int32_t matched = 1;
        TrivAPI_PAYLOAD payload{};
        const Input good(fixture.enrolled), bad(text);
        QCOMPARE(TrivAPI_VerifyMatch(fixture.session, &good, &bad, &matched, &payload), 8u);
        QCOMPARE(matched, 0);
        QCOMPARE(payload.length, 0u);
        QCOMPARE(TrivAPI_VerifyMatch(fixture.session, &bad, &good, &matched, &payload), 8u);

        // Verification refuses it before asking for a finger.
        QVERIFY(fixture.reader.Place(u"alice"_s));
        matched = 1;
        QCOMPARE(TrivAPI_Verify(fixture.session, &bad, &matched, &payload, kWaitMs, nullptr, nullptr), 8u);
        QCOMPARE(matched, 0);
        QCOMPARE(fixture.reader.PendingCount(), 1);
    }

    // The automation object passes a conversion buffer: the payload ends at its NUL, not at length.
    void payloadComesBackOnAMatchOnly_data()
    {
        QTest::addColumn<QByteArray>("buffer");
        QTest::addColumn<uint>("length");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("exact length") << QByteArray("emp-42") << 6u << QByteArray("emp-42");
        QTest::newRow("buffer longer than the text") << QByteArray("emp-42\0\0\0\0\0\0\0", 13) << 13u
                                                     << QByteArray("emp-42");
        QTest::newRow("length cuts the text") << QByteArray("emp-42") << 3u << QByteArray("emp");
        QTest::newRow("empty text") << QByteArray("\0\0\0", 3) << 3u << QByteArray();
    }
    void payloadComesBackOnAMatchOnly()
    {
        QFETCH(QByteArray, buffer);
        QFETCH(uint, length);
        QFETCH(QByteArray, stored);
        TrivAPI_PAYLOAD given{length, buffer.data()};
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice"_s, &given));

        for (const QString& finger : {u"alice"_s, u"bob"_s}) {
            std::string captured;
            QVERIFY(fixture.reader.Place(finger));
            QCOMPARE(Capture(fixture.session, &captured), 0u);
            int32_t matched = 0;
            TrivAPI_PAYLOAD payload{};
            const Input capturedInput(captured), storedInput(fixture.enrolled);
            QCOMPARE(TrivAPI_VerifyMatch(fixture.session, &capturedInput, &storedInput, &matched, &payload), 0u);
            const QByteArray expected = matched ? stored : QByteArray();
            QCOMPARE(matched, finger == u"alice" ? 1 : 0);
            QCOMPARE(payload.length, static_cast<uint32_t>(expected.size()));
            QCOMPARE(QByteArray(payload.data, payload.length), expected);
            QCOMPARE(payload.data == nullptr, expected.isEmpty());
            QCOMPARE(TrivAPI_FreePayload(fixture.session, &payload), 0u);
        }
    }

    void oversizedPayloadIsRefused()
    {
        OpenReader fixture;
        QVERIFY(fixture.Prepare({u"place"_s, u"alice"_s, u"--times"_s, u"2"_s}));
        QByteArray text(1025, 'x');
        TrivAPI_PAYLOAD given{static_cast<uint32_t>(text.size()), text.data()};
        QCOMPARE(Enroll(fixture.session, nullptr, &given), 5u);
        QCOMPARE(fixture.reader.PendingCount(), 2);
    }

    void initInfoOutOfRange_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<uint>("value");
        QTest::addColumn<uint>("code");
        QTest::newRow("structure type") << 0 << 1u << 5u;
        QTest::newRow("no fingers") << 1 << 0u << 5u;
        QTest::newRow("eleven fingers") << 1 << 11u << 5u;
        QTest::newRow("no samples") << 2 << 0u << 5u;
        QTest::newRow("time-out over ten minutes") << 3 << 600001u << 5u;
        QTest::newRow("no time-out") << 3 << 0u << 0u;
        QTest::newRow("enrol quality over 100") << 4 << 101u << 5u;
        QTest::newRow("verify quality 100") << 5 << 100u << 0u;
        QTest::newRow("security level 0") << 7 << 0u << 5u;
        QTest::newRow("security level 10") << 7 << 10u << 5u;
        QTest::newRow("security level 9") << 7 << 9u << 0u;
    }
    void initInfoOutOfRange()
    {
        QFETCH(int, field);
        QFETCH(uint, value);
        QFETCH(uint, code);
        SimReader reader;
        Session session;
        TrivAPI_INIT_INFO before{}, changed{}, after{};
        QCOMPARE(TrivAPI_GetInitInfo(session, 0, &before), 0u);
        changed = before;
        reinterpret_cast<uint32_t*>(&changed)[field] = value;
        QCOMPARE(TrivAPI_SetInitInfo(session, 0, &changed), code);
        QCOMPARE(TrivAPI_GetInitInfo(session, 0, &after), 0u);
        QVERIFY(std::memcmp(&after, code == 0 ? &changed : &before, sizeof after) == 0);
    }

    void defaultSettings()
    {
        SimReader reader(u"2"_s, 1234);
        Session session;
        TrivAPI_INIT_INFO info{};
        QCOMPARE(TrivAPI_GetInitInfo(session, 0, &info), 0u);
        QCOMPARE(info.captureTimeout, 1234u);
        QCOMPARE(info.securityLevel, 5u);
        QCOMPARE(info.samplesPerFinger, 2u);
    }

    void recordsAreFreedOnlyOnce()
    {
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice"_s));
        TrivAPI_FIR_HANDLE fir = 0;
        const Input input(fixture.enrolled);
        QCOMPARE(TrivAPI_Process(fixture.session, &input, &fir), 0u);
        TrivAPI_TEXT_FIR text{};
        QCOMPARE(TrivAPI_GetTextFIRFromHandle(fixture.session, fir, &text, 0), 0u);
        QCOMPARE(std::string(text.textFIR, text.length), fixture.enrolled);
        QCOMPARE(TrivAPI_FreeTextFIR(fixture.session, &text), 0u);
        QVERIFY(text.textFIR == nullptr && text.length == 0);
        QCOMPARE(TrivAPI_FreeTextFIR(fixture.session, &text), 0u);

        char foreign[] = "not the library's";
        TrivAPI_TEXT_FIR notOurs{3, foreign};
        QCOMPARE(TrivAPI_FreeTextFIR(fixture.session, &notOurs), 3u);
        QCOMPARE(notOurs.textFIR, foreign);

        QCOMPARE(TrivAPI_FreeFIRHandle(fixture.session, fir), 0u);
        QCOMPARE(TrivAPI_FreeFIRHandle(fixture.session, fir), 2u);
        QCOMPARE(TrivAPI_GetTextFIRFromHandle(fixture.session, fir, &text, 0), 2u);
        QCOMPARE(TrivAPI_OpenDevice(fixture.session.handle + 1000, 2), 2u);
    }

    void createTemplateJoinsFingers()
    {
        EnrolledReader fixture;
        QVERIFY(fixture.Enrol(u"alice-thumb"_s));
        std::string index, captured;
        QVERIFY(fixture.reader.Place(u"alice-index"_s, {u"--times"_s, u"2"_s}));
        QCOMPARE(Enroll(fixture.session, &index), 0u);

        const Input first(fixture.enrolled), second(index);
        TrivAPI_FIR_HANDLE joined = 0;
        QCOMPARE(TrivAPI_CreateTemplate(fixture.session, &first, &second, &joined, nullptr), 0u);
        const std::string both = TextAndFree(fixture.session, joined);
        for (const QString& finger : {u"alice-thumb"_s, u"alice-index"_s}) {
            QVERIFY(fixture.reader.Place(finger));
            QCOMPARE(Capture(fixture.session, &captured), 0u);
            QVERIFY(Matches(fixture.session, captured, both));
        }

        TrivAPI_INIT_INFO info{};
        TrivAPI_GetInitInfo(fixture.session, 0, &info);
        info.maxFingersForEnroll = 1;
        QCOMPARE(TrivAPI_SetInitInfo(fixture.session, 0, &info), 0u);
        QCOMPARE(TrivAPI_CreateTemplate(fixture.session, &first, &second, &joined, nullptr), 9u);
    }

    void toolRefusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no command") << QStringList();
        QTest::newRow("unknown command") << QStringList{u"press"_s};
        QTest::newRow("place without a finger") << QStringList{u"place"_s};
        QTest::newRow("quality over 100") << QStringList{u"place"_s, u"alice"_s, u"--quality"_s, u"101"_s};
        QTest::newRow("device 0") << QStringList{u"place"_s, u"alice"_s, u"--device"_s, u"0"_s};
        QTest::newRow("option without value") << QStringList{u"place"_s, u"alice"_s, u"--device"_s};
        QTest::newRow("unknown option") << QStringList{u"place"_s, u"alice"_s, u"--colour"_s, u"red"_s};
        QTest::newRow("control character in a name") << QStringList{u"place"_s, u"ali\tce"_s};
        QTest::newRow("reserved device id") << QStringList{u"config"_s, u"devices"_s, u"1,255"_s};
        QTest::newRow("negative time-out") << QStringList{u"config"_s, u"capture-timeout"_s, u"-1"_s};
    }
    void toolRefusesBadArguments()
    {
        QFETCH(QStringList, arguments);
        SimReader reader;
        QCOMPARE(reader.Run(arguments), 2);
        QCOMPARE(reader.PendingCount(), 0);
    }

    void toolTemplatesMatchCapturesOfTheirFinger()
    {
        OpenReader fixture;
        QString output;
        QCOMPARE(fixture.reader.Run({u"template"_s, u"alice"_s, u"bob"_s}, &output), 0);
        const auto lines = output.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 2);

        std::string captured;
        QVERIFY(fixture.Prepare({u"place"_s, u"bob"_s}));
        QCOMPARE(Capture(fixture.session, &captured), 0u);
        QVERIFY(!Matches(fixture.session, captured, lines[0].toStdString()));
        QVERIFY(Matches(fixture.session, captured, lines[1].toStdString()));
    }

    void configFileSetsTheReaders()
    {
        SimReader reader;
        qunsetenv("HORAVANT_SIM_DEVICES");
        QCOMPARE(reader.Run({u"config"_s, u"devices"_s, u"5,6"_s}), 0);
        Session session;
        QCOMPARE(Enumerate(session), (QList<uint16_t>{5, 6}));
        QCOMPARE(TrivAPI_OpenDevice(session, 6), 0u);
    }
};

QTEST_GUILESS_MAIN(TestTrivaneSim)
#include "tst_trivanesim.moc"
