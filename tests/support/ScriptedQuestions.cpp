// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ScriptedQuestions.h"

namespace platform {

ScriptedQuestions::ScriptedQuestions() : m_previous(&modalQuestions()) {
    setModalQuestions(this);
}

ScriptedQuestions::~ScriptedQuestions() {
    setModalQuestions(m_previous);
}

void ScriptedQuestions::messageBox(const std::string& text) {
    shown.push_back(text);
}

bool ScriptedQuestions::askYesNo(const std::string& text) {
    shown.push_back(text);
    if (yesNoAnswers.empty())
        return false;
    const bool answer = yesNoAnswers.front();
    yesNoAnswers.pop_front();
    return answer;
}

} // namespace platform

namespace {
bool take(std::deque<std::optional<std::string>>& answers, std::string& out) {
    if (answers.empty())
        return false;
    const auto answer = answers.front();
    answers.pop_front();
    if (!answer)
        return false;
    out = *answer;
    return true;
}
} // namespace

namespace platform {

bool ScriptedQuestions::chooseDirectory(const std::string& start, std::string& chosen) {
    directoryStarts.push_back(start);
    return take(directoryAnswers, chosen);
}

bool ScriptedQuestions::askNewCategory(const std::string& parent, std::string& name) {
    newCategoryParents.push_back(parent);
    return take(newCategoryAnswers, name);
}

bool ScriptedQuestions::askSaveFileName(const std::string& proposedPath,
                                        const std::string& directory,
                                        const std::string& defaultExtension, std::string& chosen) {
    saveRequests.push_back({proposedPath, directory, defaultExtension});
    return take(saveFileAnswers, chosen);
}

} // namespace platform
