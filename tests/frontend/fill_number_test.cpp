#include <QtTest>

#include "fill_number.h"

class FillNumberTest : public QObject {
    Q_OBJECT

  private slots:
    void manualFillNumber_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("number");  // -100000: refused as out of range
        QTest::newRow("zero") << "0" << 0;
        QTest::newRow("byte") << "255" << 255;
        QTest::newRow("empty") << "" << 0;
        QTest::newRow("letters") << "abc" << 0;
        QTest::newRow("negative") << "-1" << -1;
        QTest::newRow("plus") << "+7" << 7;
        QTest::newRow("blanks") << " \t 12" << 12;
        QTest::newRow("trailing text") << "12abc" << 12;
        QTest::newRow("inner blank") << "1 2" << 1;
        QTest::newRow("hex") << "0x10" << 16;
        QTest::newRow("hex upper") << "0XfF" << 255;
        QTest::newRow("negative hex") << "-0x10" << -16;
        QTest::newRow("hex without digits") << "0x" << 0;
        QTest::newRow("hex then letters") << "0x1g" << 1;
        QTest::newRow("half to even down") << "2.5" << 2;
        QTest::newRow("half to even up") << "3.5" << 4;
        QTest::newRow("negative half") << "-0.5" << 0;
        QTest::newRow("fraction") << "2.51" << 3;
        QTest::newRow("leading point") << ".75" << 1;
        QTest::newRow("lone point") << "." << 0;
        QTest::newRow("exponent") << "1e3" << 1000;
        QTest::newRow("negative exponent") << "25E-1" << 2;
        QTest::newRow("exponent without digits") << "7e" << 7;
        QTest::newRow("largest") << "32767" << 32767;
        QTest::newRow("smallest") << "-32768" << -32768;
        QTest::newRow("smallest half") << "-32768.5" << -32768;
        QTest::newRow("too large") << "32768" << -100000;
        QTest::newRow("too large by rounding") << "32767.5" << -100000;
        QTest::newRow("too small") << "-32769" << -100000;
        QTest::newRow("40000") << "40000" << -100000;
        QTest::newRow("hex too large") << "0x8000" << -100000;
        QTest::newRow("huge exponent") << "1e400" << -100000;
        QTest::newRow("huge mantissa") << QString(400, u'9') << -100000;
        QTest::newRow("tiny exponent") << "1e-400" << 0;
        QTest::newRow("negative tiny") << "-1e-400" << 0;
        QTest::newRow("tiny fraction") << "0." + QString(330, u'0') + "1" << 0;
        QTest::newRow("endless exponent") << "1e-99999999999999999999999" << 0;
        QTest::newRow("endless positive exponent") << "1e99999999999999999999999" << -100000;
    }
    void manualFillNumber() {
        QFETCH(QString, text);
        QFETCH(int, number);
        const std::optional<qint16> result = quillet::manualFillNumber(text);
        if (number == -100000) {
            QVERIFY(!result.has_value());
        } else {
            QVERIFY(result.has_value());
            QCOMPARE(int(*result), number);
        }
    }
};

QTEST_APPLESS_MAIN(FillNumberTest)
#include "fill_number_test.moc"
