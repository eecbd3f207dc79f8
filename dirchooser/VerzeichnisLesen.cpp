// SPDX-FileCopyrightText: The Nadelix developers
// SPDX-License-Identifier: MIT

// Reading directories for the chooser's tree off the window's thread: the jobs under way,
// showing their answers as they come, and giving up on a drive that does not answer.

#include "VerzeichnisAuswahl.h"

#include "platform/FileError.h"
#include "platform/FileSystem.h"
#include "platform/ModalQuestions.h"
#include "platform/ShownText.h"

#include <QTimer>
#include <QTreeWidget>
#include <algorithm>
#include <cerrno>

using dirchooser::DirectoryJob;

namespace {

std::chrono::milliseconds& configuredTimeout() {
    static std::chrono::milliseconds timeout = CVerzeichnisAuswahl::kListingTimeout;
    return timeout;
}

std::chrono::milliseconds& configuredAnswerWait() {
    static std::chrono::milliseconds wait = CVerzeichnisAuswahl::kAnswerAtOnce;
    return wait;
}

bool isAtOrBelow(const QTreeWidgetItem* item, const QTreeWidgetItem* ancestor) {
    for (const QTreeWidgetItem* up = item; up; up = up->parent()) {
        if (up == ancestor)
            return true;
    }
    return false;
}

} // namespace

void CVerzeichnisAuswahl::setListingTimeout(std::chrono::milliseconds timeout) {
    configuredTimeout() = timeout;
}

std::chrono::milliseconds CVerzeichnisAuswahl::listingTimeout() {
    return configuredTimeout();
}

void CVerzeichnisAuswahl::setAnswerWait(std::chrono::milliseconds wait) {
    configuredAnswerWait() = wait;
}

std::chrono::milliseconds CVerzeichnisAuswahl::answerWait() {
    return configuredAnswerWait();
}

bool CVerzeichnisAuswahl::IsReading() const {
    return !m_Auftraege.empty() || m_Weg.active;
}

bool CVerzeichnisAuswahl::IsListing(const QTreeWidgetItem* item) const {
    return std::any_of(m_Auftraege.begin(), m_Auftraege.end(), [item](const Auftrag& a) {
        return a.item == item && a.kind == DirectoryJob::Kind::List && !a.listed;
    });
}

bool CVerzeichnisAuswahl::HasJob(const QTreeWidgetItem* item) const {
    return std::any_of(m_Auftraege.begin(), m_Auftraege.end(),
                       [item](const Auftrag& a) { return a.item == item; });
}

CVerzeichnisAuswahl::Clock::time_point CVerzeichnisAuswahl::WaitDeadline() const {
    const Clock::time_point own = Clock::now() + m_Antwortfrist;
    return m_WartenBis ? std::min(own, *m_WartenBis) : own;
}

std::vector<std::string> CVerzeichnisAuswahl::DriveRoots() const {
    std::vector<std::string> roots;
    for (const platform::Drive& drive : m_Drives)
        roots.push_back(drive.root);
    return roots;
}

int CVerzeichnisAuswahl::StartListing(QTreeWidgetItem* item, const std::string& path) {
    Auftrag auftrag{
        item,
        DirectoryJob::start(DirectoryJob::Kind::List, path, platform::fileSystem(), DriveRoots()),
        DirectoryJob::Kind::List,
        path,
        {},
        false,
        Clock::now() + m_Zeitlimit};
    auftrag.job->waitFinished(WaitDeadline());
    DirectoryJob::Answers answers = auftrag.job->take();
    const bool finished = answers.finished;
    const int shown = Apply(auftrag, std::move(answers));
    if (!finished) {
        if (!auftrag.listed) {
            // Busy until the listing comes: a child that cannot be chosen says so.
            auto* busy = new QTreeWidgetItem;
            busy->setText(0, QStringLiteral("…"));
            busy->setFlags(Qt::NoItemFlags);
            item->addChild(busy);
        }
        m_Auftraege.push_back(std::move(auftrag));
        m_Abfrage->start();
        UpdateBusyCursor();
    }
    return shown;
}

void CVerzeichnisAuswahl::StartProbe(QTreeWidgetItem* item, const std::string& path) {
    Auftrag auftrag{item,
                    DirectoryJob::start(DirectoryJob::Kind::Probe, path, platform::fileSystem()),
                    DirectoryJob::Kind::Probe,
                    path,
                    {},
                    false,
                    Clock::now() + m_Zeitlimit};
    // Until it answers the folder keeps its button: opening it will tell.
    AddPlaceholder(item);
    auftrag.job->waitFinished(WaitDeadline());
    DirectoryJob::Answers answers = auftrag.job->take();
    const bool finished = answers.finished;
    Apply(auftrag, std::move(answers));
    if (!finished) {
        m_Auftraege.push_back(std::move(auftrag));
        m_Abfrage->start();
    }
}

