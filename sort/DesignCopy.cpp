// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignCopy.h"

#include "platform/BesideWindow.h"
#include "platform/DetachedThread.h"
#include "platform/ModalQuestions.h"
#include "platform/Names.h"

#include <atomic>
#include <cerrno>
#include <utility>

namespace {
constexpr char kSchonVorhanden[] = "Datei schon vorhanden";
constexpr char kNichtUmbenennbar[] = "Datei kann nicht mehr automatisch umbenannt werden.";
// Copies written before they are flushed; each holds a file open.
constexpr std::size_t kMostPending = 16;
// How often a name may be found taken at the commit and free again at the test that follows
// before it counts as taken for good (something keeps making and removing it).
constexpr int kMostVanishings = 8;

std::atomic<int> dropping{0};

void report(const platform::FileError& error) {
    platform::modalQuestions().messageBox(platform::fileErrorText(error));
}

// A step that did not answer in time: a drive that stopped answering is a hardware failure.
void reportNoAnswer(const std::string& path) {
    report(platform::FileError(platform::causeFromErrno(EIO), path));
}

template <typename Result, typename Work> std::optional<Result> beside(Work work) {
    return platform::besideWindow<Result>(std::move(work), DesignCopy::kAnswerWithin);
}

using Written = std::pair<std::unique_ptr<platform::AtomicFileWriter>, bool>;
} // namespace

DesignCopy::DesignCopy(const CopyContext& context)
    : m_context(context), m_paths{context.strZiel, context.strFilePath, context.strFileName,
                                  context.bDateienNichtUmbenennen != 0} {
    m_held.bytes = std::make_shared<std::vector<std::uint8_t>>(std::move(context.puffer));
}

DesignCopy::~DesignCopy() {
    // Copies left without a name (the program is ending) are removed where a share that stopped
    // answering cannot hold up the window.
    if (!m_pending.empty())
        platform::runDetached([pending = std::move(m_pending)]() mutable { pending.clear(); },
                              dropping);
    if (m_held.bytes.use_count() == 1)
        m_context.puffer = std::move(*m_held.bytes);
}

std::optional<CopyTarget> DesignCopy::answerClash(Clash clash, const CopyNames& names) const {
    switch (clash) {
    case Clash::Free:
        return CopyTarget{names.candidate(), false};
    case Clash::AskWhereToSave: {
        std::string chosen;
        const std::string& first = names.first();
        const std::string extension(platform::lastCharacters(names.candidate(), 3));
        if (!platform::modalQuestions().askSaveFileName(
                first, std::string(platform::directoryPart(first)), extension, chosen))
            return std::nullopt;
        return CopyTarget{chosen, true};
    }
    case Clash::SameDesign:
        platform::modalQuestions().messageBox(kSchonVorhanden);
        return std::nullopt;
    case Clash::NoMoreNames:
        platform::modalQuestions().messageBox(kNichtUmbenennbar);
        return std::nullopt;
    }
    return std::nullopt;
}

bool DesignCopy::sourceUnchanged() const {
    return m_held.sourceAsRead && unchangedSince(m_paths.strFilePath, *m_held.sourceAsRead);
}

bool DesignCopy::start(const std::string& destination) {
    if (m_pending.size() >= kMostPending)
        finish();
    CopyNames names(platform::withTrailingSeparator(destination), m_paths.strFileName);
    const std::string first = names.first();
    const bool hadSource = m_held.length.has_value();
    auto sourceRead = std::make_shared<std::atomic<bool>>(hadSource);
    std::optional<CategoryStep> step = beside<CategoryStep>(
        [held = m_held, paths = m_paths, destination, names, sourceRead]() mutable {
            return copyIntoCategory(std::move(held), paths, destination, std::move(names),
                                    *sourceRead);
        });
    if (!step) {
        // The step may still be filling the buffer: the next one reads into another.
        if (!hadSource)
            m_held.bytes = std::make_shared<std::vector<std::uint8_t>>();
        reportNoAnswer(sourceRead->load() ? first : m_paths.strFilePath);
        return false;
    }
    m_held = std::move(step->held);
    if (step->error) {
        report(*step->error);
        return false;
    }
    std::shared_ptr<PendingCopy> pending = std::move(step->pending);
    bool ontoSource = step->ontoSource;
    if (step->clash != Clash::Free) {
        const std::optional<CopyTarget> target = answerClash(step->clash, pending->names);
        if (!target)
            return false;
        try {
            std::optional<Written> written =
                beside<Written>([held = m_held, target = *target, source = m_paths.strFilePath] {
                    bool onto = false;
                    auto writer = writeCopy(held, target, source, nullptr, nullptr, onto);
                    return Written{std::move(writer), onto};
                });
            if (!written) {
                reportNoAnswer(target->path);
                return false;
            }
            pending->writer = std::move(written->first);
            ontoSource = written->second;
        } catch (const platform::FileError& error) {
            report(error);
            return false;
        }
    }
    if (ontoSource) {
        m_wentOntoSource = true;
        ++m_made;
    } else {
        m_pending.push_back(std::move(pending));
    }
    return true;
}

