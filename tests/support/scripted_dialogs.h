// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "show/show_project.h"

#include <QStringList>

#include <deque>
#include <optional>

namespace lumetta {

// Answers queued by the test; every question asked is recorded.
class ScriptedDialogs : public ProjectDialogs
{
public:
    std::deque<std::optional<QString>> openAnswers;
    std::deque<std::optional<QString>> saveAnswers;
    std::deque<ProjectDialogs::Answer> saveQuestionAnswers;
    std::deque<bool> replaceAnswers;  // none left: keep the file
    QStringList replaceAsked;
    QStringList asked;
    QStringList errors;
    QStringList notices;
    bool playDemo = false;
    int demoOffers = 0;

    std::optional<QString> AskOpenPath() override
    {
        asked << "open";
        return Pop(openAnswers);
    }
    std::optional<QString> AskSaveName() override
    {
        asked << "save";
        return Pop(saveAnswers);
    }
    bool AskReplace(const QString &path) override
    {
        asked << "replace";
        replaceAsked << path;
        if (replaceAnswers.empty())
            return false;
        const bool answer = replaceAnswers.front();
        replaceAnswers.pop_front();
        return answer;
    }
    ProjectDialogs::Answer AskSaveProject() override
    {
        asked << "question";
        if (saveQuestionAnswers.empty())
            return ProjectDialogs::Answer::Cancel;
        const ProjectDialogs::Answer answer = saveQuestionAnswers.front();
        saveQuestionAnswers.pop_front();
        return answer;
    }
    void ShowError(const QString &message) override { errors << message; }
    void ShowNotice(const QString &message) override { notices << message; }
    bool AskPlayDemo() override
    {
        ++demoOffers;
        return playDemo;
    }

private:
    static std::optional<QString> Pop(std::deque<std::optional<QString>> &answers)
    {
        std::optional<QString> answer;
        if (!answers.empty()) {
            answer.swap(answers.front());
            answers.pop_front();
        }
        return answer;
    }
};

}  // namespace lumetta
