// The demo's simulated display, offscreen: exactly the segments and lamps of
// the last byte written are lit, in its state and in its pixels.
#include "ui/qt/port_display.h"

#include "tests/support/recording_port.h"
#include "ui/qt/main_window.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTest>

#include <cstddef>
#include <set>
#include <utility>

using pp::PortByte;
using pp::PortDisplay;

namespace {

// The colour drawn at the middle of each segment and each lamp.
void expectPixels(PortDisplay& display, PortByte value) {
    const QImage image = display.grab().toImage();
    for (int line = 0; line < 8; ++line) {
        const bool high = ((value >> line) & 1) != 0;
        const QColor expected = high ? PortDisplay::litColour() : PortDisplay::unlitColour();
        const QByteArray where = QByteArray("byte 0x") + QByteArray::number(value, 16) + " line D" +
                                 QByteArray::number(line);
        QVERIFY2(image.pixelColor(display.segmentCentre(line)) == expected, where + " segment");
        QVERIFY2(image.pixelColor(display.lampCentre(line)) == expected, where + " lamp");
    }
}

} // namespace

class PortDisplayTest : public QObject {
    Q_OBJECT

private slots:
    void startsWithEveryLineLow() {
        PortDisplay display;
        QCOMPARE(display.byte(), PortByte{0});
        for (int line = 0; line < 8; ++line) {
            QVERIFY(!display.isLineHigh(line));
        }
        expectPixels(display, 0);
    }

    void lightsExactlyTheLinesOfTheLastByte() {
        PortDisplay display;
        display.show();
        QVERIFY(QTest::qWaitForWindowExposed(&display));
        // "A", the decimal point alone, everything, "1", then nothing again.
        for (PortByte value : {0x77, 0x80, 0xFF, 0x06, 0x00, 0x5B}) {
            display.showByte(value);
            QCOMPARE(display.byte(), value);
            for (int line = 0; line < 8; ++line) {
                QCOMPARE(display.isLineHigh(line), ((value >> line) & 1) != 0);
            }
            expectPixels(display, value);
        }
    }

    // What a screen reader reads of the display, in words and as a value.
    void aScreenReaderReadsTheLastByte_data() {
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("words");
        QTest::newRow("A") << 0x77
                           << "0x77, muestra A. Segmentos encendidos: a b c e f g. Líneas altas: "
                              "D0 D1 D2 D4 D5 D6.";
        QTest::newRow("b, drawn lower-case") << 0x7C
                                             << "0x7C, muestra b. Segmentos encendidos: c d e f g. "
                                                "Líneas altas: D2 D3 D4 D5 D6.";
        QTest::newRow("no digit, the point") << 0xC8
                                             << "0xC8. Segmentos encendidos: d g punto. Líneas "
                                                "altas: D3 D6 D7.";
        QTest::newRow("dark") << 0x00
                              << "0x00. Segmentos encendidos: ninguno. Líneas altas: ninguna.";
    }
    void aScreenReaderReadsTheLastByte() {
        QFETCH(int, value);
        QFETCH(QString, words);
        PortDisplay display;
        display.show();
        display.showByte(static_cast<PortByte>(value));
        QAccessibleInterface* window = QAccessible::queryAccessibleInterface(&display);
        QAccessibleInterface* reading = nullptr;
        for (int child = 0; child < window->childCount(); ++child) {
            if (window->child(child)->role() == QAccessible::StaticText) {
                reading = window->child(child);
            }
        }
        QVERIFY(reading != nullptr);
        QCOMPARE(reading->text(QAccessible::Name), words);
        QCOMPARE(reading->valueInterface()->currentValue().toInt(), value);
        QCOMPARE(reading->valueInterface()->minimumValue().toInt(), 0);
        QCOMPARE(reading->valueInterface()->maximumValue().toInt(), 255);
    }

    void segmentsAndLampsAreDrawnApart() {
        PortDisplay display;
        std::set<std::pair<int, int>> places;
        for (int line = 0; line < 8; ++line) {
            for (const QPoint& place : {display.segmentCentre(line), display.lampCentre(line)}) {
                QVERIFY(display.rect().contains(place));
                places.emplace(place.x(), place.y());
            }
        }
        QCOMPARE(places.size(), std::size_t{16});
        // D7 is the leftmost lamp.
        QVERIFY(display.lampCentre(7).x() < display.lampCentre(0).x());
    }

    void showsWhatForm1WritesAfterItIsWritten() {
        pp::testing::RecordingPort printer;
        PortDisplay display;
        pp::DisplayingPort port(printer, display);
        pp::Form1 form(port);
        form.showCentred();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        QCOMPARE(display.byte(), PortByte{0});
        QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Command14")),
                          Qt::LeftButton);
        QCOMPARE(printer.writes, std::vector<PortByte>{0x77});
        QCOMPARE(display.byte(), PortByte{0x77});
    }
};

QTEST_MAIN(PortDisplayTest)
#include "port_display_test.moc"