void DesignCopy::drop(const std::shared_ptr<PendingCopy>& pending) {
    beside<bool>([pending] {
        pending->writer.reset();
        return true;
    });
}

void DesignCopy::commit(const std::shared_ptr<PendingCopy>& pending) {
    int vanishings = 0;
    for (;;) {
        const std::string taken = pending->writer->path();
        const std::optional<CommitStep> step =
            beside<CommitStep>([pending, bytes = m_held.bytes, ask = m_paths.askWhereToSave] {
                return commitCopy(*pending, *bytes, ask);
            });
        if (!step)
            return reportNoAnswer(taken);
        if (step->committed) {
            m_copied.push_back(taken);
            ++m_made;
            return;
        }
        std::optional<CopyTarget> target = answerClash(step->clash, pending->names);
        if (!target)
            return drop(pending);
        if (target->replace) {
            // A path picked in the save dialog may lie anywhere: the copy is made there anew,
            // replacing, so that it cannot find the name taken.
            const std::optional<bool> ontoSource = beside<bool>(
                [pending, held = m_held, target = *target, source = m_paths.strFilePath] {
                    pending->writer.reset();
                    bool onto = false;
                    pending->writer = writeCopy(held, target, source, nullptr, nullptr, onto);
                    if (pending->writer)
                        pending->writer->commit();
                    return onto;
                });
            if (!ontoSource)
                return reportNoAnswer(target->path);
            if (*ontoSource)
                m_wentOntoSource = true;
            else
                m_copied.push_back(target->path);
            ++m_made;
            return;
        }
        if (target->path == taken && ++vanishings > kMostVanishings) {
            // Something keeps making and removing this name: leave it to them.
            if (!pending->names.advance()) {
                platform::modalQuestions().messageBox(kNichtUmbenennbar);
                return drop(pending);
            }
            target->path = pending->names.candidate();
        }
        pending->writer->setPath(target->path);
    }
}

int DesignCopy::finish() {
    for (const std::shared_ptr<PendingCopy>& copy : m_pending) {
        try {
            commit(copy);
        } catch (const platform::FileError& error) {
            report(error);
        }
    }
    m_pending.clear();
    return m_made;
}

int DesignCopy::CopyTo(const std::string& destination) {
    try {
        const int before = finish();
        return start(destination) && finish() > before ? 1 : 0;
    } catch (const platform::ProgramEnding&) {
        return 0;
    }
}

bool DesignCopy::removeMovedSource() {
    using Removal = std::pair<SourceRemoval, std::optional<platform::FileError>>;
    const std::string& source = m_paths.strFilePath;
    const std::optional<Removal> removal =
        beside<Removal>([copied = m_copied, source, asRead = m_held.sourceAsRead] {
            std::optional<platform::FileError> error;
            const SourceRemoval result = ::removeMovedSource(copied, source, asRead, error);
            return Removal{result, error};
        });
    if (!removal) {
        reportNoAnswer(source);
        return false;
    }
    switch (removal->first) {
    case SourceRemoval::Removed:
        return true;
    case SourceRemoval::Changed:
        report(platform::FileError(platform::causeFromErrno(EBUSY), source));
        return false;
    case SourceRemoval::Failed:
        report(*removal->second);
        return false;
    }
    return false;
}
