// What the registration wizard hands back when it finishes: its files classified into
// buttons, cut to the room the page has, as one grid row of record texts (CP932).
#pragma once

#include <QString>
#include <cstdint>
#include <string>
#include <vector>

#include "WizardFiles.h"

// How the wizard makes its page (the item index of its method choice).
enum TWizardMethod : int { wmNewPage, wmAddToPage, wmFolderPage };

inline bool IsNewPageMethod(int method) {
  return method != wmAddToPage;
}

// How many new buttons a page can take: a new page (pageCount < 0) up to maxButtons,
// an existing page of pageCount buttons up to maxButtons less those; 0 means
// unlimited, and the grid's 10,000 button columns bound both.
int WizardRoom(int pageCount, std::int32_t maxButtons);

struct TWizardRow {
  // The page text, then one button text per kept file in list order; for a new page
  // padded with unregistered buttons up to minButtons. Empty when no button is kept.
  std::vector<std::string> Cells;
  int Registered = 0;  // files the classification gave a kind
  int LeftOut = 0;     // of those, how many the room left out
  TPathList Refused;   // the files the classification gave no kind, in list order
};

// Classifies every file again, keeps those given a kind, in order, and the first room
// of them. A new page's text carries caption (CP932) and the number of its button
// texts; for wmAddToPage the page text is "new" with the number of kept buttons, and
// no padding.
TWizardRow BuildWizardRow(const TPathList& files, int method, const std::string& caption,
                          std::int32_t minButtons, int room);

// The message when none of the files could be registered.
QString NothingRegisteredMessage();

// The message when the page's limit (maxButtons, or the grid's columns) left leftOut
// files out.
QString LeftOutMessage(int leftOut, std::int32_t maxButtons);

// The caption of both messages and of the wizard's window.
QString WizardCaption();
