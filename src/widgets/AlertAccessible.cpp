#include "AlertAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QSet>
#include <QString>
#include <QWidget>

namespace {

QSet<QString>& AlertClasses() {
  static QSet<QString> classes;
  return classes;
}

QAccessibleInterface* AlertAccessible(const QString& className, QObject* object) {
  if (object == nullptr || !object->isWidgetType() || !AlertClasses().contains(className))
    return nullptr;
  return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::AlertMessage);
}

TAlertListener& Listener() {
  static TAlertListener listener = nullptr;
  return listener;
}

}  // namespace

void ExposeClassAsAlert(const char* className) {
  if (AlertClasses().isEmpty()) QAccessible::installFactory(AlertAccessible);
  AlertClasses().insert(QString::fromLatin1(className));
}

void AnnounceAlert(QWidget* alert) {
  QAccessibleEvent event(alert, QAccessible::Alert);
  QAccessible::updateAccessibility(&event);
  if (Listener() != nullptr) Listener()(alert);
}

void SetAlertListener(TAlertListener listener) {
  Listener() = listener;
}
