// Dialogs that answer from a script set in advance, for tests: every question is
// recorded, answered from the front of a queue, and one without a fitting answer
// queued throws instead of blocking.
#pragma once

#include <deque>
#include <stdexcept>
#include <vector>

#include "Dialogs.h"

// What was asked.
enum class TQuestionKind { Message, Number, Text, Choice, OpenFile, SaveFile, ProgressOk, Folder };

// One question as it was asked; the fields that do not apply to its kind stay empty.
struct TAskedQuestion {
  TQuestionKind Kind = TQuestionKind::Message;
  QString Caption;
  QString Text;  // the message, the prompt, or the progress box's message line
  int X = 0;
  int Y = 0;
  unsigned Buttons = 0;
  TMsgType Type = TMsgType::Plain;
  int Min = 0;
  int Max = 0;
  int DefaultValue = -1;
  int Initial = 0;      // the number's starting value or the choice's starting index
  QString InitialText;  // the text's starting value, the file chooser's folder or the
                        // folder chooser's first selection (empty when virtual)
  QString Root;         // the folder chooser's root folder (empty when virtual)
  QStringList Items;    // the choice's entries
  QString Filter;       // the file chooser's filter
};

// Raised for a question the script has no fitting answer for.
class EUnscriptedQuestion : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

class TScriptedDialogs : public TDialogs {
 public:
  // The next message box answers result; it must be one of the box's buttons.
  void PushMessageAnswer(int result);
  // The next number input is confirmed with value, clamped into its range as typing it
  // into the real dialog would be.
  void PushNumber(int value);
  // The next text input is confirmed with text.
  void PushText(const QString& text);
  // The next choice is confirmed with entry index, which must exist.
  void PushChoice(int index);
  // The next file chooser returns path.
  void PushFileName(const QString& path);
  // The next folder chooser confirms path (empty for a virtual item) with displayName,
  // by default the path's file name. An answer the chooser's OK rule refuses (a virtual
  // item under sboReturnOnlyFSDirs, a folder OnSelectionChanged disables) throws.
  void PushFolder(const QString& path, const QString& displayName = {});
  // The next input, file or folder chooser is cancelled.
  void PushCancel();

  // Every question asked so far, in order; the progress box's waits included.
  const std::vector<TAskedQuestion>& Questions() const { return questions_; }
  // How many answers are still queued.
  int PendingAnswers() const { return static_cast<int>(answers_.size()); }
  // Forgets the questions and the queued answers.
  void Clear();

  int MessageAt(const QString& text, const QString& caption, unsigned buttons, TMsgType type, int x,
                int y) override;
  bool InputNumber(int x, int y, int min, int defaultValue, int& value, const QString& prompt,
                   const QString& caption, int max) override;
  bool InputText(int x, int y, const QString& caption, QString& text,
                 const QString& prompt) override;
  bool InputChoice(int x, int y, const QString& caption, int index, int& choice,
                   const QStringList& items, const QString& prompt) override;
  QString OpenFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QString& filter) override;
  QString SaveFileName(QWidget* parent, const QString& caption, const QString& folder,
                       const QString& filter) override;
  // Runs OnSelectionChanged once, for the answer.
  bool BrowseForFolder(const TFolderBrowser& browser, TBrowseItem& chosen) override;
  // Acknowledges at once: ProgressAnswer := 1 unless the box was already answered.
  void WaitForProgressOk() override;

 private:
  enum class TAnswerKind { Message, Number, Text, Choice, FileName, Folder, Cancel };
  struct TAnswer {
    TAnswerKind Kind;
    int Number = 0;
    QString Text;
    QString Name{};  // a folder's display name
  };

  // Records question and takes the next answer, which must be of kind or Cancel (when
  // cancelAllowed); throws EUnscriptedQuestion otherwise.
  TAnswer Take(const TAskedQuestion& question, TAnswerKind kind, bool cancelAllowed);
  QString FileName(const TAskedQuestion& question);

  std::deque<TAnswer> answers_;
  std::vector<TAskedQuestion> questions_;
};
