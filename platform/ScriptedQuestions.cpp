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
