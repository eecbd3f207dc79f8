#pragma once

#include "ModalQuestions.h"

class QWidget;

namespace platform {

// The real message boxes, parented to the application's active window.
class QtModalQuestions : public ModalQuestions {
public:
    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
};

} // namespace platform
