// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "platform/ModalQuestions.h"

class QWidget;

namespace platform {

// The program's real modal dialogs, parented to the application's active window.
class QtModalQuestions : public ModalQuestions {
public:
    void messageBox(const std::string& text) override;
    bool askYesNo(const std::string& text) override;
    bool chooseDirectory(const std::string& start, std::string& chosen) override;
    bool askNewCategory(const std::string& parent, std::string& name) override;
    bool askSaveFileName(const std::string& proposedPath, const std::string& directory,
                         const std::string& defaultExtension, std::string& chosen) override;
};

} // namespace platform
