// Form1, the program's one window: a keypad of sixteen hexadecimal keys that
// write their seven-segment pattern to the parallel port, a text box with
// "Sacar Dato" to write a typed byte, and "Salir".
#pragma once

#include "port/port_output.h"

#include <QWidget>

#include <cstddef>

namespace pp {

struct ControlDescription;

class Form1 : public QWidget {
    Q_OBJECT

public:
    // Builds the window and its controls; writes nothing to `port`.
    explicit Form1(PortOutput& port, QWidget* parent = nullptr);

    // Shows the window centred on its screen with the focus on "Sacar Dato".
    void showCentred();

private:
    QWidget* createControl(const ControlDescription& control);
    void keyClicked(std::size_t digit);
    void sacarDatoClicked();

    // Runs a handler that writes to the port. Without a port the program
    // cannot do anything useful: the cause is shown and the program ends.
    template <typename Handler> void writing(Handler&& handler);
    void portUnavailable(const PortUnavailable& failure);

    PortOutput& port_;
};

} // namespace pp
