// The data model in one include: records and record texts, the launch list with
// its data files, the special-folder names, and the Shift-JIS helpers.
#pragma once

#include "DataItems.h"
#include "FixedTexts.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "RecordText.h"
#include "RootFolder.h"
#include "ShiftJis.h"
#include "TextUtils.h"
