#include "ui/qt/quiet_move.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QLibraryInfo>

namespace ui::qt {

namespace {

QuietMove* current = nullptr; // the move kept quiet now, if any

} // namespace

QuietMove::QuietMove(QWidget* widget) : widget_(widget) {
    if (current || !needed() || !QAccessible::isActive()) return;
    current = this;
    installed_ = true;
    previous_ = QAccessible::installUpdateHandler(keepQuiet);
}

void QuietMove::end() {
    if (!installed_) return;
    installed_ = false;
    current = nullptr;
    QAccessible::installUpdateHandler(previous_);
}

void QuietMove::endFor(const QWidget* widget) {
    if (current && current->widget_ == widget) current->end();
}

bool QuietMove::needed() {
    const QVersionNumber qt = QLibraryInfo::version();
    return qt.majorVersion() == 6 && qt.minorVersion() == 4;
}

void QuietMove::keepQuiet(QAccessibleEvent* event) {
    if (event->type() == QAccessible::ValueChanged && current &&
        event->object() == current->widget_.data())
        return;
    const QAccessible::UpdateHandler next = current ? current->previous_ : nullptr;
    if (next) return next(event);
    // No handler before ours: Qt's own, reached with ours out of the way for the call.
    QAccessible::installUpdateHandler(nullptr);
    QAccessible::updateAccessibility(event);
    QAccessible::installUpdateHandler(keepQuiet);
}

void describeAnew(QWidget* widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    if (!accessible) return;
    // The bridge's own connection and its name for the object, as Qt 6.4 sends its events.
    const QDBusConnection bus(QStringLiteral("a11y"));
    if (!QuietMove::needed() || !bus.isConnected()) {
        QAccessibleEvent event(widget, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&event);
        return;
    }
    QDBusMessage change = QDBusMessage::createSignal(
        QStringLiteral("/org/a11y/atspi/accessible/") +
            QString::number(QAccessible::uniqueId(accessible)),
        QStringLiteral("org.a11y.atspi.Event.Object"), QStringLiteral("PropertyChange"));
    change << QStringLiteral("accessible-description") << 0 << 0
           << QVariant::fromValue(QDBusVariant(accessible->text(QAccessible::Description)))
           << QVariantMap();
    bus.send(change);
}

} // namespace ui::qt
