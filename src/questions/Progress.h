// The progress box: at most one at a time, reached through these operations and the
// global ProgressBox, so that work deep inside a load can report without being handed
// the box. Free of QtWidgets, so that toolkit-free logic can report through it: the
// operations go to the display the widgets library gives in SetProgressDisplay.
#pragma once

#include <cstdint>
#include <functional>

#include <QString>

class TProgressBox;

// The open progress box, or nullptr.
extern TProgressBox* ProgressBox;
// 0 while the work runs; the modal result of the box's button once it is pressed
// (2 for "キャンセル", 1 for "Ok").
extern std::int32_t ProgressAnswer;

// Opens the box (not modal, on top, centred on the screen, focused) with text and a
// bar of max steps (none when max is 0); the cancel button shows when withCancel.
// A box still open is released first.
void ShowProgress(int max, const QString& text, bool withCancel);

// Sets bar, count and message, lets waiting window events run (at most once per 10 ms,
// so that long runs stay fast; the controls show the values set last whenever events
// run) and returns ProgressAnswer as it was when the call began. Without a box it does
// nothing and returns 0.
int StepProgress(int position, const QString& text);

// The same, but text is asked for only when the box is about to show it, so that a
// long run does not build a message for every step.
int StepProgress(int position, const std::function<QString()>& text);

// Turns the button into "Ok", shows text, waits (responsively, through
// Dialogs().WaitForProgressOk()) until the button is pressed, unless it already was,
// then releases the box. Without a box it does nothing.
void FinishProgress(const QString& text);

// Releases the box at once, without waiting: the work it showed has failed and a
// message says so. Without a box it does nothing.
void CloseProgress();

// The message line := text; with max > 0 the bar's maximum := max, its position := 0
// and the count "( 0 / max )"; with max 0 the bar and count hide.
void SetProgressRange(int max, const QString& text);

// What shows the progress: the operations above, as the box does them.
class TProgressDisplay {
 public:
  virtual ~TProgressDisplay() = default;
  virtual void Show(int max, const QString& text, bool withCancel) = 0;
  virtual int Step(int position, const QString& text) = 0;
  virtual int Step(int position, const std::function<QString()>& text) = 0;
  virtual void Finish(const QString& text) = 0;
  virtual void Close() = 0;
  virtual void SetRange(int max, const QString& text) = 0;
};

// The display the operations go to; without one they do nothing (and return 0).
void SetProgressDisplay(TProgressDisplay* display);
