// puerto-paralelo-demo's two windows, offscreen: a click prints its line and
// lights the display, and closing Form1 ends the application although the
// display is still open.
#include "ui/qt/application.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <sstream>
#include <string>

class DemoWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void clickPrintsAndLightsThenClosingForm1EndsBoth() {
        std::ostringstream out;
        pp::DemoWindows demo(out);
        demo.show();
        QVERIFY(QTest::qWaitForWindowExposed(&demo.form()));
        QVERIFY(demo.display().isVisible());
        QVERIFY(demo.display().windowTitle() != demo.form().windowTitle());
        QCOMPARE(demo.display().byte(), pp::PortByte{0});

        QTest::mouseClick(demo.form().findChild<QPushButton*>(QStringLiteral("Command11")),
                          Qt::LeftButton);
        QCOMPARE(out.str(),
                 std::string("0x378 <- 0x7F  0b01111111  líneas altas: D0 D1 D2 D3 D4 D5 D6\n"));
        QCOMPARE(demo.display().byte(), pp::PortByte{0x7F});

        // The event loop must end when Form1 closes; should the display keep
        // it alive, the guard ends it with another status.
        QTimer::singleShot(0, &demo.form(), [&] { demo.form().close(); });
        QTimer::singleShot(5000, [] { QCoreApplication::exit(2); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!demo.form().isVisible());
    }

    void theChosenPortIsNamedInTheLinesAndTheDisplay() {
        const struct {
            pp::PortChoice port;
            const char* label;
            const char* line;
        } cases[] = {{{}, "0x378", "0x378 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6\n"},
                     {pp::IoAddress{0xD010}, "0xD010",
                      "0xD010 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6\n"},
                     {pp::DeviceNode{"/dev/parport1"}, "/dev/parport1",
                      "/dev/parport1 <- 0x77  0b01110111  líneas altas: D0 D1 D2 D4 D5 D6\n"}};
        for (const auto& c : cases) {
            std::ostringstream out;
            pp::DemoWindows demo(out, c.port);
            QCOMPARE(
                demo.display().windowTitle(),
                QStringLiteral("Display del puerto %1 (simulado)").arg(QLatin1String(c.label)));
            demo.form().findChild<QPushButton*>(QStringLiteral("Command14"))->click();
            QCOMPARE(out.str(), std::string(c.line));
        }
    }
};

QTEST_MAIN(DemoWindowsTest)
#include "demo_windows_test.moc"