int CVerzeichnisAuswahl::Apply(Auftrag& auftrag, DirectoryJob::Answers answers) {
    if (answers.progress != auftrag.progress) {
        auftrag.progress = answers.progress;
        auftrag.giveUpAt = Clock::now() + m_Zeitlimit;
    }
    if (!answers.listed && answers.probes.empty())
        return -1;
    if (auftrag.kind == DirectoryJob::Kind::Probe) {
        for (const auto& [child, has] : answers.probes) {
            if (!has && !auftrag.item->isExpanded())
                DropPlaceholder(auftrag.item);
        }
        return -1;
    }

    int shown = -1;
    QTreeWidgetItem* item = auftrag.item;
    if (answers.listed) {
        auftrag.listed = true;
        qDeleteAll(item->takeChildren()); // the busy child
        if (!answers.names) {
            // A drive without a medium keeps its expand button, to be tried again later.
            if (!item->parent())
                AddPlaceholder(item);
            return 0;
        }
        std::vector<signed char> known(answers.names->size(), -1);
        for (const auto& [child, has] : answers.probes)
            known[child] = has ? 1 : 0;
        answers.probes.clear();
        // Inserted together: the same order as inserting each in its sorted place, without
        // moving thousands of items thousands of times.
        QList<QTreeWidgetItem*> folders;
        folders.reserve(static_cast<qsizetype>(answers.names->size()));
        for (std::size_t i = 0; i < answers.names->size(); ++i) {
            const std::string& name = (*answers.names)[i];
            auto* folder = new QTreeWidgetItem;
            folder->setText(0, platform::shownText(name));
            folder->setData(0, Qt::UserRole,
                            QByteArray(name.data(), static_cast<qsizetype>(name.size())));
            folder->setIcon(0, m_OrdnerBild);
            // Not yet probed (or a drive's mount point, never probed): it may well have some.
            if (known[i] != 0)
                AddPlaceholder(folder);
            folders.append(folder);
        }
        item->addChildren(folders);
        auftrag.children = folders;
        ScrollToChildren(item);
        shown = static_cast<int>(folders.size());
    }
    for (const auto& [child, has] : answers.probes) {
        QTreeWidgetItem* folder = auftrag.children.value(static_cast<qsizetype>(child));
        // A folder the user has opened, or that is being read for itself, knows better.
        if (folder && !has && !folder->isExpanded() && !HasJob(folder))
            DropPlaceholder(folder);
    }
    return shown;
}

void CVerzeichnisAuswahl::DropPlaceholder(QTreeWidgetItem* item) {
    if (item->childCount() == 1 && IsPlaceholder(item->child(0)))
        delete item->takeChild(0);
}

void CVerzeichnisAuswahl::GiveUp(Auftrag& auftrag) {
    // Left closed, with its button, to be tried again.
    qDeleteAll(auftrag.item->takeChildren());
    AddPlaceholder(auftrag.item);
    Refuse(auftrag.item);
}

void CVerzeichnisAuswahl::Poll() {
    const Clock::time_point now = Clock::now();
    std::vector<std::string> unanswered;
    bool walkGoesOn = false;
    for (std::size_t i = 0; i < m_Auftraege.size();) {
        Auftrag& auftrag = m_Auftraege[i];
        DirectoryJob::Answers answers = auftrag.job->take();
        const bool finished = answers.finished;
        const int shown = Apply(auftrag, std::move(answers));
        if (shown == 0)
            Refuse(auftrag.item);
        const bool walkWaits = m_Weg.active && m_Weg.current == auftrag.item;
        if (shown >= 0 && walkWaits)
            walkGoesOn = true;
        if (!finished && now >= auftrag.giveUpAt) {
            auftrag.job->cancel();
            // Only the listing the user waits for is worth a message; probes just stop.
            if (auftrag.kind == DirectoryJob::Kind::List && !auftrag.listed) {
                GiveUp(auftrag);
                unanswered.push_back(auftrag.path);
                walkGoesOn = walkGoesOn || walkWaits;
            }
        } else if (!finished) {
            ++i;
            continue;
        }
        m_Auftraege.erase(m_Auftraege.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (m_Auftraege.empty())
        m_Abfrage->stop();
    UpdateBusyCursor();
    if (walkGoesOn)
        ContinueWalk();
    // A drive that stops answering is a device that failed to respond: the hardware I/O error,
    // as everywhere else in the program a read that is given up reports it.
    for (const std::string& path : unanswered) {
        platform::modalQuestions().messageBox(
            platform::fileErrorText(platform::FileError(platform::causeFromErrno(EIO), path)));
    }
}

void CVerzeichnisAuswahl::CancelReadingUnder(const QTreeWidgetItem* item) {
    const auto end = std::remove_if(m_Auftraege.begin(), m_Auftraege.end(), [item](Auftrag& a) {
        if (!isAtOrBelow(a.item, item))
            return false;
        a.job->cancel();
        return true;
    });
    if (end == m_Auftraege.end())
        return;
    m_Auftraege.erase(end, m_Auftraege.end());
    if (m_Auftraege.empty())
        m_Abfrage->stop();
    UpdateBusyCursor();
}

void CVerzeichnisAuswahl::CancelAllReading() {
    for (Auftrag& auftrag : m_Auftraege)
        auftrag.job->cancel();
    m_Auftraege.clear();
    if (m_Abfrage)
        m_Abfrage->stop();
    m_Weg.active = false;
}

void CVerzeichnisAuswahl::UpdateBusyCursor() {
    const bool busy = std::any_of(m_Auftraege.begin(), m_Auftraege.end(), [](const Auftrag& a) {
        return a.kind == DirectoryJob::Kind::List && !a.listed;
    });
    // Only over the tree: the rest of the dialog answers as ever.
    if (busy)
        m_Verzeichnisbaum->setCursor(Qt::BusyCursor);
    else
        m_Verzeichnisbaum->unsetCursor();
}
