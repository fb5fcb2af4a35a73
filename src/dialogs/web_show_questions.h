// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/export_video_questions.h"

#include <QtGlobal>

namespace lumetta {

// The questions of the web show dialog: a video export's, and whether to write a page so large
// that browsers open it slowly.
class WebShowQuestions : public ExportVideoQuestions
{
public:
    // "The page takes N MB ... Write it anyway?"
    virtual bool AskWriteLarge(qint64 bytes) = 0;
};

}  // namespace lumetta
