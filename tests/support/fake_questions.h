// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "dialogs/dialog_questions.h"

#include <QStringList>

#include <deque>

// Answers the dialogs' questions from queues and records what was asked.
class FakeQuestions : public lumetta::DialogQuestions
{
public:
    std::deque<std::optional<lumetta::ColorRef>> colors;
    std::deque<std::optional<QString>> files;
    QList<lumetta::ColorRef> colorsOffered;
    QStringList foldersOffered;
    QStringList messages;

    std::optional<lumetta::ColorRef> AskColor(lumetta::ColorRef initial) override
    {
        colorsOffered << initial;
        return Take(colors);
    }
    std::optional<QString> AskMusicFile() override { return Take(files); }
    std::optional<QString> AskBackgroundFile(const QString &folder) override
    {
        foldersOffered << folder;
        return Take(files);
    }
    void ShowMessage(const QString &text) override { messages << text; }

private:
    template <class T>
    static std::optional<T> Take(std::deque<std::optional<T>> &queue)
    {
        std::optional<T> answer;
        if (!queue.empty()) {
            answer.swap(queue.front());
            queue.pop_front();
        }
        return answer;
    }
};
