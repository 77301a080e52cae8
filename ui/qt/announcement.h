// Saying something to a screen reader without moving the focus, as the demo's
// display does with each byte it shows.
#pragma once

class QString;
class QWidget;

namespace pp {

// Has assistive technology (Orca through AT-SPI, Narrator through UI
// Automation) say `text` once, about `window`, wherever the focus is.
void Announce(QWidget& window, const QString& text);

} // namespace pp
