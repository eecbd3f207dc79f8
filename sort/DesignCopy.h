// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#pragma once

#include "CopyContext.h"
#include "CopyWork.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Copies the current design file into destination directories under its upper-cased name,
// refusing duplicates and renaming on a clash. A run of copies reads the source once, is
// written first and flushed together, so the disk is waited for once rather than once per
// category. A copy takes its name only where nothing has it by then: a file that turned up
// under the name meanwhile (another program's, or another marked category's that is the same
// directory) meets the clash rule as if it had been there from the start.
//
// The file work runs beside the window (CopyWork), which keeps turning its event loop and asks
// the questions; a step that does not answer within kAnswerWithin is given up with a hardware
// error naming its file, and the run goes on. Where the program ends meanwhile, the steps throw
// platform::ProgramEnding.
class DesignCopy {
public:
    static constexpr std::chrono::milliseconds kAnswerWithin{3000};

    // Takes the dialog's buffer for the run; it goes back when the run ends, unless a step the
    // window walked away from still holds it.
    explicit DesignCopy(const CopyContext& context);
    ~DesignCopy();
    DesignCopy(const DesignCopy&) = delete;
    DesignCopy& operator=(const DesignCopy&) = delete;

    // One whole copy: returns 1 when its bytes are on the disk under its name, 0 when it
    // failed (reported), was refused (reported) or the save dialog was cancelled (silent).
    int CopyTo(const std::string& destination);

    // Reads the source and writes its copy into destination as CopyTo does, without waiting
    // for the disk; false when the copy is not made (reported as CopyTo reports it).
    bool start(const std::string& destination);
    // The same into each destination in turn; returns how many copies went ahead. The steps
    // between two questions go beside the window together.
    int startAll(const std::vector<std::string>& destinations);
    // Waits until every started copy is on the disk under its name (reporting those that
    // fail); returns how many copies have been made in all.
    int finish();

    // The end of a move, once every copy is made: their names made to survive a crash, then
    // the source removed, unless another program changed it since it was read (its newest
    // bytes may be in no copy). Reports why not; true when removed.
    bool removeMovedSource();

    // Whether a copy went onto the source file itself (a path picked in the save dialog); the
    // source must then not be removed as moved.
    bool wentOntoSource() const { return m_wentOntoSource; }

    // Whether the source is still the file the copies were read from, unchanged since.
    bool sourceUnchanged() const;

private:
    // The window's side of a clash: the question or message it calls for, and where the copy
    // goes then; none when it is not to be made.
    std::optional<CopyTarget> answerClash(Clash clash, const CopyNames& names) const;
    // Takes a category's step on the window's thread: its error reported, its question asked
    // and the copy written where the user chose; true when the copy goes ahead.
    bool take(CategoryStep& step);
    // Gives a written copy its name after its commit came to step at the path tried, asking
    // and applying the clash rule again while the name turns out to be taken. Throws FileError.
    void settle(const std::shared_ptr<PendingCopy>& pending, CommitStep step, std::string tried);
    // Removes a copy that will not take a name, beside the window.
    void drop(const std::shared_ptr<PendingCopy>& pending);

    const CopyContext& m_context;
    const CopyPaths m_paths;
    CopyHoldings m_held;
    bool m_wentOntoSource = false;
    int m_made = 0;
    // Written, not yet flushed. Each holds a file open, so a long run is flushed in parts.
    std::vector<std::shared_ptr<PendingCopy>> m_pending;
    std::vector<std::string> m_copied; // the paths of the copies made
};
