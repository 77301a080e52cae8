#include "ui/port_display.h"

#include "core/keypad.h"
#include "port/demo_port.h"
#include "ui/announcement.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <iterator>

namespace pp {

namespace {

// The digit occupies a 90 x 150 box whose top-left corner is DigitOrigin;
// segments are hexagons 14 px thick, as on a real display.
constexpr QPoint DigitOrigin(45, 12);
constexpr int DigitWidth = 90;
constexpr int DigitHeight = 150;
constexpr int Thickness = 14;

// The lamps sit in a row below the digit, D7 first, with their labels under.
constexpr int LampTop = 190;
constexpr int LampSpacing = 22;
constexpr int LampLeft = 13;
constexpr int LampRadius = 8;

constexpr int WidgetWidth = (2 * LampLeft) + (7 * LampSpacing);
constexpr int WidgetHeight = LampTop + (2 * LampRadius) + 22;

QPolygonF horizontal(QPointF left, qreal length) {
    const qreal h = Thickness / 2.0;
    return QPolygonF({left, left + QPointF(h, -h), left + QPointF(length - h, -h),
                      left + QPointF(length, 0), left + QPointF(length - h, h),
                      left + QPointF(h, h)});
}

QPolygonF vertical(QPointF top, qreal length) {
    const qreal h = Thickness / 2.0;
    return QPolygonF({top, top + QPointF(h, h), top + QPointF(h, length - h),
                      top + QPointF(0, length), top + QPointF(-h, length - h),
                      top + QPointF(-h, h)});
}

// Segments a-g, each a little shorter than the gap between its ends.
std::array<QPolygonF, 7> segments() {
    const QPointF o = DigitOrigin;
    const qreal w = DigitWidth;
    const qreal half = DigitHeight / 2.0;
    const qreal gap = 2;
    return {
        horizontal(o + QPointF(gap, 0), w - (2 * gap)),         // a
        vertical(o + QPointF(w, gap), half - (2 * gap)),        // b
        vertical(o + QPointF(w, half + gap), half - (2 * gap)), // c
        horizontal(o + QPointF(gap, 2 * half), w - (2 * gap)),  // d
        vertical(o + QPointF(0, half + gap), half - (2 * gap)), // e
        vertical(o + QPointF(0, gap), half - (2 * gap)),        // f
        horizontal(o + QPointF(gap, half), w - (2 * gap)),      // g
    };
}

QPoint pointCentre() {
    return DigitOrigin + QPoint(DigitWidth + 18, DigitHeight);
}

const QString ReadingName = QStringLiteral("DisplayReading");

// The display to assistive technology: a text, its reading, and a value, the
// byte, 0-255, that it cannot change.
class ReadingAccessible final : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ReadingAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) {
            return static_cast<QAccessibleValueInterface*>(this);
        }
        return QAccessibleWidget::interface_cast(type);
    }

    QVariant currentValue() const override {
        return static_cast<const PortDisplay*>(widget()->parentWidget())->byte();
    }
    void setCurrentValue(const QVariant& /*value*/) override {}
    QVariant maximumValue() const override { return 255; }
    QVariant minimumValue() const override { return 0; }
    QVariant minimumStepSize() const override { return 1; }
};

QAccessibleInterface* readingFactory(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || widget->objectName() != ReadingName ||
        qobject_cast<PortDisplay*>(widget->parentWidget()) == nullptr) {
        return nullptr;
    }
    return new ReadingAccessible(widget);
}

} // namespace

PortDisplay::PortDisplay(const QString& port, QWidget* parent)
    : QWidget(parent), reading_(new QWidget(this)) {
    static const bool installed = [] {
        QAccessible::installFactory(readingFactory);
        return true;
    }();
    (void)installed;
    setObjectName(QStringLiteral("PortDisplay"));
    setWindowTitle(QStringLiteral("Display del puerto %1 (simulado)").arg(port));
    setFixedSize(WidgetWidth, WidgetHeight);
    // Closing it leaves the program running; closing Form1 ends both.
    setAttribute(Qt::WA_QuitOnClose, false);
    reading_->setObjectName(ReadingName);
    reading_->setGeometry(rect());
    reading_->setAttribute(Qt::WA_TransparentForMouseEvents);
    reading_->setAccessibleName(reading(byte_));
}

void PortDisplay::showByte(PortByte value) {
    byte_ = value;
    update();
    const QString words = reading(value);
    reading_->setAccessibleName(words);
    QAccessibleValueChangeEvent changed(reading_, value);
    QAccessible::updateAccessibility(&changed);
    Announce(*this, words);
}

QString PortDisplay::reading(PortByte value) {
    QString words =
        QStringLiteral("0x") + QString::number(value, 16).rightJustified(2, u'0').toUpper();
    const auto digit = std::ranges::find(SegmentCode, value) - SegmentCode.begin();
    if (digit < std::ssize(SegmentCode)) {
        // "b" and "d" as the display draws them.
        const QString shown = QString::number(digit, 16);
        words +=
            QStringLiteral(", muestra ") +
            (shown == QLatin1String("b") || shown == QLatin1String("d") ? shown : shown.toUpper());
    }
    QString segments;
    for (int line = 0; line < 8; ++line) {
        if (((value >> line) & 1) != 0) {
            segments += (segments.isEmpty() ? QString() : QStringLiteral(" ")) +
                        (line == 7 ? QStringLiteral("punto") : QString(QChar(u'a' + line)));
        }
    }
    return words + QStringLiteral(". Segmentos encendidos: ") +
           (segments.isEmpty() ? QStringLiteral("ninguno") : segments) +
           QStringLiteral(". Líneas altas: ") + QString::fromStdString(HighLines(value)) +
           QLatin1Char('.');
}

QPoint PortDisplay::segmentCentre(int line) {
    if (line == 7) {
        return pointCentre();
    }
    return segments().at(static_cast<std::size_t>(line)).boundingRect().center().toPoint();
}

QPoint PortDisplay::lampCentre(int line) {
    return {LampLeft + ((7 - line) * LampSpacing), LampTop + LampRadius};
}

QColor PortDisplay::litColour() {
    return {255, 32, 32};
}

QColor PortDisplay::unlitColour() {
    return {70, 24, 24};
}

void PortDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(24, 24, 24));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const auto shapes = segments();
    for (int line = 0; line < 7; ++line) {
        painter.setBrush(isLineHigh(line) ? litColour() : unlitColour());
        painter.drawPolygon(shapes.at(static_cast<std::size_t>(line)));
    }
    painter.setBrush(isLineHigh(7) ? litColour() : unlitColour());
    painter.drawEllipse(pointCentre(), Thickness / 2, Thickness / 2);

    QFont font = painter.font();
    font.setPointSize(8);
    painter.setFont(font);
    for (int line = 7; line >= 0; --line) {
        const QPoint centre = lampCentre(line);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isLineHigh(line) ? litColour() : unlitColour());
        painter.drawEllipse(centre, LampRadius, LampRadius);
        painter.setPen(QColor(200, 200, 200));
        const QRect label(centre.x() - (LampSpacing / 2), centre.y() + LampRadius + 2, LampSpacing,
                          14);
        painter.drawText(label, Qt::AlignCenter, QStringLiteral("D%1").arg(line));
    }
}

} // namespace pp
