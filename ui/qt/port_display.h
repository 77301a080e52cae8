// The demo's picture of the port: what a seven-segment display wired to
// D0-D7 would show (segments a-g on D0-D6, the decimal point on D7), and a
// row of lamps, one per data line, D7 on the left. A screen reader reads the
// same in words, and as a value 0-255, and says it each time a byte is
// written.
#pragma once

#include "port/port_output.h"
#include "ui/displaying_port.h"

#include <QWidget>

namespace pp {

class PortDisplay : public QWidget {
    Q_OBJECT

public:
    // Starts with every line low; its title names the simulated `port`.
    explicit PortDisplay(const QString& port = QStringLiteral("0x378"), QWidget* parent = nullptr);

    // Shows the lines of a byte just written to the port, and announces them.
    void showByte(PortByte value);

    // The display in words: "0x77, muestra A. Segmentos encendidos: a b c e
    // f g. Líneas altas: D0 D1 D2 D4 D5 D6."
    static QString reading(PortByte value);

    PortByte byte() const { return byte_; }
    bool isLineHigh(int line) const { return ((byte_ >> line) & 1) != 0; }

    // Where segment `line` (0-6 for a-g, 7 for the point) and the lamp of
    // data line `line` are drawn, in widget coordinates.
    static QPoint segmentCentre(int line);
    static QPoint lampCentre(int line);

    static QColor litColour();
    static QColor unlitColour();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    PortByte byte_ = 0;
    // What assistive technology reads: covers the display, draws nothing.
    QWidget* reading_;
};

} // namespace pp
