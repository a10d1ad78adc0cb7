// Driving real widgets: acting on a modal dialog from inside the event loop its exec()
// runs, finding controls by name, and typing any text.
#pragma once

#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

// Once a modal dialog is open, runs action on it; closes the dialog afterwards if
// action left it open, so that a failing test cannot block.
inline void WhenModalOpens(std::function<void(QWidget*)> action) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(1);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, action] {
    QPointer<QWidget> modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    // As for a user: the dialog is the active window, so focus moves as it would.
    modal->activateWindow();
    if (!QTest::qWaitForWindowActive(modal)) ADD_FAILURE() << "the dialog never became active";
    action(modal);
    if (modal && modal->isVisible()) modal->close();
  });
  timer->start();
}

// The child of dialog with this object name, or nullptr.
template <typename T>
T* Child(QWidget* dialog, const char* name) {
  return dialog->findChild<T*>(QLatin1String(name));
}

// Types text into widget one key at a time; unlike QTest::keyClicks, characters
// outside Latin-1 arrive as they are.
inline void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text)
    QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
