// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/ModalQuestions.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Answers modal questions from a script and records what was asked. Installs itself while
// it lives. Used by tests; a question without a scripted answer gets No.
class ScriptedQuestions : public ModalQuestions {
public:
    ScriptedQuestions();
    ~ScriptedQuestions() override;

    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool chooseDirectory(const std::string& start, std::string& chosen) override;
    bool askNewCategory(const std::string& parent, std::string& name) override;
    bool askSaveFileName(const std::string& proposedPath, const std::string& directory,
                         const std::string& defaultExtension, std::string& chosen) override;

    // Answers, taken from the front; an empty optional (or none left) cancels.
    std::deque<bool> yesNoAnswers;
    std::deque<std::optional<std::string>> directoryAnswers;
    std::deque<std::optional<std::string>> newCategoryAnswers;
    std::deque<std::optional<std::string>> saveFileAnswers;

    // Every text shown, in order, message boxes and questions alike.
    std::vector<std::string> shown;
    // What the dialogs were opened with.
    std::vector<std::string> directoryStarts;
    std::vector<std::string> newCategoryParents;
    struct SaveRequest {
        std::string proposedPath, directory, defaultExtension;
    };
    std::vector<SaveRequest> saveRequests;

private:
    ModalQuestions* m_previous;
};

} // namespace platform
