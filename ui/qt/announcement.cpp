#include "ui/qt/announcement.h"

#include <QAccessible>
#include <QWidget>
#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 8, 0)
#include <QAccessibleWidget>
#endif

namespace pp {

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)

void Announce(QWidget& window, const QString& text) {
    QAccessibleAnnouncementEvent event(&window, text);
    QAccessible::updateAccessibility(&event);
}

#else

// Qt before 6.8 has no announcement, and screen readers leave unsaid a name,
// value or text that changes away from the focus. What Orca does speak is an
// object of the notification role that becomes shown: a child of the window
// of no size, which draws nothing, named with the text and shown again.
namespace {

const QString NotificationName = QStringLiteral("pp-notificacion");

class NotificationAccessible final : public QAccessibleWidget {
public:
    explicit NotificationAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
};

QAccessibleInterface* notificationFactory(const QString& /*className*/, QObject* object) {
    auto* widget = qobject_cast<QWidget*>(object);
    if (widget == nullptr || widget->objectName() != NotificationName) {
        return nullptr;
    }
    return new NotificationAccessible(widget);
}

} // namespace

void Announce(QWidget& window, const QString& text) {
    auto* notification = window.findChild<QWidget*>(NotificationName, Qt::FindDirectChildrenOnly);
    if (notification == nullptr) {
        static const bool installed = [] {
            QAccessible::installFactory(notificationFactory);
            return true;
        }();
        (void)installed;
        notification = new QWidget(&window);
        notification->setObjectName(NotificationName);
        notification->setGeometry(0, 0, 0, 0);
        notification->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    notification->hide();
    notification->setAccessibleName(text);
    notification->show();
}

#endif

} // namespace pp
