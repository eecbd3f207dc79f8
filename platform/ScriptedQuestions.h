#pragma once

#include "ModalQuestions.h"

#include <deque>
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

    std::deque<bool> yesNoAnswers;
    // Every text shown, in order, message boxes and questions alike.
    std::vector<std::string> shown;

private:
    ModalQuestions* m_previous;
};

} // namespace platform
