// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

#include "DesignCopy.h"

#include "platform/BesideWindow.h"
#include "platform/DetachedThread.h"
#include "platform/ModalQuestions.h"
#include "platform/Names.h"

#include <algorithm>
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
    return startAll({destination}) == 1;
}

int DesignCopy::startAll(const std::vector<std::string>& destinations) {
    int started = 0;
    for (std::size_t next = 0; next < destinations.size();) {
        if (m_pending.size() >= kMostPending)
            finish();
        const std::size_t end =
            std::min(destinations.size(), next + (kMostPending - m_pending.size()));
        auto sourceRead = std::make_shared<std::atomic<bool>>(m_held.length.has_value());
        std::optional<std::size_t> hung;
        std::vector<CategoryStep> steps = platform::besideInTurn<CategoryStep>(
            next, end,
            [held = m_held, paths = m_paths, destinations, sourceRead](std::size_t i) mutable {
                CategoryStep step = copyIntoCategory(
                    held, paths, destinations[i],
                    CopyNames(platform::withTrailingSeparator(destinations[i]), paths.strFileName),
                    *sourceRead);
                held = step.held; // the next copy goes on with what this one read and opened
                return step;
            },
            [](const CategoryStep& step) { return !step.error && step.clash != Clash::Free; },
            kAnswerWithin, hung);
        for (CategoryStep& step : steps)
            started += take(step) ? 1 : 0;
        next += steps.size();
        if (hung) {
            // A step still reading the source goes on filling its buffer: the next reads into
            // another.
            const bool reading = !m_held.length && !sourceRead->load();
            if (!m_held.length)
                m_held.bytes = std::make_shared<std::vector<std::uint8_t>>();
            reportNoAnswer(reading ? m_paths.strFilePath
                                   : CopyNames(platform::withTrailingSeparator(destinations[*hung]),
                                               m_paths.strFileName)
                                         .first());
            next = *hung + 1;
        }
    }
    return started;
}

bool DesignCopy::take(CategoryStep& step) {
    m_held = std::move(step.held);
    if (step.error) {
        report(*step.error);
        return false;
    }
    std::shared_ptr<PendingCopy> pending = std::move(step.pending);
    bool ontoSource = step.ontoSource;
    if (step.clash != Clash::Free) {
        const std::optional<CopyTarget> target = answerClash(step.clash, pending->names);
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

void DesignCopy::settle(const std::shared_ptr<PendingCopy>& pending, CommitStep step,
                        std::string tried) {
    int vanishings = 0;
    for (;;) {
        if (step.committed) {
            m_copied.push_back(tried);
            ++m_made;
            return;
        }
        std::optional<CopyTarget> target = answerClash(step.clash, pending->names);
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
        if (target->path == tried && ++vanishings > kMostVanishings) {
            // Something keeps making and removing this name: leave it to them.
            if (!pending->names.advance()) {
                platform::modalQuestions().messageBox(kNichtUmbenennbar);
                return drop(pending);
            }
            target->path = pending->names.candidate();
        }
        pending->writer->setPath(target->path);
        tried = target->path;
        const std::optional<CommitStep> next =
            beside<CommitStep>([pending, bytes = m_held.bytes, ask = m_paths.askWhereToSave] {
                return commitCopy(*pending, *bytes, ask);
            });
        if (!next)
            return reportNoAnswer(tried);
        step = *next;
    }
}

int DesignCopy::finish() {
    // What a commit beside the window came to.
    struct Committed {
        CommitStep step;
        std::optional<platform::FileError> error;
    };
    std::vector<std::string> paths;
    for (const std::shared_ptr<PendingCopy>& copy : m_pending)
        paths.push_back(copy->writer->path());
    for (std::size_t next = 0; next < m_pending.size();) {
        std::optional<std::size_t> hung;
        std::vector<Committed> results = platform::besideInTurn<Committed>(
            next, m_pending.size(),
            [pending = m_pending, bytes = m_held.bytes,
             ask = m_paths.askWhereToSave](std::size_t i) {
                Committed result;
                try {
                    result.step = commitCopy(*pending[i], *bytes, ask);
                } catch (const platform::FileError& error) {
                    result.error = error;
                }
                return result;
            },
            [](const Committed& result) { return !result.error && !result.step.committed; },
            kAnswerWithin, hung);
        for (Committed& result : results) {
            const std::size_t i = next++;
            try {
                if (result.error)
                    throw *result.error;
                settle(m_pending[i], result.step, paths[i]);
            } catch (const platform::FileError& error) {
                report(error);
            }
        }
        if (hung) {
            reportNoAnswer(paths[*hung]);
            next = *hung + 1;
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
