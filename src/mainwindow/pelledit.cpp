// The editor's program entry: pelledit /F|/FAS DATAFILE
#include <QApplication>
#include <QProxyStyle>

#include "MainWindow.h"
#include "MessageBox.h"
#include "QtTranslations.h"

namespace {

// Hints come quickly and go after two seconds, across the whole application.
class THintTiming : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == SH_ToolTip_WakeUpDelay) return 100;
    if (hint == SH_ToolTip_FallAsleepDelay) return 10;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("pelledit"));
  QApplication::setStyle(new THintTiming);
  InstallQtJapanese();

  TMainWindow form;
  if (!form.FormCreate(QApplication::arguments())) {
    ShowMessageAt(QStringLiteral("パラメーターが正しくない為終了します"), ApplicationTitle(), mbOK,
                  TMsgType::Plain, 0, 0);
    return 1;
  }
  form.show();
  return QApplication::exec();
}
