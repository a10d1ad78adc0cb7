#include "ScriptedDialogs.h"

#include <algorithm>
#include <string>

#include "FolderBrowser.h"
#include "Progress.h"
#include "ProgressBox.h"

namespace {

std::string Describe(const TAskedQuestion& question) {
  static const char* const kKinds[] = {"message box",   "number input",  "text input",
                                       "choice input",  "open chooser",  "save chooser",
                                       "progress wait", "folder chooser"};
  return std::string(kKinds[static_cast<int>(question.Kind)]) + " \"" +
         question.Caption.toStdString() + "\" (" + question.Text.toStdString() + ")";
}

TAskedQuestion Asked(TQuestionKind kind, const QString& caption, const QString& text, int x,
                     int y) {
  TAskedQuestion question;
  question.Kind = kind;
  question.Caption = caption;
  question.Text = text;
  question.X = x;
  question.Y = y;
  return question;
}

bool Offers(unsigned buttons, int result) {
  buttons = MessageBoxButtons(buttons);
  switch (result) {
    case mrYes:
      return buttons & mbYes;
    case mrNo:
      return buttons & mbNo;
    case mrOk:
      return buttons & mbOK;
    case mrCancel:
      return buttons & mbCancel;
    case mrMerge:
      return buttons & mbMerge;
    case mrDiff:
      return buttons & mbDiff;
    default:
      return false;
  }
}

}  // namespace

void TScriptedDialogs::PushMessageAnswer(int result) {
  answers_.push_back({TAnswerKind::Message, result, {}});
}

void TScriptedDialogs::PushNumber(int value) {
  answers_.push_back({TAnswerKind::Number, value, {}});
}

void TScriptedDialogs::PushText(const QString& text) {
  answers_.push_back({TAnswerKind::Text, 0, text});
}

void TScriptedDialogs::PushChoice(int index) {
  answers_.push_back({TAnswerKind::Choice, index, {}});
}

void TScriptedDialogs::PushFileName(const QString& path) {
  answers_.push_back({TAnswerKind::FileName, 0, path});
}

void TScriptedDialogs::PushFolder(const QString& path, const QString& displayName) {
  answers_.push_back({TAnswerKind::Folder, 0, path, displayName});
}

void TScriptedDialogs::PushCancel() {
  answers_.push_back({TAnswerKind::Cancel, 0, {}});
}

void TScriptedDialogs::Clear() {
  answers_.clear();
  questions_.clear();
}

TScriptedDialogs::TAnswer TScriptedDialogs::Take(const TAskedQuestion& question, TAnswerKind kind,
                                                 bool cancelAllowed) {
  questions_.push_back(question);
  if (answers_.empty())
    throw EUnscriptedQuestion("no answer scripted for the " + Describe(question));
  const TAnswer answer = answers_.front();
  if (answer.Kind != kind && !(cancelAllowed && answer.Kind == TAnswerKind::Cancel))
    throw EUnscriptedQuestion("the next scripted answer does not fit the " + Describe(question));
  answers_.pop_front();
  return answer;
}

int TScriptedDialogs::MessageAt(const QString& text, const QString& caption, unsigned buttons,
                                TMsgType type, int x, int y) {
  TAskedQuestion question = Asked(TQuestionKind::Message, caption, text, x, y);
  question.Buttons = buttons;
  question.Type = type;
  const TAnswer answer = Take(question, TAnswerKind::Message, false);
  if (!Offers(buttons, answer.Number))
    throw EUnscriptedQuestion("the scripted answer " + std::to_string(answer.Number) +
                              " is not a button of the " + Describe(question));
  return answer.Number;
}

bool TScriptedDialogs::InputNumber(int x, int y, int min, int defaultValue, int& value,
                                   const QString& prompt, const QString& caption, int max) {
  TAskedQuestion question = Asked(TQuestionKind::Number, caption, prompt, x, y);
  question.Min = min;
  question.Max = max;
  question.DefaultValue = defaultValue;
  question.Initial = value;
  const TAnswer answer = Take(question, TAnswerKind::Number, true);
  if (answer.Kind == TAnswerKind::Cancel) return false;
  // As the real field: a maximum below the minimum counts as the minimum.
  value = std::clamp(answer.Number, min, std::max(min, max));
  return true;
}

bool TScriptedDialogs::InputText(int x, int y, const QString& caption, QString& text,
                                 const QString& prompt) {
  TAskedQuestion question = Asked(TQuestionKind::Text, caption, prompt, x, y);
  question.InitialText = text;
  const TAnswer answer = Take(question, TAnswerKind::Text, true);
  if (answer.Kind == TAnswerKind::Cancel) return false;
  text = answer.Text;
  return true;
}

bool TScriptedDialogs::InputChoice(int x, int y, const QString& caption, int index, int& choice,
                                   const QStringList& items, const QString& prompt) {
  TAskedQuestion question = Asked(TQuestionKind::Choice, caption, prompt, x, y);
  question.Initial = index;
  question.Items = items;
  const TAnswer answer = Take(question, TAnswerKind::Choice, true);
  if (answer.Kind == TAnswerKind::Cancel) return false;
  if (answer.Number < 0 || answer.Number >= items.size())
    throw EUnscriptedQuestion("the scripted choice " + std::to_string(answer.Number) +
                              " is not an entry of the " + Describe(question));
  choice = answer.Number;
  return true;
}

QString TScriptedDialogs::FileName(const TAskedQuestion& question) {
  const TAnswer answer = Take(question, TAnswerKind::FileName, true);
  return answer.Kind == TAnswerKind::Cancel ? QString() : answer.Text;
}

QString TScriptedDialogs::OpenFileName(QWidget* /*parent*/, const QString& caption,
                                       const QString& folder, const QString& filter) {
  TAskedQuestion question = Asked(TQuestionKind::OpenFile, caption, {}, 0, 0);
  question.InitialText = folder;
  question.Filter = filter;
  return FileName(question);
}

QString TScriptedDialogs::SaveFileName(QWidget* /*parent*/, const QString& caption,
                                       const QString& folder, const QString& filter) {
  TAskedQuestion question = Asked(TQuestionKind::SaveFile, caption, {}, 0, 0);
  question.InitialText = folder;
  question.Filter = filter;
  return FileName(question);
}

bool TScriptedDialogs::BrowseForFolder(const TFolderBrowser& browser, TBrowseItem& chosen) {
  TAskedQuestion question = Asked(TQuestionKind::Folder, browser.Caption, {}, 0, 0);
  question.InitialText = browser.InitialItem().Path;
  question.Root = browser.RootItem().Path;
  const TAnswer answer = Take(question, TAnswerKind::Folder, true);
  if (answer.Kind == TAnswerKind::Cancel) return false;
  TBrowseItem item = answer.Text.isEmpty() ? TBrowseItem{} : FolderItem(answer.Text);
  if (!answer.Name.isEmpty()) item.DisplayName = answer.Name;
  if (!browser.SelectionChanged(item).OkEnabled)
    throw EUnscriptedQuestion("the scripted folder \"" + answer.Text.toStdString() +
                              "\" cannot be confirmed in the " + Describe(question));
  chosen = item;
  return true;
}

void TScriptedDialogs::WaitForProgressOk() {
  TAskedQuestion question = Asked(TQuestionKind::ProgressOk, {}, {}, 0, 0);
  if (ProgressBox) {
    question.Caption = ProgressBox->windowTitle();
    question.Text = ProgressBox->Message();
  }
  questions_.push_back(question);
  if (ProgressAnswer == 0) ProgressAnswer = mrOk;
}
