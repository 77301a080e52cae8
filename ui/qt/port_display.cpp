#include "ui/qt/port_display.h"

#include "ui/port_display_drawing.h"
#include "ui/qt/announcement.h"

#include <QAccessible>
#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QPainter>
#include <QPolygonF>

namespace pp {

namespace {

QPointF qpoint(display::Point point) {
    return {point.x, point.y};
}

QColor qcolour(display::Colour colour) {
    return {colour.red, colour.green, colour.blue};
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
    setWindowTitle(QString::fromStdString(display::Title(port.toStdString())));
    setFixedSize(display::Width, display::Height);
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
    return QString::fromStdString(display::Reading(value));
}

QPoint PortDisplay::segmentCentre(int line) {
    return qpoint(display::SegmentCentre(line)).toPoint();
}

QPoint PortDisplay::lampCentre(int line) {
    return qpoint(display::LampCentre(line)).toPoint();
}

QColor PortDisplay::litColour() {
    return qcolour(display::Lit);
}

QColor PortDisplay::unlitColour() {
    return qcolour(display::Unlit);
}

void PortDisplay::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), qcolour(display::Background));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);

    const auto shapes = display::Segments();
    for (int line = 0; line < 7; ++line) {
        QPolygonF polygon;
        for (const display::Point corner : shapes.at(static_cast<std::size_t>(line))) {
            polygon << qpoint(corner);
        }
        painter.setBrush(isLineHigh(line) ? litColour() : unlitColour());
        painter.drawPolygon(polygon);
    }
    painter.setBrush(isLineHigh(7) ? litColour() : unlitColour());
    painter.drawEllipse(qpoint(display::SegmentCentre(7)), display::PointRadius,
                        display::PointRadius);

    QFont font = painter.font();
    font.setPointSize(display::LabelPoints);
    painter.setFont(font);
    for (int line = 7; line >= 0; --line) {
        const QPoint centre = lampCentre(line);
        painter.setPen(Qt::NoPen);
        painter.setBrush(isLineHigh(line) ? litColour() : unlitColour());
        painter.drawEllipse(centre, display::LampRadius, display::LampRadius);
        painter.setPen(qcolour(display::LabelColour));
        const QRect label(centre.x() - (display::LampSpacing / 2),
                          centre.y() + display::LampRadius + display::LabelGap,
                          display::LampSpacing, display::LabelHeight);
        painter.drawText(label, Qt::AlignCenter, QStringLiteral("D%1").arg(line));
    }
}

} // namespace pp
