#ifndef Q_MOC_RUN
#include "Variant.h"
#include "WideText.h"
#endif

#include <QTest>

using namespace automation;

Q_DECLARE_METATYPE(automation::Variant)

class TestVariant : public QObject {
  Q_OBJECT

private slots:
  // The conversions a late-bound call applies to its arguments.
  void conversions_data() {
    QTest::addColumn<automation::Variant>("value");
    QTest::addColumn<int>("intResult");
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("textResult");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << Variant() << S_OK << 0 << S_OK << QString();
    QTest::newRow("null") << Variant::Null() << DISP_E_TYPEMISMATCH << 0 << S_OK << QString();
    QTest::newRow("number") << Variant(-42) << S_OK << -42 << S_OK << QStringLiteral("-42");
    QTest::newRow("decimal text") << Variant(u" +17 ") << S_OK << 17 << S_OK << QStringLiteral(" +17 ");
    QTest::newRow("words") << Variant(u"two") << DISP_E_TYPEMISMATCH << 0 << S_OK << QStringLiteral("two");
    QTest::newRow("too large") << Variant(u"2147483648") << DISP_E_TYPEMISMATCH << 0 << S_OK
                               << QStringLiteral("2147483648");
    QTest::newRow("null pointer text") << Variant(static_cast<const char16_t*>(nullptr)) << DISP_E_TYPEMISMATCH << 0
                                       << S_OK << QString();
  }
  void conversions() {
    QFETCH(automation::Variant, value);
    QFETCH(int, intResult);
    QFETCH(int, number);
    QFETCH(int, textResult);
    QFETCH(QString, text);
    std::int32_t converted = 0;
    QCOMPARE(value.toInt32(&converted), intResult);
    if (intResult == S_OK) QCOMPARE(converted, number);
    std::u16string convertedText = u"unchanged";
    QCOMPARE(value.toText(&convertedText), textResult);
    QCOMPARE(QString::fromStdU16String(convertedText), text);
  }

  void byReferenceSeesTheCallersText() {
    std::u16string text = u"a";
    const Variant reference = Variant::ByRef(text);
    const Variant copy = reference;
    QCOMPARE(reference.type(), Variant::Type::TextRef);
    QVERIFY(reference.isText() && reference.isByRef());
    text = u"changed";
    QCOMPARE(copy.text(), std::u16string(u"changed"));
    QCOMPARE(copy.textRef(), &text);
    QVERIFY(copy == reference);
    QVERIFY(!(Variant(u"changed") == reference));
  }

  void wideAndNarrowText_data() {
    QTest::addColumn<QString>("wide");
    QTest::addColumn<QByteArray>("narrow");
    QTest::newRow("ASCII") << QStringLiteral("TRVSIM1:abc+/=") << QByteArray("TRVSIM1:abc+/=");
    QTest::newRow("Latin") << QStringLiteral("Peña") << QByteArray("Pe\xc3\xb1" "a");
    QTest::newRow("euro") << QStringLiteral("€") << QByteArray("\xe2\x82\xac");
    QTest::newRow("outside the BMP") << QString::fromUcs4(U"\U0001F600") << QByteArray("\xf0\x9f\x98\x80");
  }
  void wideAndNarrowText() {
    QFETCH(QString, wide);
    QFETCH(QByteArray, narrow);
    QCOMPARE(QByteArray::fromStdString(NarrowFromWide(wide.toStdU16String())), narrow);
    QCOMPARE(QString::fromStdU16String(WideFromNarrow(narrow.toStdString())), wide);
  }

  void invalidInputBecomesReplacementCharacters_data() {
    QTest::addColumn<QByteArray>("narrow");
    QTest::addColumn<QString>("wide");
    QTest::newRow("stray continuation") << QByteArray("a\x80z") << QStringLiteral("a\uFFFDz");
    QTest::newRow("truncated sequence") << QByteArray("a\xe2\x82") << QStringLiteral("a\uFFFD");
    QTest::newRow("overlong slash") << QByteArray("\xc0\xaf") << QStringLiteral("\uFFFD");
    QTest::newRow("encoded surrogate") << QByteArray("\xed\xa0\x80") << QStringLiteral("\uFFFD");
  }
  void invalidInputBecomesReplacementCharacters() {
    QFETCH(QByteArray, narrow);
    QFETCH(QString, wide);
    QCOMPARE(QString::fromStdU16String(WideFromNarrow(narrow.toStdString())), wide);
  }

  void loneSurrogateBecomesReplacementCharacter() {
    const std::u16string lone{u'a', char16_t(0xD800), u'b'};
    QCOMPARE(QByteArray::fromStdString(NarrowFromWide(lone)), QByteArray("a\xef\xbf\xbd" "b"));
  }
};

QTEST_GUILESS_MAIN(TestVariant)
#include "tst_variant.moc"
