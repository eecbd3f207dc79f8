// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "ModalQuestions.h"

#include <cstdio>

namespace platform {

namespace {

class StderrQuestions final : public ModalQuestions {
public:
    void messageBox(const std::string& text) override {
        std::fprintf(stderr, "Nadelix: %s\n", text.c_str());
    }
    bool askYesNo(const std::string& text) override {
        std::fprintf(stderr, "Nadelix: %s (answered No)\n", text.c_str());
        return false;
    }
    bool chooseDirectory(const std::string&, std::string&) override { return false; }
    bool askNewCategory(const std::string&, std::string&) override { return false; }
    bool askSaveFileName(const std::string&, const std::string&, const std::string&,
                         std::string&) override {
        return false;
    }
};

ModalQuestions* installed = nullptr;

} // namespace

ModalQuestions& modalQuestions() {
    static StderrQuestions fallback;
    return installed ? *installed : fallback;
}

void setModalQuestions(ModalQuestions* questions) {
    installed = questions;
}

} // namespace platform
