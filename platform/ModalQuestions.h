#pragma once

#include <string>

namespace platform {

// Every modal question the program asks goes through this interface, so that tests can
// answer them without a screen. Texts are UTF-8.
class ModalQuestions {
public:
    virtual ~ModalQuestions() = default;

    // A notice titled "Nadelix" with an exclamation icon and an OK button.
    virtual void messageBox(const std::string& text) = 0;
    // The same box with Yes and No; true for Yes.
    virtual bool askYesNo(const std::string& text) = 0;
};

// The implementation in use. Without one installed, questions are written to stderr and
// answered with No, so that nothing is ever done without a confirmation.
ModalQuestions& modalQuestions();
void setModalQuestions(ModalQuestions* questions);

} // namespace platform
