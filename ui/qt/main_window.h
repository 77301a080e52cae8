// Form1, the program's one window: a keypad of sixteen hexadecimal keys that
// write their seven-segment pattern to the parallel port, a text box with
// "Sacar Dato" to write a typed byte, and "Salir".
#pragma once

#include "core/window_operations.h"
#include "port/port_output.h"

#include <QWidget>

#include <cstddef>
#include <string>
#include <string_view>

class QLineEdit;
class QPushButton;

namespace pp {

struct ControlDescription;

class Form1 : public QWidget, private WindowOperations {
    Q_OBJECT

public:
    // Builds the window and its controls; writes nothing to `port`.
    explicit Form1(PortOutput& port, QWidget* parent = nullptr);

    // Where the window, with a frame of `frame` around it, stands centred on
    // its screen: the frame's outer rectangle.
    QRect centredGeometry(const QMargins& frame = {}) const;
    // Shows the window centred on its screen with the focus on "Sacar Dato":
    // the whole window, its frame included, once the window manager has
    // framed it (where the window system lets a program place its window).
    void showCentred();

protected:
    bool event(QEvent* event) override;

private:
    QWidget* createControl(const ControlDescription& control);
    void connectClick(QPushButton* button, const ControlDescription& control);
    void keyClicked(std::size_t digit);
    void sacarDatoClicked();

    std::string ReadText() override;
    void SetText(std::string_view text) override;
    void ShowMessage(std::string_view text) override;

    // Runs a handler that writes to the port. A byte that could not be
    // written is reported and the program goes on; without a port at all the
    // program cannot do anything useful: the cause is shown and it ends.
    template <typename Handler> void writing(Handler&& handler);
    void byteNotWritten(const PortWriteFailed& failure);
    void portUnavailable(const PortUnavailable& failure);

    PortOutput& port_;
    QLineEdit* text1_ = nullptr;
    bool centring_ = false; // shown centred, its frame not yet known
};

} // namespace pp
