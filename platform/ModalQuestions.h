// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

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

    // The directory chooser, starting at start; true with chosen set when the user took a
    // directory, false when cancelled.
    virtual bool chooseDirectory(const std::string& start, std::string& chosen) = 0;
    // The new-category dialog for a category below parent; true with name set (as typed)
    // when confirmed.
    virtual bool askNewCategory(const std::string& parent, std::string& name) = 0;
    // The save-file dialog proposing proposedPath in directory; true with chosen set when the
    // user confirmed a path (it has already asked before an existing file is replaced).
    virtual bool askSaveFileName(const std::string& proposedPath, const std::string& directory,
                                 const std::string& defaultExtension, std::string& chosen) = 0;
};

// The implementation in use. Without one installed, questions are written to stderr and
// answered with No, so that nothing is ever done without a confirmation.
ModalQuestions& modalQuestions();
void setModalQuestions(ModalQuestions* questions);

} // namespace platform
