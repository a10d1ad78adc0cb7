// Windows and panels a screen reader takes for alerts: the message box and the notices
// that appear on their own. Qt gives its own message box that role; ours and the
// notices get it here.
#pragma once

class QWidget;

// Exposes every widget of class className (a class with Q_OBJECT) with the alert role.
void ExposeClassAsAlert(const char* className);

// Tells screen readers that alert has just appeared, as Qt's message box does, and
// the listener, when one is set.
void AnnounceAlert(QWidget* alert);

// Who else hears of each alert (a log; a test, where no screen reader listens).
using TAlertListener = void (*)(QWidget* alert);
void SetAlertListener(TAlertListener listener);
